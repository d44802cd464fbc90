// The Sapphire hash beyond its vectors: RequestedDigestSize, and HashData in every state.
#include <gtest/gtest.h>

#include <limits>

#include "framework/DigestHashSapphire.h"
#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

// Published digest of "abc" (tests/vectors/sapphire.vec).
constexpr std::string_view kAbc =
    "4acf17d911781571f053ce82e2f70cce5470f410b717b9a699063814b6df1f32"
    "7c766773fc59830b99a4a34ea2fb8a373ac206d593d97ebc7b58324ed0b7f649";

std::string hexDigestOfAbc(THash_Sapphire& hash) {
    hash.BeginHash();
    hash.HashData("abc", 3);
    hash.EndHash();
    return testing::BytesToHex(hash.DigestText(nullptr));
}

TEST(THash_Sapphire, RequestedDigestSizeVectors) {
    int checked = 0;
    for (const testing::Vector& vector : testing::ReadVectorFile(testing::VectorDirectory() + "/sapphire.vec")) {
        if (vector.algorithm != "sapphire RequestedDigestSize") {
            continue;
        }
        THash_Sapphire hash;
        hash.SetRequestedDigestSize(std::stoi(vector.fields.at("RequestedDigestSize")));
        hash.BeginHash();
        hash.HashData(vector.input.data(), static_cast<std::int32_t>(vector.input.size()));
        hash.EndHash();
        EXPECT_EQ(testing::BytesToHex(hash.DigestText(nullptr)), vector.expected) << vector.where;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(THash_Sapphire, RequestedDigestSizeNeverReadsPast64Bytes) {
    THash_Sapphire hash;
    const std::pair<std::int32_t, std::size_t> cases[] = {
        {0, 64}, {-1, 64}, {std::numeric_limits<std::int32_t>::min(), 64}, {1, 1}, {64, 64},
        {65, 64}, {std::numeric_limits<std::int32_t>::max(), 64}};
    for (const auto& [requested, bytes] : cases) {
        hash.SetRequestedDigestSize(requested);
        EXPECT_EQ(hexDigestOfAbc(hash), kAbc.substr(0, 2 * bytes)) << requested;
        EXPECT_EQ(hash.DigestText(ClassOf<TFormat_HEX>).size(), 2 * bytes) << requested;
        EXPECT_EQ(hash.RequestedDigestSize(), requested) << "kept as set";
    }
}

TEST(THash_Sapphire, HashDataIsTakenInEveryState) {
    THash_Sapphire hash;
    EXPECT_NO_THROW(hash.HashData("xyz", 3)) << "before BeginHash";
    EXPECT_EQ(hexDigestOfAbc(hash), kAbc);
    EXPECT_NO_THROW(hash.HashData("xyz", 3)) << "after EndHash";
    EXPECT_EQ(testing::BytesToHex(hash.DigestText(nullptr)), kAbc) << "the digest stays";
}

}  // namespace
}  // namespace tolvek::framework
