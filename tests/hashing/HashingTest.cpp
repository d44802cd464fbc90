// Texts, files and standard input through the entries' routes, and the lookup of entries by
// name.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <streambuf>

#include "app/hashing/AsciiText.h"
#include "app/hashing/Hashing.h"
#include "tests/support/TempFolder.h"

namespace tolvek::hashing {
namespace {

// Checksums from the CRC reference catalogue and python's zlib.crc32 ("ae" is 0x00e7ddce),
// printed without leading zeros and 0 as "0"; MD5 of the empty message from RFC 1321 A.5.
TEST(Hashing, TextFileAndStreamShowTheSameText) {
    const struct Case {
        std::string_view id;
        std::string text;
        std::string_view shown;
    } cases[] = {
        {"crc32", "123456789", "cbf43926"},
        {"crc16", "123456789", "31c3"},
        {"crc16arc", "123456789", "bb3d"},
        {"crc32", "ae", "e7ddce"},
        {"crc16", "checksum", "25f"},
        {"crc32", "", "0"},
        {"crc16", "", "0"},
        {"crc16arc", "", "0"},
        {"md5", "", "d41d8cd98f00b204e9800998ecf8427e"},
        {"sha1", "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    };
    tolvek::testing::TempFolder folder;
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.id) + " \"" + test.text + "\"");
        const AlgorithmEntry& entry = *FindAlgorithm(test.id);
        EXPECT_EQ(HashText(entry.stringRoute, test.text).text, test.shown);
        EXPECT_EQ(HashFile(entry.fileRoute, folder.write("data", test.text)).text, test.shown);
        std::istringstream input(test.text);
        const Provider* const providers[] = {&entry.fileRoute, &entry.stringRoute};
        for (const DigestOutcome& outcome : HashStreamWith(input, providers)) {
            EXPECT_TRUE(outcome.ok);
            EXPECT_EQ(outcome.text, test.shown);
        }
    }
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
        EXPECT_EQ(outcome.text, "Could not read file");
    }
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
    EXPECT_EQ(FindAlgorithm(""), nullptr);
    EXPECT_EQ(EntryAt(AlgorithmEntries(), -1), nullptr);
    EXPECT_EQ(EntryAt(AlgorithmEntries(), static_cast<int>(AlgorithmEntries().size())), nullptr);
}

}  // namespace
}  // namespace tolvek::hashing
