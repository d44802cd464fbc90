// Checking the files a checksum list names: which file each line means, which entries its digest
// may be of, and each file's verdict from one read. Neither terminal nor window: the command line
// and the list window both report what this finds.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/checks/ChecksumList.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/FileReader.h"
#include "app/hashing/Hashing.h"

namespace tolvek::checks {

// The entry a BSD line's algorithm name means, ignoring case: one of our ids or captions, or a
// name other tools write ("SHA2-256"). Null for a name no entry has.
const hashing::AlgorithmEntry* AlgorithmOfTag(std::string_view tag);

// The name our BSD lines give an entry: the spelling of the tools that share the algorithm
// ("BLAKE2b", so that b2sum -c reads our lines), else the id in capitals ("SHA256").
std::string TagOf(const hashing::AlgorithmEntry& entry);

// The entry a list's file name implies: "SHA256SUMS", "x.sha256", "x.md5sum", "B2SUMS",
// "x.sfv" (CRC-32) ... Null when the name says nothing, as for standard input ("-").
const hashing::AlgorithmEntry* AlgorithmOfListName(std::string_view listPath);

// One file a list asks to check.
struct CheckItem {
    std::size_t lineNumber = 0;  // 1 for the list's first line
    std::string name;            // as the list gives it, unescaped: the name reports show
    std::string path;            // the file to read: `name` in the list's folder unless absolute
    std::string expected;        // lower-case hex
    // The entries the digest may be of, in table order: one when -a, the line's BSD name, the
    // list's name or the digest's length decides; several when only the length narrows it down.
    std::vector<const hashing::AlgorithmEntry*> candidates;
};

// One line of a list as a check takes it: the item to check, or nothing for a line that is
// neither a checksum line nor blank or a comment, or whose digest does not fit the algorithm the
// line must be of.
struct ListEntry {
    std::size_t lineNumber = 0;
    std::optional<CheckItem> item;
};

// Reads the lines of the list `listPath` ("-" for standard input, whose names are relative to
// the current folder) one at a time, as they arrive, into what to check; `forced` is the
// algorithm the user chose, or null. A line holding only a digest checks the file the list's
// name continues ("x.iso.sha256" checks "x.iso"), as a sidecar file does, but only as the
// list's one line besides blanks and comments; it waits for the line after it to know.
class ListItemReader {
public:
    using OnEntry = std::function<void(ListEntry entry)>;

    ListItemReader(const std::string& listPath, const hashing::AlgorithmEntry* forced,
                   OnEntry onEntry);
    ListItemReader(const ListItemReader&) = delete;
    ListItemReader& operator=(const ListItemReader&) = delete;

    // The list's next line, without its line feed.
    void read(std::string_view line);
    // The list has ended.
    void end();

    // The algorithm of every line, from `forced` or the list's name; null when each line
    // decides.
    const hashing::AlgorithmEntry* listAlgorithm() const { return m_listAlgorithm; }

private:
    void take(const NumberedLine& numbered);
    std::vector<const hashing::AlgorithmEntry*> candidatesOf(const ChecksumLine& line) const;
    ListEntry entryOf(const NumberedLine& numbered, const std::optional<std::string>& name) const;

    std::string m_listPath;
    const hashing::AlgorithmEntry* m_forced;
    const hashing::AlgorithmEntry* m_listAlgorithm;
    OnEntry m_onEntry;
    std::vector<std::size_t> m_allLengths;
    std::vector<std::size_t> m_listLength;
    ChecksumListReader m_lines;
    bool m_anyLine = false;              // a line besides blanks and comments came
    std::optional<NumberedLine> m_lone;  // the first such line, a lone digest
};

// Every entry of the list `listText`, read as ListItemReader reads it.
struct ListItems {
    std::vector<CheckItem> items;
    std::vector<std::size_t> malformedLines;
    const hashing::AlgorithmEntry* listAlgorithm = nullptr;
};

ListItems ReadListItems(std::string_view listText, const std::string& listPath,
                        const hashing::AlgorithmEntry* forced = nullptr);

enum class CheckStatus { Ok, Failed, Missing, Unreadable, Cancelled };

struct CheckVerdict {
    CheckStatus status = CheckStatus::Cancelled;
    // The candidate whose digest matched; null unless the status is Ok.
    const hashing::AlgorithmEntry* matched = nullptr;
    // Why a file is Missing or Unreadable: the system's error number (ENOENT, EACCES, EISDIR)
    // and the engine's message ("Could not open file"), for when the number is 0.
    int systemError = 0;
    std::string failure;
};

// Reads the item's file once, for every candidate, and compares. Missing is a file that does
// not exist; every other failure to open or read it is Unreadable.
CheckVerdict CheckFile(const CheckItem& item, const hashing::ReadControl& control = {});

// The verdict on the item's file, opened already. `likely` is the entry the list's files have
// matched so far, or null: when it is one of several candidates it is computed alone first, and
// the others only when it does not match, so that a list the digests' length alone decides
// costs one digest per file instead of one per entry of that length.
CheckVerdict CheckContent(const CheckItem& item, hashing::FileContent& content,
                          const hashing::ReadControl& control,
                          const hashing::AlgorithmEntry* likely = nullptr);

// The verdict on the digests of the item's file for its candidates, in their order, however
// they were read.
CheckVerdict VerdictOf(const CheckItem& item, const hashing::FileDigests& digests);

// The file routes of the item's candidates, in their order.
std::vector<const hashing::Provider*> RoutesOf(const CheckItem& item);

// How many verdicts of each status a check has given.
struct CheckTally {
    std::size_t ok = 0;
    std::size_t failed = 0;
    std::size_t missing = 0;
    std::size_t unreadable = 0;
    std::size_t cancelled = 0;

    void add(CheckStatus status);
};

}  // namespace tolvek::checks
