// Every list format's reader over any text: GNU, BSD, SFV and lone-digest lines of both list
// flavours, and the check's reading of a list into the files it names. Whatever a line is read
// as, its digest is lower-case hex of an accepted length, and only digest lines have one; a GNU
// or BSD line written again from what was read reads the same.
#include <algorithm>

#include "app/checks/ChecksumList.h"
#include "app/checks/ListCheck.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/DigestSize.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using namespace tolvek;

// The line written again from what was read, and read again.
void checkRewritten(const app::ChecksumLine& line, std::span<const std::size_t> lengths) {
    std::string written;
    if (line.form == app::LineForm::Gnu) {
        written = app::FormatGnuLine(line.digest, line.name,
                                     line.binary ? app::GnuMode::Binary : app::GnuMode::Text);
    } else if (line.form == app::LineForm::Bsd) {
        written = app::FormatBsdLine(line.algorithm, line.digest, line.name);
    } else {
        return;
    }
    const app::ChecksumLine again = app::ReadChecksumLine(written, lengths);
    fuzz::Expect(again.form == line.form && again.name == line.name && again.digest == line.digest,
                 "a line written from what was read reads the same");
}

void checkLines(const std::vector<app::NumberedLine>& lines, std::span<const std::size_t> lengths,
                app::ListFlavour flavour) {
    std::size_t number = 0;
    for (const app::NumberedLine& numbered : lines) {
        fuzz::Expect(numbered.number > number, "lines are numbered in order");
        number = numbered.number;
        const app::ChecksumLine& line = numbered.line;
        const bool hasDigest = line.form != app::LineForm::BlankOrComment &&
                               line.form != app::LineForm::Malformed;
        fuzz::Expect(hasDigest != line.digest.empty(), "only digest lines have a digest");
        fuzz::Expect(fuzz::IsLowerHex(line.digest), "the digest is lower-case hex");
        fuzz::Expect(!hasDigest || std::ranges::count(lengths, line.digest.size() / 2) == 1,
                     "the digest has an accepted length");
        // An SFV list reads "name crc" where others read "digest name".
        if (flavour == app::ListFlavour::Checksums) {
            checkRewritten(line, lengths);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::size_t> kLengths =
        digest::DigestLengthsOf(digest::AlgorithmEntries());
    const std::string_view text = fuzz::TextOf(data, size);
    for (const app::ListFlavour flavour : {app::ListFlavour::Checksums, app::ListFlavour::Sfv}) {
        checkLines(app::ReadChecksumList(text, kLengths, flavour), kLengths, flavour);
    }
    // As `tolvek-cli -c` and the list window read it, named as each kind of list is.
    for (const char* listName : {"/data/SHA256SUMS", "/data/x.iso.md5", "/data/files.sfv",
                                 "/data/unnamed.txt"}) {
        const app::ListItems items = app::ReadListItems(text, listName);
        for (const app::CheckItem& item : items.items) {
            fuzz::Expect(!item.candidates.empty(), "an item has an algorithm to check with");
            fuzz::Expect(fuzz::IsLowerHex(item.expected), "the expected digest is lower-case hex");
        }
    }
    return 0;
}
