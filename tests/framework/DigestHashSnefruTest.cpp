// Snefru beyond its vectors: the Security_Level property and what the pass count does, the
// 64-bit length field, and streaming in whole 48-byte blocks.
#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <vector>

#include "framework/DigestHashSnefru.h"
#include "framework/DigestInternal.h"
#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

// Published 8-pass digests of "abc" (tests/vectors/snefru.vec).
constexpr std::string_view kSnefru128Abc = "553d0648928299a0f22a275a02c83b10";
constexpr std::string_view kSnefru256Abc =
    "7d033205647a2af3dc8339f6cb25643c33ebc622d32979c4b612b02c4903031b";

std::string hexDigest(THashBaseSnefru& hash, const std::string& message) {
    hash.BeginHash();
    hash.HashData(message.data(), static_cast<std::int32_t>(message.size()));
    hash.EndHash();
    return testing::BytesToHex(hash.DigestText(nullptr));
}

template <class T>
class SnefruTest : public ::testing::Test {};
using SnefruClasses = ::testing::Types<THash_Snefru128, THash_Snefru256>;
TYPED_TEST_SUITE(SnefruTest, SnefruClasses);

TYPED_TEST(SnefruTest, SecurityLevelOutsideTwoToEightMeansEight) {
    TypeParam hash;
    EXPECT_EQ(hash.Security_Level(), 0);
    hash.BeginHash();
    EXPECT_EQ(hash.Security_Level(), 8);
    for (const std::int32_t level : {1, 9, 0, -1, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()}) {
        hash.SetSecurity_Level(3);
        hash.SetSecurity_Level(level);
        EXPECT_EQ(hash.Security_Level(), 8) << level;
    }
    for (std::int32_t level = 2; level <= 8; ++level) {
        hash.SetSecurity_Level(level);
        EXPECT_EQ(hash.Security_Level(), level);
    }
}

TYPED_TEST(SnefruTest, EveryPassCountGivesItsOwnDigest) {
    TypeParam hash;
    const std::string expected8(std::is_same_v<TypeParam, THash_Snefru128> ? kSnefru128Abc
                                                                           : kSnefru256Abc);
    std::set<std::string> digests;
    for (std::int32_t level = 2; level <= 8; ++level) {
        hash.SetSecurity_Level(level);
        const std::string digest = hexDigest(hash, "abc");
        EXPECT_EQ(hash.Security_Level(), level) << "BeginHash keeps a valid level";
        EXPECT_EQ(digest == expected8, level == 8) << level;
        digests.insert(digest);
    }
    EXPECT_EQ(digests.size(), 7u);
}

TYPED_TEST(SnefruTest, BitCountAbove64BitsIsLeftOut) {
    TypeParam hash;
    const std::string standard = hexDigest(hash, "abc");
    hash.BeginHash();
    hash.HashData("abc", 3);
    BitCount count = internal::DigestHashAccess::BitCounter(hash);
    count[2] = 1;
    count[7] = 0x80000000;
    internal::DigestHashAccess::PresetBitCounter(hash, count);
    EXPECT_NO_THROW(hash.EndHash());
    EXPECT_EQ(testing::BytesToHex(hash.DigestText(nullptr)), standard);
}

// Progress positions of a whole-stream hash.
class RecordingObserver final : public ProgressObserver {
public:
    void Progress(std::int64_t, std::int64_t, std::int64_t pos) override { positions.push_back(pos); }
    std::vector<std::int64_t> positions;
};

TEST(THash_Snefru128, StreamIsReadInWhole48ByteBlocks) {
    // The 8192-byte default chunk is rounded up to 171 blocks of 48 bytes.
    const std::string message = testing::PatternBytes(20000);
    testing::MemoryStream stream(message);
    RecordingObserver observer;
    const std::string digest =
        ClassOf<THash_Snefru128>->HashStream(stream, -1, nullptr, &observer);
    EXPECT_EQ(observer.positions, (std::vector<std::int64_t>{0, 8208, 16416, 20000}));
    EXPECT_EQ(digest, testing::DigestOf(ClassOf<THash_Snefru128>, message));
}

}  // namespace
}  // namespace tolvek::framework
