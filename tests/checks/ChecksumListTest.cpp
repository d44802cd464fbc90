// Checksum list lines read and written.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "app/checks/ChecksumList.h"
#include "app/hashing/DigestText.h"
#include "tests/support/ShellRun.h"
#include "tests/support/VectorFile.h"

namespace tolvek::checks {
namespace {

// Digest lengths, in bytes, of 16-bit and 32-bit checksums and of 128- to 512-bit digests.
constexpr std::array<std::size_t, 10> kLengths{2, 4, 16, 20, 24, 28, 32, 40, 48, 64};

// Published digests of "abc" (RFC 1321, FIPS 180-2) and the CRC-32 check value of "123456789".
constexpr const char* kMd5 = "900150983cd24fb0d6963f7d28e17f72";

LineForm formNamed(const std::string& name) {
    using enum LineForm;
    const std::map<std::string, LineForm> forms = {
        {"Gnu", Gnu}, {"Bsd", Bsd}, {"Sfv", Sfv}, {"DigestOnly", DigestOnly},
        {"BlankOrComment", BlankOrComment}, {"Malformed", Malformed}};
    return forms.at(name);
}

TEST(ReadChecksumLine, FormsAndTolerances) {
    for (const testing::Case& expected : testing::ReadCaseFile("checks/list_lines.cases")) {
        SCOPED_TRACE(expected.where);
        const ListFlavour flavour =
            expected.has("List") ? ListFlavour::Sfv : ListFlavour::Checksums;
        const ChecksumLine read = ReadChecksumLine(expected.get("Line"), kLengths, flavour);
        EXPECT_EQ(read.form, formNamed(expected.get("Form")));
        EXPECT_EQ(hashing::HexText(read.digest), expected.get("Digest"));
        EXPECT_EQ(read.name, expected.get("Name"));
        EXPECT_EQ(read.algorithm, expected.get("Algorithm"));
        EXPECT_EQ(read.binary, expected.has("Binary"));
    }
}

TEST(ReadChecksumLine, EveryAcceptedLengthAndNoOther) {
    for (std::size_t bytes = 1; bytes <= 65; ++bytes) {
        const std::string hex(2 * bytes, '7');
        const bool accepted = std::ranges::find(kLengths, bytes) != kLengths.end();
        const ChecksumLine read = ReadChecksumLine(hex + "  x", kLengths);
        EXPECT_EQ(read.form, accepted ? LineForm::Gnu : LineForm::Malformed) << bytes;
        EXPECT_EQ(DecodeDigest(hex, kLengths).has_value(), accepted) << bytes;
    }
}

TEST(ReadChecksumLine, TenMegabyteNameIsReadWhole) {
    const std::string name(10 << 20, 'n');
    const ChecksumLine gnu = ReadChecksumLine(std::string(kMd5) + "  " + name, kLengths);
    EXPECT_EQ(gnu.form, LineForm::Gnu);
    EXPECT_EQ(gnu.name.size(), name.size());
    const ChecksumLine bsd = ReadChecksumLine("MD5 (" + name + ") = " + kMd5, kLengths);
    EXPECT_EQ(bsd.name.size(), name.size());
    EXPECT_EQ(ReadChecksumLine(name, kLengths).form, LineForm::Malformed);
}

TEST(FlavourOfListName, SfvByExtensionInAnyCase) {
    EXPECT_EQ(FlavourOfListName("/data/disc.sfv"), ListFlavour::Sfv);
    EXPECT_EQ(FlavourOfListName("DISC.SFV"), ListFlavour::Sfv);
    EXPECT_EQ(FlavourOfListName("SHA256SUMS"), ListFlavour::Checksums);
    EXPECT_EQ(FlavourOfListName("sfv"), ListFlavour::Checksums);
}

// tests/checks/format_lines.cases, and odd names read back.
TEST(FormatLines, EscapedAsCoreutilsAndReadBack) {
    const std::string h = kMd5;
    const hashing::Digest digest = *hashing::ReadHex(h);
    for (const testing::Case& test : testing::ReadCaseFile("checks/format_lines.cases")) {
        SCOPED_TRACE(test.where);
        const std::string name = test.get("Name");
        EXPECT_EQ(FormatGnuLine(digest, name), testing::Replaced(test.get("Gnu"), "{h}", h));
        EXPECT_EQ(FormatBsdLine("MD5", digest, name), testing::Replaced(test.get("Bsd"), "{h}", h));
        EXPECT_EQ(NameForMessage(name), test.get("Message"));
    }
    EXPECT_EQ(FormatGnuLine(digest, "a\nb", GnuMode::Binary, NameEscaping::Raw), h + " *a\nb");
    EXPECT_EQ(FormatBsdLine("MD5", digest, "a\\b", NameEscaping::Raw), "MD5 (a\\b) = " + h);

    // Names with every byte the escape is about, and the others it must leave alone.
    for (const std::string name : {"plain", "sp ace", " lead", "tail ", "*star", "back\\slash",
                                   "new\nline", "cr\rname", "\\n", "a\\\n\r\\", "(x) = y",
                                   "uni\xC3\xA9", "../up", "\t"}) {
        for (const GnuMode mode : {GnuMode::Text, GnuMode::Binary}) {
            const ChecksumLine gnu = ReadChecksumLine(FormatGnuLine(digest, name, mode), kLengths);
            EXPECT_EQ(gnu.name, name);
            EXPECT_EQ(gnu.binary, mode == GnuMode::Binary);
        }
        EXPECT_EQ(ReadChecksumLine(FormatBsdLine("MD5", digest, name), kLengths).name, name);
    }
}

}  // namespace
}  // namespace tolvek::checks
