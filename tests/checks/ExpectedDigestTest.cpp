// The expected hash read from what users paste.
#include <gtest/gtest.h>

#include <array>

#include "app/checks/ExpectedDigest.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/DigestText.h"
#include "tests/support/VectorFile.h"

namespace tolvek::checks {
namespace {

// The digest lengths of the list entries, 16-bit checksums to 512-bit digests.
const std::vector<std::size_t>& entryLengths() {
    static const std::vector<std::size_t> lengths =
        hashing::DigestLengthsOf(hashing::AlgorithmEntries());
    return lengths;
}

// Published MD5 of "abc" (RFC 1321).
const std::string kMd5 = "900150983cd24fb0d6963f7d28e17f72";

TEST(ReadExpectedDigest, Pastes) {
    for (const testing::Case& paste : testing::ReadCaseFile("checks/pastes.cases")) {
        SCOPED_TRACE(paste.where);
        const std::optional<ExpectedDigest> read = ReadExpectedDigest(paste.get("Paste"), entryLengths());
        ASSERT_EQ(read.has_value(), paste.has("Digest"));
        if (read) {
            EXPECT_EQ(hashing::HexText(read->digest), paste.get("Digest"));
            EXPECT_EQ(read->ambiguous, paste.has("Ambiguous"));
            EXPECT_EQ(read->algorithm, paste.get("Algorithm"));
            EXPECT_EQ(read->name, paste.get("Name"));
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
