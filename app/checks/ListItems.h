// The items a checksum list asks to check, read line by line as the list arrives: which file each
// line means, and which entries its digest may be of. Also what an algorithm is called in lists:
// the BSD lines' names and the names of list files.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/checks/ChecksumList.h"
#include "app/hashing/AlgorithmTable.h"

namespace tolvek::checks {


// The entry an algorithm's name in a list means, ignoring case: one of our ids or captions, a
// name other tools write ("SHA2-256", "RMD160"), or its name in the web's integrity strings or
// HTTP's Content-Digest ("sha-256"), or such a name and a length its algorithm takes, as b2sum -l
// writes it ("BLAKE2b-256"). Null for a name no entry has ("TTH", "SHA1-128").
const hashing::AlgorithmEntry* AlgorithmOfTag(std::string_view tag);

using hashing::TagOf;

// The entry a list's file name implies: "SHA256SUMS", "x.sha256", "x.md5sum", "B2SUMS",
// "x.sfv" (CRC-32), BagIt's "manifest-sha512.txt" ... Null when the name says nothing, as for
// standard input ("-").
const hashing::AlgorithmEntry* AlgorithmOfListName(std::string_view listPath);

// One file a list asks to check.
struct CheckItem {
    std::size_t lineNumber = 0;  // 1 for the list's first line
    std::string name;            // as the list gives it, unescaped: the name reports show
    std::string path;            // the file to read: `name` in the list's folder unless absolute
    hashing::Digest expected;
    // The entries the digest may be of, in table order: one when -a, the line's BSD name, the
    // list's name or the digest's length decides; several when only the length narrows it down.
    std::vector<const hashing::AlgorithmEntry*> candidates;
    std::optional<std::uint64_t> size;  // the size the file must have, when the list gives it
};

// One line of a list as a check takes it: the item to check, or nothing for a line that is
// neither a checksum line nor blank or a comment, or whose digest does not fit the algorithm the
// line must be of.
struct ListEntry {
    std::size_t lineNumber = 0;
    std::optional<CheckItem> item;
    // For a line without an item: the name of its algorithm when no entry computes that one.
    std::string unsupported;
};

// Reads the lines of the list `listPath` ("-" for standard input, whose names are relative to
// the current folder) one at a time, as they arrive, into what to check; `forced` is the
// algorithm the user chose, or null. A line holding only a digest checks the file the list's
// name continues ("x.iso.sha256" checks "x.iso"), as a sidecar file does, but only as the
// list's one line besides blanks and comments; it waits for the line after it to know. A Git LFS
// pointer file is a list of one SHA-256 and size: it checks the object git-lfs fetched into the
// pointer's repository, or else the file of the pointer's name in the current folder, where the
// objects were downloaded.
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
    void takePointerLine(std::size_t number, std::string_view line);
    std::vector<const hashing::AlgorithmEntry*> candidatesOf(const ChecksumLine& line) const;
    ListEntry entryOf(const NumberedLine& numbered, const std::optional<std::string>& name) const;

    std::string m_listPath;
    const hashing::AlgorithmEntry* m_forced;
    const hashing::AlgorithmEntry* m_listAlgorithm;
    OnEntry m_onEntry;
    std::vector<std::size_t> m_allLengths;
    std::vector<std::size_t> m_listLength;
    ChecksumListReader m_lines;
    bool m_anyLine = false;                  // a line besides blanks and comments came
    bool m_pointer = false;                  // the list is a Git LFS pointer
    std::optional<NumberedLine> m_lone;      // the first such line, a lone digest
    std::optional<CheckItem> m_pointerItem;  // the pointer's item, complete at the list's end
};

// Every entry of the list `listText`, read as ListItemReader reads it.
struct ListItems {
    std::vector<CheckItem> items;
    std::vector<std::size_t> malformedLines;
    std::vector<std::string> unsupported;  // the algorithms of lines no entry computes
    const hashing::AlgorithmEntry* listAlgorithm = nullptr;
};

ListItems ReadListItems(std::string_view listText, const std::string& listPath,
                        const hashing::AlgorithmEntry* forced = nullptr);

// Checksum lists larger than this are not read whole (a list checked by tolvek-cli -c is read as
// it arrives, whatever its length).
inline constexpr std::size_t kLargestListFile = std::size_t{16} << 20;

// The list file `listPath`, a regular file of at most kLargestListFile bytes, read whole as
// ListItemReader reads it; nothing when it is missing, not such a file, or a read fails.
std::optional<ListItems> ReadListFile(const std::string& listPath,
                                      const hashing::AlgorithmEntry* forced = nullptr);

// The files `path` names when it is a checksum list: by name ("SHA256SUMS", "x.md5", "a.sfv"),
// or by content (a readable list whose every line that is not blank or a comment is a checksum
// line); else nothing.
std::optional<std::vector<CheckItem>> ListedItems(const std::string& path);

}  // namespace tolvek::checks
