// The SHA vectors and split messages on every compression path the CPU offers, the portable one
// included, so that each path is proven on its own whatever the machine picks by default.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "engine/CpuFeatures.h"
#include "engine/HashEngine.h"
#include "tests/support/VectorFile.h"

namespace tolvek::engine {
namespace {

struct CodePath {
    std::string name;
    unsigned features;  // the only features the engine may use on this path
};

void PrintTo(const CodePath& path, std::ostream* stream) {
    *stream << path.name;
}

const std::map<std::string, HashType> kShaSections = {
    {"SHA-1", HashTypeSHA1},
    {"SHA-256", HashTypeSHA256},
    {"SHA-384", HashTypeSHA384},
    {"SHA-512", HashTypeSHA512},
};

class ShaPathTest : public ::testing::TestWithParam<CodePath> {
protected:
    void SetUp() override {
        const unsigned features = GetParam().features;
        if (features != 0 && !CpuHas(static_cast<CpuFeature>(features))) {
            GTEST_SKIP() << "this CPU lacks the " << GetParam().name << " path";
        }
        LimitCpuFeaturesForTesting(features);
    }

    void TearDown() override { LimitCpuFeaturesForTesting(kAllCpuFeatures); }
};

std::string oneCallDigest(HashType type, const std::string& message) {
    std::string digest;
    EXPECT_EQ(HashString(type, message, digest), kHashOk);
    return digest;
}

TEST_P(ShaPathTest, PublishedVectors) {
    int checked = 0;
    for (const testing::Vector& vector : testing::ReadAllVectorFiles()) {
        if (const auto section = kShaSections.find(vector.algorithm);
            section != kShaSections.end()) {
            EXPECT_EQ(oneCallDigest(section->second, vector.input), vector.expected)
                << vector.where;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

// Random messages around the block edges, fed in random pieces (empty ones included), give the
// portable path's one-call digest.
TEST_P(ShaPathTest, SplitMessagesGiveThePortableDigest) {
    std::mt19937 random(4242);
    std::vector<std::size_t> lengths = {0, 1, 1000, 4097};
    for (const std::size_t edge : {55, 56, 64, 111, 112, 128}) {
        for (const std::size_t multiple : {1, 2, 3}) {
            for (const std::size_t length :
                 {edge * multiple - 1, edge * multiple, edge * multiple + 1}) {
                lengths.push_back(length);
            }
        }
    }
    for (const auto& [section, type] : kShaSections) {
        for (const std::size_t length : lengths) {
            std::string message(length, '\0');
            for (char& byte : message) {
                byte = static_cast<char>(random());
            }
            LimitCpuFeaturesForTesting(0);
            const std::string expected = oneCallDigest(type, message);
            LimitCpuFeaturesForTesting(GetParam().features);

            HashContext context;
            ASSERT_EQ(HashInit(&context, type), kHashOk);
            for (std::size_t offset = 0; offset < length || random() % 3 != 0;) {
                const std::size_t wanted = random() % 8 == 0 ? 0 : random() % 200;
                const std::size_t piece = std::min(wanted, length - offset);
                ASSERT_EQ(HashUpdate(&context, message.data() + offset,
                                     static_cast<std::uint32_t>(piece)),
                          kHashOk);
                offset += piece;
            }
            std::string digest;
            ASSERT_EQ(HashFinal(&context, digest), kHashOk);
            EXPECT_EQ(digest, expected) << section << ", " << length << " bytes";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ShaPathTest,
    ::testing::Values(CodePath{"Portable", 0},
                      CodePath{"ShaNi", static_cast<unsigned>(CpuFeature::ShaNi)},
                      CodePath{"Avx512", static_cast<unsigned>(CpuFeature::Avx512Vl)}),
    [](const ::testing::TestParamInfo<CodePath>& pathInfo) { return pathInfo.param.name; });

}  // namespace
}  // namespace tolvek::engine
