// The hash classes as objects: every class is used again after EndHash or half way; and what
// each family adds to the base class (Snefru's passes and length field, Sapphire's digest size,
// Panama's stage buffer, the Square S-box, Whirlpool's tables). Each class's vectors, split any
// way, run through its list entry (tests/hashing).
#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>

#include "framework/DigestDataSquare.h"
#include "framework/DigestInternal.h"
#include "tests/framework/FrameworkClasses.h"

namespace tolvek::framework {
namespace {

using internal::DigestHashAccess;
using testing::DigestOf;
using testing::PatternBytes;

std::string hexDigest(TDigestHash& hash, const std::string& message) {
    return testing::BytesToHex(DigestOf(hash, message));
}

class FrameworkInvariantTest : public ::testing::TestWithParam<HashClassRef> {};

TEST_P(FrameworkInvariantTest, ObjectIsReusedAfterEndHashOrHalfWay) {
    const HashClassRef hashClass = GetParam();
    const std::string message = PatternBytes(300);
    const std::unique_ptr<TDigestHash> hash = hashClass->Create();
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(hexDigest(*hash, message), testing::BytesToHex(DigestOf(hashClass, message)));
    }
    hash->BeginHash();
    hash->HashData(message.data(), 100);
    EXPECT_EQ(hexDigest(*hash, ""), testing::BytesToHex(DigestOf(hashClass, "")));
}

INSTANTIATE_TEST_SUITE_P(Classes, FrameworkInvariantTest,
                         ::testing::ValuesIn(testing::kHashClasses),
                         [](const ::testing::TestParamInfo<HashClassRef>& classInfo) {
                             return ShortClassName(classInfo.param);
                         });

// Security_Level outside 2 to 8 means 8; every level gives its own digest, 8 the published
// one (tests/vectors/snefru.vec).
TEST(Snefru, SecurityLevelAndPasses) {
    const HashClassRef snefru[] = {ClassOf<THash_Snefru128>, ClassOf<THash_Snefru256>};
    for (const HashClassRef hashClass : snefru) {
        const std::unique_ptr<TDigestHash> object = hashClass->Create();
        auto& hash = static_cast<THashBaseSnefru&>(*object);
        EXPECT_EQ(hash.Security_Level(), 0);
        const std::string published = hexDigest(hash, "abc");
        EXPECT_EQ(hash.Security_Level(), 8);
        for (const std::int32_t level : {1, 9, 0, -1, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max()}) {
            hash.SetSecurity_Level(3);
            hash.SetSecurity_Level(level);
            EXPECT_EQ(hash.Security_Level(), 8) << level;
        }
        std::set<std::string> digests;
        for (std::int32_t level = 2; level <= 8; ++level) {
            hash.SetSecurity_Level(level);
            const std::string digest = hexDigest(hash, "abc");
            EXPECT_EQ(hash.Security_Level(), level) << "BeginHash keeps a valid level";
            EXPECT_EQ(digest == published, level == 8) << level;
            digests.insert(digest);
        }
        EXPECT_EQ(digests.size(), 7u);
        // A bit count beyond 64 bits is left out of the length field.
        hash.BeginHash();
        hash.HashData("abc", 3);
        BitCount count = DigestHashAccess::BitCounter(hash);
        count[2] = 1;
        count[7] = 0x80000000;
        DigestHashAccess::PresetBitCounter(hash, count);
        EXPECT_NO_THROW(hash.EndHash());
        EXPECT_EQ(testing::BytesToHex(hash.DigestText(nullptr)), published);
    }
}

// RequestedDigestSize takes the digest's first bytes (the section "sapphire
// RequestedDigestSize"), and never more than 64; HashData is taken in every state.
TEST(Sapphire, RequestedDigestSizeAndEveryState) {
    int checked = 0;
    for (const testing::Vector& vector :
         testing::ReadVectorFile(testing::VectorDirectory() + "/sapphire.vec")) {
        THash_Sapphire hash;
        if (vector.algorithm == "sapphire RequestedDigestSize") {
            hash.SetRequestedDigestSize(std::stoi(vector.fields.at("RequestedDigestSize")));
            EXPECT_EQ(hexDigest(hash, vector.input), vector.expected) << vector.where;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
    THash_Sapphire hash;
    EXPECT_NO_THROW(hash.HashData("xyz", 3)) << "before BeginHash";
    const std::string abc = hexDigest(hash, "abc");
    EXPECT_NO_THROW(hash.HashData("xyz", 3)) << "after EndHash";
    EXPECT_EQ(testing::BytesToHex(hash.DigestText(nullptr)), abc) << "the digest stays";
    for (const std::int32_t requested : {0, -1, std::numeric_limits<std::int32_t>::min(), 65,
                                         std::numeric_limits<std::int32_t>::max()}) {
        hash.SetRequestedDigestSize(requested);
        EXPECT_EQ(hexDigest(hash, "abc"), abc) << requested;
        EXPECT_EQ(hash.RequestedDigestSize(), requested) << "kept as set";
    }
}

TEST(Panama, EndHashClearsTheStageBuffer) {
    const auto stagesAreZero = [](const THash_Panama& hash) {
        return std::ranges::all_of(internal::PanamaAccess::Stages(hash), [](const auto& stage) {
            return std::ranges::all_of(stage, [](std::uint32_t word) { return word == 0; });
        });
    };
    const std::string message = PatternBytes(1000);
    THash_Panama hash;
    hash.BeginHash();
    hash.HashData(message.data(), static_cast<std::int32_t>(message.size()));
    ASSERT_FALSE(stagesAreZero(hash));
    hash.EndHash();
    EXPECT_TRUE(stagesAreZero(hash));
    EXPECT_EQ(hash.DigestText(nullptr), DigestOf(ClassOf<THash_Panama>, message));
}

// The derived S-box against the published one (tests/vectors/square_se.txt: hex values, "#"
// lines left out).
TEST(Square, DerivedSBoxIsThePublishedOne) {
    std::ifstream file(testing::VectorDirectory() + "/square_se.txt");
    std::vector<unsigned> published;
    for (std::string line; std::getline(file, line);) {
        std::istringstream tokens(line.starts_with('#') ? "" : line);
        for (std::string token; tokens >> token;) {
            published.push_back(static_cast<unsigned>(std::stoul(token, nullptr, 16)));
        }
    }
    EXPECT_TRUE(std::ranges::equal(published, data::kSquareSe));
}

// The Whirlpool-0 and Whirlpool-T vectors of one message, fed alternately to one object of each
// class in the same small pieces: each object keeps its own tables.
TEST(Whirlpool, BothVersionsUsedInTurnKeepTheirOwnTables) {
    const std::vector<testing::Vector> vectors =
        testing::ReadVectorFile(testing::VectorDirectory() + "/whirlpool.vec");
    std::map<std::string, std::string> versionT;
    for (const testing::Vector& vector : vectors) {
        if (vector.algorithm == "whirlpoolt") {
            versionT[vector.input] = vector.expected;
        }
    }
    int pairs = 0;
    THash_Whirlpool first;
    THash_Whirlpool1 second;
    for (const testing::Vector& vector : vectors) {
        const auto other = versionT.find(vector.input);
        if (vector.algorithm != "whirlpool0" || other == versionT.end() ||
            vector.input.size() > 1000) {
            continue;
        }
        first.BeginHash();
        second.BeginHash();
        for (std::size_t start = 0; start < vector.input.size(); start += 7) {
            const auto count =
                static_cast<std::int32_t>(std::min<std::size_t>(7, vector.input.size() - start));
            first.HashData(vector.input.data() + start, count);
            second.HashData(vector.input.data() + start, count);
        }
        first.EndHash();
        second.EndHash();
        EXPECT_EQ(testing::BytesToHex(first.DigestText(nullptr)), vector.expected) << vector.where;
        EXPECT_EQ(testing::BytesToHex(second.DigestText(nullptr)), other->second) << vector.where;
        ++pairs;
    }
    EXPECT_GE(pairs, 10);
}

}  // namespace
}  // namespace tolvek::framework
