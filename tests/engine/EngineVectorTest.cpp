// Every engine vector of tests/vectors, through the public context interface, on every CPU path
// the machine has, the portable one included.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "engine/HashEngine.h"
#include "tests/support/CpuPaths.h"

namespace tolvek::engine {
namespace {

// The vector sections the engine computes, by the hash type that computes them.
const std::map<std::string, HashType>& engineSections() {
    static const std::map<std::string, HashType> sections = {
        {"MD2", HashTypeMD2},         {"MD4", HashTypeMD4},         {"MD5", HashTypeMD5},
        {"SHA-1", HashTypeSHA1},      {"SHA-256", HashTypeSHA256},  {"SHA-384", HashTypeSHA384},
        {"SHA-512", HashTypeSHA512},
        {"GOST R 34.11-94 (test parameters)", HashTypeGOST},
        {"HAVAL-128", HashTypeHAVAL128}, {"HAVAL-160", HashTypeHAVAL160},
        {"HAVAL-192", HashTypeHAVAL192}, {"HAVAL-224", HashTypeHAVAL224},
        {"HAVAL-256", HashTypeHAVAL256},
        {"Adler-32", HashTypeAdler32},
        {"CRC-32 bytes reversed", HashTypeCRC32},
        {"CRC-32/BZIP2 bytes reversed", HashTypeCRC32MsbFirst},
        {"Tiger/128 (64-bit words)", HashTypeTiger128},
        {"Tiger/160 (64-bit words)", HashTypeTiger160},
        {"Tiger/192 (64-bit words)", HashTypeTiger192},
        {"RIPEMD-128", HashTypeRIPEMD128},
        {"RIPEMD-160", HashTypeRIPEMD160},
    };
    return sections;
}

std::vector<testing::Vector> engineVectors() {
    std::vector<testing::Vector> selected;
    for (testing::Vector& vector : testing::ReadAllVectorFiles()) {
        if (engineSections().contains(vector.algorithm)) {
            selected.push_back(std::move(vector));
        }
    }
    return selected;
}

std::string digestOf(HashType type, const testing::Vector& vector) {
    HashContext context;
    EXPECT_EQ(HashInit(&context, type), kHashOk);
    if (const auto passes = vector.fields.find("Passes"); passes != vector.fields.end()) {
        context.Passes = std::stoi(passes->second);
    }
    EXPECT_EQ(HashUpdate(&context, vector.input.data(),
                         static_cast<std::uint32_t>(vector.input.size())),
              kHashOk);
    std::string digest;
    EXPECT_EQ(HashFinal(&context, digest), kHashOk);
    return digest;
}

class EngineVectorTest : public ::testing::TestWithParam<testing::VectorOnPath> {};

TEST_P(EngineVectorTest, MatchesPublishedDigest) {
    const auto& [vector, path] = GetParam();
    if (!testing::ScopedCpuPath::available(path)) {
        GTEST_SKIP() << "this CPU lacks the " << path.name << " path";
    }
    const testing::ScopedCpuPath onPath(path);
    EXPECT_EQ(digestOf(engineSections().at(vector.algorithm), vector), vector.expected);
}

INSTANTIATE_TEST_SUITE_P(Vectors, EngineVectorTest,
                         ::testing::Combine(::testing::ValuesIn(engineVectors()),
                                            ::testing::ValuesIn(testing::CpuPaths())),
                         testing::VectorOnPathName);

TEST(EngineVectorFiles, EverySectionHasVectors) {
    const std::vector<testing::Vector> vectors = engineVectors();
    for (const auto& [section, type] : engineSections()) {
        const bool found =
            std::any_of(vectors.begin(), vectors.end(),
                        [&name = section](const auto& vector) { return vector.algorithm == name; });
        EXPECT_TRUE(found) << "no vectors for " << section;
    }
}

}  // namespace
}  // namespace tolvek::engine
