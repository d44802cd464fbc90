// The engine's self-test: its verdict on the real engine, and its logic over vector tables we
// control (a wrong expectation must fail its type and stop the run there).
#include <gtest/gtest.h>

#include <vector>

#include "engine/HashTests.h"

namespace tolvek::engine {
namespace {

std::vector<SelfTestVector> vectorsWith(HashType type, std::string_view input,
                                        std::string_view wrongExpected) {
    std::vector<SelfTestVector> vectors(SelfTestVectors().begin(), SelfTestVectors().end());
    for (SelfTestVector& vector : vectors) {
        if (vector.type == type && vector.input == input) {
            vector.expected = wrongExpected;
        }
    }
    return vectors;
}

std::vector<HashType> typesTestedWith(std::span<const SelfTestVector> vectors, HashResult& result) {
    std::vector<HashType> tested;
    result = TestAllHashTypesWith(vectors, [&](HashType type) { tested.push_back(type); });
    return tested;
}

TEST(HashTests, RealEnginePassesEveryTypeInOrder) {
    HashResult result = -1;
    const std::vector<HashType> tested = typesTestedWith(SelfTestVectors(), result);
    EXPECT_EQ(result, kHashOk);
    std::vector<HashType> everyType;
    for (HashType type = kFirstHashType; type <= kLastHashType; ++type) {
        everyType.push_back(type);
        EXPECT_EQ(TestHashType(type), kHashOk) << type;
    }
    EXPECT_EQ(tested, everyType);
    EXPECT_EQ(TestAllHashTypes(), kHashOk);
    EXPECT_EQ(TestHashType(kFirstHashType - 1), kHashUnknownType);
    EXPECT_EQ(TestHashType(kLastHashType + 1), kHashUnknownType);
}

// A failing type stops the run there.
TEST(HashTests, ComparisonIsByteExactIncludingCase) {
    const auto vectors = vectorsWith(HashTypeMD2, "", "8350E5A3E24C153DF2275C9F80692773");
    HashResult result = kHashOk;
    EXPECT_EQ(typesTestedWith(vectors, result), (std::vector<HashType>{257}));
    EXPECT_EQ(result, kHashTestFailed);
    EXPECT_FALSE(TestHashString(HashTypeMD2, "", "8350E5A3E24C153DF2275C9F80692773"));
    EXPECT_TRUE(TestHashString(HashTypeMD2, "", "8350e5a3e24c153df2275c9f80692773"));
    EXPECT_FALSE(TestHashString(300, "", ""));
}

TEST(HashTests, PassCountsReachTheAlgorithm) {
    // The 4-pass HAVAL-192 answer run with the default 3 passes must fail.
    std::vector<SelfTestVector> vectors(SelfTestVectors().begin(), SelfTestVectors().end());
    for (SelfTestVector& vector : vectors) {
        if (vector.type == HashTypeHAVAL192) {
            vector.passes = 3;
        }
    }
    EXPECT_EQ(TestHashTypeWith(HashTypeHAVAL192, vectors), kHashTestFailed);
}

TEST(HashTests, ShortTigerTypesRunTheTiger192Vectors) {
    const auto vectors = vectorsWith(HashTypeTiger192, "abc", "0");
    EXPECT_EQ(TestHashTypeWith(HashTypeTiger128, vectors), kHashTestFailed);
    EXPECT_EQ(TestHashTypeWith(HashTypeTiger160, vectors), kHashTestFailed);
    EXPECT_EQ(TestHashTypeWith(HashTypeTiger192, vectors), kHashTestFailed);
    EXPECT_EQ(TestHashTypeWith(HashTypeRIPEMD128, vectors), kHashOk);
}

}  // namespace
}  // namespace tolvek::engine
