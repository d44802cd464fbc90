// Checksum list lines read and written, and lists exchanged with the coreutils tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <set>

#include "app/checks/ChecksumList.h"
#include "app/hashing/DigestText.h"
#include "tests/support/TempFolder.h"

namespace tolvek::checks {
namespace {

// Digest lengths, in bytes, of 16-bit and 32-bit checksums and of 128- to 512-bit digests.
constexpr std::array<std::size_t, 10> kLengths{2, 4, 16, 20, 24, 28, 32, 40, 48, 64};

// Published digests of "abc" (RFC 1321, FIPS 180-2) and the CRC-32 check value of "123456789".
constexpr const char* kMd5 = "900150983cd24fb0d6963f7d28e17f72";
constexpr const char* kMd5Upper = "900150983CD24FB0D6963F7D28E17F72";
constexpr const char* kMd5Base64 = "kAFQmDzST7DWlj99KOF/cg==";
constexpr const char* kSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr const char* kSha256Base64 = "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=";
constexpr const char* kCrc32 = "cbf43926";

std::string operator""_s(const char* text, std::size_t size) {
    return std::string(text, size);
}

struct LineCase {
    std::string line;
    LineForm form;
    std::string digest = {};
    std::string name = {};
    std::string algorithm = {};
    bool binary = false;
    ListFlavour flavour = ListFlavour::Checksums;
};

TEST(ReadChecksumLine, FormsAndTolerances) {
    const std::string md5 = kMd5;
    const std::string sha256 = kSha256;
    using enum LineForm;
    const LineCase cases[] = {
        {md5 + "  abc.txt", Gnu, md5, "abc.txt"},
        {md5 + " *abc.txt", Gnu, md5, "abc.txt", "", true},
        {md5 + " abc.txt", Gnu, md5, "abc.txt"},
        {md5 + "\tabc.txt", Gnu, md5, "abc.txt"},
        {md5 + "\t*abc.txt", Gnu, md5, "abc.txt", "", true},
        {kMd5Upper + "  x"_s, Gnu, md5, "x"},
        {" \t " + md5 + "  x", Gnu, md5, "x"},
        {md5 + "  x\r", Gnu, md5, "x"},
        {md5 + "  x\r\r", Gnu, md5, "x\r"},
        // The name is every byte after the separator: leading and trailing blanks, "*", "../".
        {md5 + "   lead", Gnu, md5, " lead"},
        {md5 + "  tail \t", Gnu, md5, "tail \t"},
        {md5 + " \t", Gnu, md5, "\t"},
        {md5 + "  *star", Gnu, md5, "*star"},
        {md5 + "  ../up/x", Gnu, md5, "../up/x"},
        {md5 + " */abs/x", Gnu, md5, "/abs/x", "", true},
        {md5 + "  a\\nb", Gnu, md5, "a\\nb"},
        {"\\" + md5 + "  a\\\\b\\nc\\rd", Gnu, md5, "a\\b\nc\rd"},
        {"\\" + md5 + " *new\\nline", Gnu, md5, "new\nline", "", true},
        {"\\" + md5 + "  a\\tb", Malformed},
        {"\\" + md5 + "  a\\", Malformed},
        {kMd5Base64 + "  x"_s, Gnu, md5, "x"},
        // A digest where the algorithm would be: the GNU line of the name "(x) = ...".
        {sha256 + " (x) = " + sha256, Gnu, sha256, "(x) = " + sha256},
        {"SHA256 (abc) = " + sha256, Bsd, sha256, "abc", "SHA256"},
        {"  BLAKE2b-256 (x y) = " + sha256, Bsd, sha256, "x y", "BLAKE2b-256"},
        {"SHA256(x)= " + sha256, Bsd, sha256, "x", "SHA256"},
        {"MD5 (x)=" + md5 + " \r", Bsd, md5, "x", "MD5"},
        {"MD5 (a) = b (c)) = " + md5, Bsd, md5, "a) = b (c)", "MD5"},
        {"MD5 (../x) = " + md5, Bsd, md5, "../x", "MD5"},
        {"\\SHA256 (new\\nline\\\\) = " + sha256, Bsd, sha256, "new\nline\\", "SHA256"},
        {"SHA256 (a\\nb) = " + sha256, Bsd, sha256, "a\\nb", "SHA256"},
        {"\\SHA256 (a\\b) = " + sha256, Malformed},
        {"SHA256 (x) = "_s + kSha256Base64, Bsd, sha256, "x", "SHA256"},
        {"SHA256 (x) = ", Malformed},
        {"SHA256 (x = " + sha256, Malformed},
        {"SHA256 () = " + sha256, Malformed},
        {"SHA256 (x) " + sha256, Malformed},
        {"file.zip CBF43926", Sfv, kCrc32, "file.zip"},
        {"my file.zip \t cbf43926  ", Sfv, kCrc32, "my file.zip"},
        {"my file.zip cbf43926", Sfv, kCrc32, "my file.zip", "", false, ListFlavour::Sfv},
        // Two fields of 8 hex digits: the list's flavour decides which is the digest.
        {"0a1b2c3d cbf43926", Gnu, "0a1b2c3d", kCrc32},
        {"0a1b2c3d cbf43926", Sfv, kCrc32, "0a1b2c3d", "", false, ListFlavour::Sfv},
        {"file.zip cbf4392", Malformed},
        {md5, DigestOnly, md5},
        {md5 + "  \r", DigestOnly, md5},
        {kSha256Base64, DigestOnly, sha256},
        {"\\" + md5, Malformed},
        {"", BlankOrComment},
        {" \t \r", BlankOrComment},
        {"# " + md5 + "  x", BlankOrComment},
        {"; made by a tool", BlankOrComment, "", "", "", false, ListFlavour::Sfv},
        {"; made by a tool", Malformed},
        // Only a "#" in the first column is a comment, as sha256sum -c reads lists.
        {"  # note", Malformed},
        {"hello world", Malformed},
        {md5.substr(1) + "  x", Malformed},
        {md5 + "0  x", Malformed},
        {md5 + " *", Gnu, md5, "*"},
        {md5 + "x  y", Malformed},
        {"kAFQmDzST7DWlj99KOF/ch==  x", Malformed},  // spare bits set
        {"kAFQmDzST7DWlj99KOF/cg=  x", Malformed},
        {std::string(24, 'a') + "  x", Malformed},  // 12 bytes: no accepted length
    };
    for (const LineCase& expected : cases) {
        const ChecksumLine read = ReadChecksumLine(expected.line, kLengths, expected.flavour);
        EXPECT_EQ(read.form, expected.form) << expected.line;
        EXPECT_EQ(hashing::HexText(read.digest), expected.digest) << expected.line;
        EXPECT_EQ(read.name, expected.name) << expected.line;
        EXPECT_EQ(read.algorithm, expected.algorithm) << expected.line;
        EXPECT_EQ(read.binary, expected.binary) << expected.line;
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
    const ChecksumLine gnu = ReadChecksumLine(kMd5 + "  "_s + name, kLengths);
    EXPECT_EQ(gnu.form, LineForm::Gnu);
    EXPECT_EQ(gnu.name.size(), name.size());
    const ChecksumLine bsd = ReadChecksumLine("MD5 (" + name + ") = " + kMd5, kLengths);
    EXPECT_EQ(bsd.name.size(), name.size());
    EXPECT_EQ(ReadChecksumLine(name, kLengths).form, LineForm::Malformed);
}

std::vector<NumberedLine> readList(std::string_view text) {
    ChecksumListReader reader(kLengths, ListFlavour::Checksums);
    std::vector<NumberedLine> lines;
    ForEachLine(text, [&](std::string_view line) { lines.push_back(reader.read(line)); });
    return lines;
}

TEST(ChecksumListReader, LinesAreNumbered) {
    const std::string list =
        "\xEF\xBB\xBF" + std::string(kMd5) + "  a\r\n\n# c\r\nnonsense\n" + "MD5 (b) = " + kMd5;
    const std::vector<std::pair<std::size_t, LineForm>> expected = {
        {1, LineForm::Gnu},
        {2, LineForm::BlankOrComment},
        {3, LineForm::BlankOrComment},
        {4, LineForm::Malformed},
        {5, LineForm::Bsd},
    };
    const std::vector<NumberedLine> lines = readList(list);
    std::vector<std::pair<std::size_t, LineForm>> read;
    for (const NumberedLine& line : lines) {
        read.emplace_back(line.number, line.line.form);
    }
    EXPECT_EQ(read, expected);
    EXPECT_EQ(lines.front().line.name, "a");
    // The mark only counts before the first line.
    EXPECT_EQ(readList("\n\xEF\xBB\xBF# x")[1].line.form, LineForm::Malformed);
    EXPECT_TRUE(readList("").empty());
}

TEST(FlavourOfListName, SfvByExtensionInAnyCase) {
    EXPECT_EQ(FlavourOfListName("/data/disc.sfv"), ListFlavour::Sfv);
    EXPECT_EQ(FlavourOfListName("DISC.SFV"), ListFlavour::Sfv);
    EXPECT_EQ(FlavourOfListName("SHA256SUMS"), ListFlavour::Checksums);
    EXPECT_EQ(FlavourOfListName("sfv"), ListFlavour::Checksums);
}

// Names with every byte the escape is about, and the others it must leave alone.
const std::vector<std::string> kOddNames = {
    "plain",    "sp ace", " lead",     "tail ",   "*star",       "back\\slash", "new\nline",
    "cr\rname", "\\n",    "a\\\n\r\\", "(x) = y", "uni\xC3\xA9", "../up",       "\t",
};

TEST(FormatLines, EscapedAsCoreutilsAndReadBack) {
    struct Case {
        std::string name;
        std::string gnu;
        std::string bsd;
        std::string message;
    };
    const std::string h = kMd5;
    const hashing::Digest digest = *hashing::ReadHex(h);
    const Case cases[] = {
        {"a b", h + "  a b", "MD5 (a b) = " + h, "a b"},
        {"a\\b", "\\" + h + "  a\\\\b", "\\MD5 (a\\\\b) = " + h, "a\\b"},
        {"a\nb", "\\" + h + "  a\\nb", "\\MD5 (a\\nb) = " + h, "\\a\\nb"},
        {"a\rb", "\\" + h + "  a\\rb", "\\MD5 (a\\rb) = " + h, "\\a\\rb"},
        {"\\\n\r", "\\" + h + "  \\\\\\n\\r", "\\MD5 (\\\\\\n\\r) = " + h, "\\\\\\\\n\\r"},
    };
    for (const Case& expected : cases) {
        EXPECT_EQ(FormatGnuLine(digest, expected.name), expected.gnu);
        EXPECT_EQ(FormatBsdLine("MD5", digest, expected.name), expected.bsd);
        EXPECT_EQ(NameForMessage(expected.name), expected.message);
    }
    EXPECT_EQ(FormatGnuLine(digest, "a\nb", GnuMode::Binary, NameEscaping::Raw), h + " *a\nb");
    EXPECT_EQ(FormatBsdLine("MD5", digest, "a\\b", NameEscaping::Raw), "MD5 (a\\b) = " + h);

    for (const std::string& name : kOddNames) {
        for (const GnuMode mode : {GnuMode::Text, GnuMode::Binary}) {
            const ChecksumLine gnu = ReadChecksumLine(FormatGnuLine(digest, name, mode), kLengths);
            EXPECT_EQ(gnu.name, name);
            EXPECT_EQ(gnu.binary, mode == GnuMode::Binary);
        }
        EXPECT_EQ(ReadChecksumLine(FormatBsdLine("MD5", digest, name), kLengths).name, name);
    }
}

std::string outputOf(const std::string& command) {
    std::string output;
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    char buffer[4096];
    for (std::size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
        output.append(buffer, got);
    }
    return output;
}

// Lists made by sha256sum and cksum for odd names are read back name for name, our writer
// repeats their lines byte for byte, and sha256sum -c accepts the lists we write.
TEST(ChecksumListWithCoreutils, ListsAgreeBothWays) {
    const testing::TempFolder folder;
    std::set<std::string> names;
    for (const std::string& name : kOddNames) {
        if (name.find('/') == std::string::npos) {
            folder.write(name, name);
            names.insert(name);
        }
    }
    const std::string inFolder = "cd '" + folder.path().string() + "' && ";
    struct Tool {
        std::string command;
        std::string algorithm;  // empty for GNU lines
    };
    const Tool tools[] = {
        {"sha256sum -- *", ""},
        {"md5sum -b -- *", ""},
        {"cksum -a sha256 --tag -- *", "SHA256"},
        {"md5sum --tag -- *", "MD5"},
    };
    std::string ourList;
    for (const Tool& tool : tools) {
        const std::string output = outputOf(inFolder + tool.command);
        std::set<std::string> read;
        std::string written;
        for (const NumberedLine& line : readList(output)) {
            ASSERT_EQ(line.line.algorithm, tool.algorithm) << tool.command;
            read.insert(line.line.name);
            const GnuMode mode = line.line.binary ? GnuMode::Binary : GnuMode::Text;
            written += (tool.algorithm.empty()
                            ? FormatGnuLine(line.line.digest, line.line.name, mode)
                            : FormatBsdLine(tool.algorithm, line.line.digest, line.line.name)) +
                       "\n";
            if (tool.algorithm == "SHA256") {
                ourList += FormatGnuLine(line.line.digest, line.line.name) + "\n";
            }
        }
        EXPECT_EQ(read, names) << tool.command;
        EXPECT_EQ(written, output) << tool.command;
    }
    folder.write("ours.sha256", ourList);
    EXPECT_EQ(outputOf(inFolder + "sha256sum --strict --quiet -c ours.sha256 2>&1; echo $?"),
              "0\n");
}

}  // namespace
}  // namespace tolvek::checks
