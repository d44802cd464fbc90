// Checking the files a checksum list names: each file's verdict from one read, computed for the
// entries its digest may be of. Neither terminal nor window: the command line and the list
// window both report what this finds.
#pragma once

#include <atomic>
#include <cstddef>
#include <span>
#include <string>

#include "app/checks/ListItems.h"
#include "app/hashing/FileReader.h"
#include "app/hashing/Hashing.h"

namespace tolvek::checks {

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

// Whether the list gives a size (hashdeep's, a Git LFS pointer's) and the item's file, opened
// already, has another: a failure known before the file is read, whatever its digest.
bool SizeDiffers(const CheckItem& item, const hashing::FileContent& content);

// The candidate a check of `item` computes alone first: `likely` when it is one of several,
// else the one its row marks as the usual entry of that length; null for a single candidate, a
// file only hashed (it wants every candidate, from one read), or no such entry.
const hashing::AlgorithmEntry* FirstGuess(const CheckItem& item,
                                          const hashing::AlgorithmEntry* likely);
// The candidates whose digests that check takes from the file's first read: the first guess
// alone, else every one. A view into `item`.
std::span<const hashing::AlgorithmEntry* const> FirstComputed(
    const CheckItem& item, const hashing::AlgorithmEntry* likely);

// A verdict with the digests it was made from, for a caller that shows them.
struct ContentCheck {
    CheckVerdict verdict;
    // The file's digest for each candidate, in their order: only the likely entry's when it
    // matched alone, and none when the size alone failed the file.
    hashing::FileDigests digests;
};

// The verdict on the item's file, opened already. `likely` is the entry the list's files have
// matched so far, or null: when it is one of several candidates it is computed alone first, and
// the others only when it does not match, so that a list the digests' length alone decides
// costs one digest per file instead of one per entry of that length; without it the candidate
// tried first is the one its row marks. Whatever is tried first, the verdict and the digests
// of a file it does not match are those of every candidate at once.
ContentCheck CheckContent(const CheckItem& item, hashing::FileContent& content,
                          const hashing::ReadControl& control,
                          const hashing::AlgorithmEntry* likely = nullptr);

// The entry the last match named on any thread of a check of many files, tried first on the
// next: the threads hash far ahead of the reports, and until a match each file would be hashed
// with every candidate of its digest's length.
class MatchHint {
public:
    // CheckContent with this hint; a match becomes the hint.
    ContentCheck check(const CheckItem& item, hashing::FileContent& content,
                       const hashing::ReadControl& control);
    // FirstComputed with this hint.
    std::span<const hashing::AlgorithmEntry* const> firstComputed(const CheckItem& item) const {
        return FirstComputed(item, m_entry.load());
    }

private:
    std::atomic<const hashing::AlgorithmEntry*> m_entry = nullptr;
};

// The verdict on the digests of the item's file for its candidates, in their order, however
// they were read.
CheckVerdict VerdictOf(const CheckItem& item, const hashing::FileDigests& digests);

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
