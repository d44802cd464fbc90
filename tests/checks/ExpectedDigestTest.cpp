// The expected hash read from what users paste.
#include <gtest/gtest.h>

#include <array>

#include "app/checks/ExpectedDigest.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/DigestText.h"

namespace tolvek::checks {
namespace {

// The digest lengths of the list entries, 16-bit checksums to 512-bit digests.
const std::vector<std::size_t>& entryLengths() {
    static const std::vector<std::size_t> lengths =
        hashing::DigestLengthsOf(hashing::AlgorithmEntries());
    return lengths;
}

// Published digests of "abc" (RFC 1321, FIPS 180-2), MD5 of "a" and the CRC-32 check value.
const std::string kMd5 = "900150983cd24fb0d6963f7d28e17f72";
const std::string kMd5Spaced = "90 01 50 98 3c d2 4f b0 d6 96 3f 7d 28 e1 7f 72";
const std::string kMd5OfA = "0cc175b9c0f1b6a831c399e269772661";
const std::string kSha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";
const std::string kSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string kCrc32 = "cbf43926";

std::string upper(std::string text) {
    for (char& byte : text) {
        byte = static_cast<char>(std::toupper(static_cast<unsigned char>(byte)));
    }
    return text;
}

struct PasteCase {
    std::string text;
    std::optional<std::string> digest;
    bool ambiguous = false;
    std::string algorithm = {};
    std::string name = {};
};

TEST(ReadExpectedDigest, Pastes) {
    const std::string sha256Wrapped = kSha256.substr(0, 20) + "\r\n" + kSha256.substr(20);
    const PasteCase cases[] = {
        {kMd5, kMd5},
        {upper(kMd5), kMd5},
        {" \t\r\n" + kMd5 + " \r\n\n", kMd5},
        {kMd5OfA, kMd5OfA},
        {"0x" + kMd5, kMd5},
        {"0X" + upper(kMd5), kMd5},
        {"\xEF\xBB\xBF" + kMd5, kMd5},
        // Separators between the digits, alone and mixed.
        {kMd5Spaced, kMd5},
        {"0x90\t01\t50\t98 3c d2 4f b0 d6 96 3f 7d 28 e1 7f 72", kMd5},
        {"90:01:50:98:3C:D2:4F:B0:D6:96:3F:7D:28:E1:7F:72", kMd5},
        {"90015098-3cd2-4fb0-d696-3f7d28e17f72", kMd5},
        {"9001 5098\n3cd2:4fb0 - d696-3f7d\r\n28e1\t7f72", kMd5},
        {sha256Wrapped, kSha256},
        {"ba7816bf 8f01cfea 414140de 5dae2223 b00361a3 96177a9c b410ff61 f20015ad", kSha256},
        // Labels and sentences around the digest.
        {"SHA-256: " + kSha256, kSha256},
        {"CRC-32: " + kCrc32, kCrc32},
        {"md5:" + kMd5, kMd5},
        {"The SHA-1 is " + upper(kSha1) + ".", kSha1},
        {"(" + kMd5 + ")", kMd5},
        {"about face " + kMd5, kMd5},
        // Whole list lines.
        {kMd5 + "  abc.txt\n", kMd5, false, "", "abc.txt"},
        {kMd5 + " *abc.txt", kMd5, false, "", "abc.txt"},
        {"\\" + kMd5 + "  new\\nline", kMd5, false, "", "new\nline"},
        {"SHA256 (abc) = " + kSha256, kSha256, false, "SHA256", "abc"},
        {"MD5 (abc) = " + kSha1, kSha1, false, "MD5", "abc"},
        {"BLAKE2b-256 (x) = " + kSha256, kSha256, false, "BLAKE2b-256", "x"},
        {"file.zip " + upper(kCrc32), kCrc32, false, "", "file.zip"},
        {"CRC " + kCrc32 + " of the archive", kCrc32},
        // Base64 as cksum --base64 writes it.
        {"kAFQmDzST7DWlj99KOF/cg==", kMd5},
        {"base64: ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0= (SHA-256)", kSha256},
        {"SHA256 (x) = ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=", kSha256, false, "SHA256",
         "x"},
        // No digest: none of an accepted length, or one inside a word or a longer run.
        {"", std::nullopt},
        {" \n\t", std::nullopt},
        {"Hash is not equal", std::nullopt},
        {kMd5.substr(2), std::nullopt},
        {"x" + kMd5, std::nullopt},
        {kMd5 + "_v2", std::nullopt},
        {kMd5 + "0", std::nullopt},
        {"0x", std::nullopt},
        {"1x" + kMd5, std::nullopt},
        {"kAFQmDzST7DWlj99KOF/ch==", std::nullopt},
        // Several digests: the list line, else the first; the text is ambiguous when it holds
        // two different ones of the length of the one taken.
        {kMd5 + "\n" + kSha1, kMd5},
        {kSha1 + "\n\n" + kMd5, kSha1},
        {"MD5: " + kMd5 + "\nSHA-1: " + kSha1, kMd5},
        {"see " + kSha1 + "\nSHA1 (a) = " + kSha1, kSha1, false, "SHA1", "a"},
        {"see " + kMd5 + "\nSHA1 (a) = " + kSha1, kSha1, false, "SHA1", "a"},
        {kMd5 + "  a.txt\n" + upper(kMd5) + "  b.txt", kMd5, false, "", "a.txt"},
        {kMd5 + "  a.txt\n" + kMd5OfA + "  b.txt", kMd5, true, "", "a.txt"},
        {kMd5OfA + " or " + kMd5, kMd5OfA, true, "", "or " + kMd5},
        {"SHA1 (a) = " + kSha1 + "\nsee " + kSha1.substr(0, 39) + "e", kSha1, true, "SHA1", "a"},
        // Two groups that are each a digest read as one digest of twice the length.
        {kMd5 + " " + kMd5OfA, kMd5 + kMd5OfA},
        // "0x" starts a new run, so the first run here is the 16-bit "12ab".
        {"id 12ab 0x" + kMd5, "12ab"},
        // Letters a to f alone are words unless nothing else is there.
        {"dead beef", "deadbeef"},
        {"cafe\n\nbeef", "cafe", true},
        {"beef", "beef"},
        {"add " + kCrc32, kCrc32},
    };
    for (const PasteCase& expected : cases) {
        const std::optional<ExpectedDigest> read =
            ReadExpectedDigest(expected.text, entryLengths());
        ASSERT_EQ(read.has_value(), expected.digest.has_value()) << expected.text;
        if (read) {
            EXPECT_EQ(hashing::HexText(read->digest), *expected.digest) << expected.text;
            EXPECT_EQ(read->ambiguous, expected.ambiguous) << expected.text;
            EXPECT_EQ(read->algorithm, expected.algorithm) << expected.text;
            EXPECT_EQ(read->name, expected.name) << expected.text;
        }
    }
}

TEST(ReadExpectedDigest, EveryAcceptedLengthWithSeparators) {
    for (const std::size_t bytes : entryLengths()) {
        std::string spaced;
        std::string digest;
        for (std::size_t index = 0; index < bytes; ++index) {
            const std::string byteHex = {"0123456789abcdef"[index % 16], 'A'};
            spaced += byteHex + ':';
            digest += "0123456789abcdef"[index % 16];
            digest += 'a';
        }
        const auto read = ReadExpectedDigest(spaced, entryLengths());
        ASSERT_TRUE(read) << bytes;
        EXPECT_EQ(hashing::HexText(read->digest), digest);
        const std::array<std::size_t, 1> otherLength{bytes + 1};
        EXPECT_FALSE(ReadExpectedDigest(spaced, otherLength)) << bytes;
    }
}

TEST(ReadExpectedDigest, TenMegabytePastes) {
    std::string prose;
    while (prose.size() < (10 << 20)) {
        prose += "lorem ipsum dolor, ";
    }
    const auto found = ReadExpectedDigest(prose + kMd5, entryLengths());
    ASSERT_TRUE(found);
    EXPECT_EQ(hashing::HexText(found->digest), kMd5);
    EXPECT_FALSE(ReadExpectedDigest(std::string(10 << 20, 'a'), entryLengths()));
    EXPECT_FALSE(ReadExpectedDigest(std::string(10 << 20, ')'), entryLengths()));
    std::string groups;
    while (groups.size() < (10 << 20)) {
        groups += "12 ";
    }
    EXPECT_FALSE(ReadExpectedDigest(groups, entryLengths()));
}

}  // namespace
}  // namespace tolvek::checks
