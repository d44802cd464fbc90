// The numbered texts that follow the fifteen window texts of every language block, in groups
// that each feature keeps beside itself. A group holds numbers `first` to `first + size - 1`
// of every block, in the order of the blocks (German, English, ..., the template last).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tolvek::window {

inline constexpr std::size_t kLanguageBlocks = 12;

// Longest text LoadText hands out, in bytes; every text of the table fits.
inline constexpr std::size_t kLongestText = 254;

template <std::size_t Size>
using GroupTexts = std::array<std::array<std::string_view, Size>, kLanguageBlocks>;

struct TextGroup {
    int first;
    int size;
    std::string_view (*text)(std::size_t block, std::size_t index);
};

template <std::size_t Size>
consteval bool EveryTextFits(const GroupTexts<Size>& texts) {
    for (const auto& block : texts) {
        for (const std::string_view text : block) {
            if (text.empty() || text.size() > kLongestText) {
                return false;
            }
        }
    }
    return true;
}

// The group of `Texts` starting at number `First`.
template <int First, const auto& Texts>
constexpr TextGroup MakeTextGroup() {
    static_assert(EveryTextFits(Texts),
                  "every language has each text, of at most kLongestText bytes");
    return {First, static_cast<int>(Texts[0].size()),
            [](std::size_t block, std::size_t index) { return Texts[block][index]; }};
}

// Texts 16 to 25: the progress display's words ("%1 of %2", "%1 left", "Cancel", "Cancelled",
// the five byte units and the decimal separator).
extern const TextGroup kProgressTextGroup;

// Texts 26 to 33: what a compare adds when the digests differ (the entry that gives the expected
// digest, the question whether to select it, that none does, the progress display's subject
// while it is looked for), the line after an equal digest of a checksum or broken hash, the
// CompareField menu's "Compare with file…", and that the text compared holds several digests.
extern const TextGroup kCompareTextGroup;

// Texts 46 to 68: the offers after a file hash and the list window (its columns, statuses,
// copy and save commands, its progress over all files, and the folders a walk skipped).
extern const TextGroup kListTextGroup;

// Texts 69 to 71: the note below the controls on the digest shown (the entry that made it, the
// offer to hash it again, a path's text hashed because no file has that name).
extern const TextGroup kNoteTextGroup;

// Texts 72 to 86: what screen readers say and nothing shows: the names and descriptions of the
// controls whose caption does not name them, the shortcuts they are triggered by, and the word
// announced when a hash that showed its progress is done.
extern const TextGroup kAccessibleTextGroup;
// Texts 120 to 127: a folder checked against a list: the files window's command, the classes
// of its files (unchanged, changed, moved, new, and "moved from" a name), a list of no one
// algorithm, and the question before a changed file is kept in a list.
extern const TextGroup kAuditTextGroup;
// Texts 130 to 132: the headings of the algorithm list's groups (the entries it had first,
// today's hashes, the checksums and fast hashes).
extern const TextGroup kListGroupTextGroup;
// Texts 90 to 105: the files window's set commands (open, add files, add folder, paste names,
// remove, clear, export report), its empty-state hint, the question before a FAILED file is kept
// in a list, the names a save had to make absolute, a list too large to read, and the algorithm
// picker (its command, its three groups, its search field).
extern const TextGroup kFilesTextGroup;

// Texts 106 to 111: checking against what the user holds: the accept button of the offer of a
// checksum file beside the file that holds another entry's digest than the one selected ("Check
// with SHA256"); the files window's verify field (its name, a digest that matches it, which files
// matched, that none of the digests of its length did, that its text holds no digest).
extern const TextGroup kVerifyTextGroup;

// Texts 112 to 114: the Yes, No and OK buttons of the boxes whose words are the program's own.
extern const TextGroup kBoxTextGroup;

// Texts 115 and 116: the files window's commands on a cell, copying it and copying its column.
extern const TextGroup kCellCopyTextGroup;

}  // namespace tolvek::window
