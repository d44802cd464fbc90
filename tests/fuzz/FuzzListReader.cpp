// Every list format's reader over any text: GNU, BSD, SFV and lone-digest lines of both list
// flavours, and the check's reading of a list into the files it names. Whatever a line is read
// as, its digest has an accepted length, and only digest lines have one; a GNU or BSD line
// written again from what was read reads the same.
#include <algorithm>

#include "app/checks/ChecksumList.h"
#include "app/checks/ListItems.h"
#include "app/hashing/AlgorithmTable.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using namespace tolvek;

// The line written again from what was read, and read again.
void checkRewritten(const checks::ChecksumLine& line, std::span<const std::size_t> lengths) {
    std::string written;
    if (line.form == checks::LineForm::Gnu) {
        written = checks::FormatGnuLine(line.digest, line.name,
                                     line.binary ? checks::GnuMode::Binary : checks::GnuMode::Text);
    } else if (line.form == checks::LineForm::Bsd) {
        written = checks::FormatBsdLine(line.algorithm, line.digest, line.name);
    } else {
        return;
    }
    const checks::ChecksumLine again = checks::ReadChecksumLine(written, lengths);
    fuzz::Expect(again.form == line.form && again.name == line.name && again.digest == line.digest,
                 "a line written from what was read reads the same");
}

void checkLines(std::string_view text, std::span<const std::size_t> lengths,
                checks::ListFlavour flavour) {
    checks::ChecksumListReader reader(lengths, flavour);
    std::size_t number = 0;
    checks::ForEachLine(text, [&](std::string_view each) {
        const checks::NumberedLine numbered = reader.read(each);
        fuzz::Expect(numbered.number > number, "lines are numbered in order");
        number = numbered.number;
        const checks::ChecksumLine& line = numbered.line;
        const bool hasDigest = line.form != checks::LineForm::BlankOrComment &&
                               line.form != checks::LineForm::Malformed;
        fuzz::Expect(hasDigest != line.digest.empty(), "only digest lines have a digest");
        fuzz::Expect(!hasDigest || std::ranges::count(lengths, line.digest.size()) == 1,
                     "the digest has an accepted length");
        // An SFV list reads "name crc" where others read "digest name".
        if (flavour == checks::ListFlavour::Checksums) {
            checkRewritten(line, lengths);
        }
    });
}

// The list's lines as tolvek-cli -c reads them, one at a time.
std::vector<app::NumberedLine> readLines(std::string_view text, app::DigestLengths lengths,
                                         app::ListFlavour flavour) {
    app::ChecksumListReader reader(lengths, flavour);
    std::vector<app::NumberedLine> lines;
    app::ForEachLine(text, [&](std::string_view line) { lines.push_back(reader.read(line)); });
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::size_t> kLengths =
        hashing::DigestLengthsOf(hashing::AlgorithmEntries());
    const std::string_view text = fuzz::TextOf(data, size);
    for (const checks::ListFlavour flavour : {checks::ListFlavour::Checksums, checks::ListFlavour::Sfv}) {
        checkLines(text, kLengths, flavour);
    }
    // As `tolvek-cli -c` and the list window read it, named as each kind of list is.
    for (const char* listName : {"/data/SHA256SUMS", "/data/x.iso.md5", "/data/files.sfv",
                                 "/data/unnamed.txt"}) {
        const checks::ListItems items = checks::ReadListItems(text, listName);
        for (const checks::CheckItem& item : items.items) {
            fuzz::Expect(!item.candidates.empty(), "an item has an algorithm to check with");
            fuzz::Expect(item.expected.size() == item.candidates.front()->digestBytes(),
                         "the expected digest is as long as the algorithm's");
        }
    }
    return 0;
}
