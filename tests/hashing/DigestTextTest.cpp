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

// The window's forms of entries' digests, and text read back (tests/hashing/digest_text.cases).
TEST(DigestText, ShownAsTheEntryShowsIt) {
    for (const testing::Case& test : testing::ReadCaseFile("hashing/digest_text.cases", "Shown")) {
        const AlgorithmEntry& entry = *FindAlgorithm(test.get("Id"));
        const DigestOutcome outcome = HashText(entry.stringRoute, test.get("Text"));
        EXPECT_EQ(ShownText(entry, outcome.digest), test.get("Shown")) << test.where;
        EXPECT_EQ(HexText(outcome.digest).size(), 2 * entry.digestBytes()) << test.where;
    }
}

TEST(DigestText, ReadBack) {
    for (const testing::Case& test : testing::ReadCaseFile("hashing/digest_text.cases", "Read")) {
        const std::optional<Digest> read =
            test.has("Base64") ? ReadBase64(test.get("Base64")) : ReadHex(test.get("Hex"));
        ASSERT_EQ(read.has_value(), test.has("Bytes")) << test.where;
        if (read) {
            EXPECT_EQ(HexText(*read), test.get("Bytes")) << test.where;
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
