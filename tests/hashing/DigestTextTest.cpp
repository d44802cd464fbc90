// Digests written as text and read back, the entries found by name, and a stream that fails.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <streambuf>

#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"
#include "tests/support/VectorFile.h"

namespace tolvek::hashing {
namespace {

Digest bytesOf(std::string_view hex) {
    return *ReadHex(hex);
}

// The window's forms of the checksums' digests, from the CRC reference catalogue and python's
// zlib.crc32 ("ae" is 0x00e7ddce): without leading zeros, 0 as "0"; other digests in full; cksum
// and sum as coreutils cksum, sum -r and sum -s print them, blocks rounded up.
TEST(DigestText, ShownAsTheEntryShowsIt) {
    const struct Case {
        std::string_view id;
        std::string text;
        std::string_view shown;
    } cases[] = {
        {"crc32", "123456789", "cbf43926"}, {"crc16", "123456789", "31c3"},
        {"crc16arc", "123456789", "bb3d"},  {"crc32", "ae", "e7ddce"},
        {"crc16", "checksum", "25f"},       {"crc32", "", "0"},
        {"crc16arc", "", "0"},              {"crc32c", "", "00000000"},
        {"md5", "", "d41d8cd98f00b204e9800998ecf8427e"},
        {"cksum", "123456789", "930766865 9"},
        {"cksum", std::string(1025, 'a'), "1238191295 1025"},
        {"sum-bsd", std::string(1025, 'a'), "00033     2"},
        {"sum-bsd", "", "00000     0"},
        {"sum-sysv", std::string(513, 'a'), "49761 2"},
    };
    for (const Case& test : cases) {
        const AlgorithmEntry& entry = *FindAlgorithm(test.id);
        const DigestOutcome outcome = HashText(entry.stringRoute, test.text);
        EXPECT_EQ(ShownText(entry, outcome.digest), test.shown) << test.id << " " << test.text;
        EXPECT_EQ(HexText(outcome.digest).size(), 2 * entry.digestBytes()) << test.id;
    }
}

TEST(DigestText, ReadBack) {
    const struct Case {
        std::string_view text;
        std::optional<std::string_view> hex;  // of the bytes read, nothing when none are
        bool base64;
    } cases[] = {
        {"00ff7A", "00ff7a", false},
        {"", "", false},
        {"0ff", std::nullopt, false},   // odd count
        {"0g", std::nullopt, false},    // not a digit
        {"AP96", "00ff7a", true},
        {"/w==", "ff", true},
        {"/x==", std::nullopt, true},  // a spare bit set
        {"/w=", std::nullopt, true},   // not a whole group
        {"/w=A", std::nullopt, true},  // padding inside
        {"", std::nullopt, true},
    };
    for (const Case& test : cases) {
        const std::optional<Digest> read = test.base64 ? ReadBase64(test.text) : ReadHex(test.text);
        ASSERT_EQ(read.has_value(), test.hex.has_value()) << test.text;
        if (read) {
            EXPECT_EQ(HexText(*read), *test.hex) << test.text;
        }
    }
    EXPECT_EQ(NumberText(bytesOf("000a0b")), "a0b");
    EXPECT_EQ(NumberText(bytesOf("0000")), "0");
}

TEST(EntryTable, NamesAreUniqueAndFoundIgnoringCase) {
    std::set<std::string_view> names;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        EXPECT_TRUE(names.insert(entry.id).second) << entry.id;
        EXPECT_EQ(FindAlgorithm(AsciiUpper(entry.id)), &entry);
        // A caption that is another entry's id ("Whirlpool") names that entry: ids go first.
        const AlgorithmEntry* const byId = FindAlgorithm(AsciiLower(entry.caption));
        const bool captionIsAnId = byId != nullptr && byId->id == AsciiLower(entry.caption);
        EXPECT_EQ(FindAlgorithm(entry.caption), captionIsAnId ? byId : &entry) << entry.caption;
    }
    EXPECT_EQ(FindAlgorithm("Whirlpool")->caption, "Whirlpool (2003)");
    EXPECT_EQ(FindAlgorithm("sha"), nullptr);
    EXPECT_EQ(EntryAt(AlgorithmEntries(), -1), nullptr);
    EXPECT_EQ(EntryAt(AlgorithmEntries(), static_cast<int>(AlgorithmEntries().size())), nullptr);
    EXPECT_EQ(DefaultEntry().id, "sha1");
}

TEST(Hashing, AFailingStreamIsAReadFailureForEveryRoute) {
    struct FailingBuffer final : std::streambuf {
        int_type underflow() override { throw std::ios_base::failure("device gone"); }
    } failing;
    std::istream input(&failing);
    const Provider* const providers[] = {&FindAlgorithm("sha1")->fileRoute,
                                         &FindAlgorithm("md5")->fileRoute,
                                         &FindAlgorithm("crc32")->fileRoute};
    for (const DigestOutcome& outcome : HashStreamWith(input, providers)) {
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.failure, "Could not read file");
    }
}

}  // namespace
}  // namespace tolvek::hashing
