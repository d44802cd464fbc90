// The engine's vectors that no list entry reads, through the public context interface, on every
// CPU path the machine has, the portable one included.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "engine/HashEngine.h"
#include "tests/support/CpuPaths.h"

namespace tolvek::engine {
namespace {

// The engine's hashes that the list entries do not compute as they stand, by their vector
// sections: other pass counts of HAVAL and Tiger (the entries run three, and read the rest of
// these sections), and the types that no entry uses. The entries' vectors run through the same
// interface in tests/hashing.
const std::map<std::string, HashType>& engineSections() {
    static const std::map<std::string, HashType> sections = {
        {"haval128", HashTypeHAVAL128},
        {"haval160", HashTypeHAVAL160},
        {"haval192", HashTypeHAVAL192},
        {"haval224", HashTypeHAVAL224},
        {"haval256", HashTypeHAVAL256},
        {"tiger192", HashTypeTiger192},
        {"engine crc32-bzip2 bytes reversed", HashTypeCRC32MsbFirst},
        {"engine crc32 bytes reversed", HashTypeCRC32},
        {"engine adler32", HashTypeAdler32},
    };
    return sections;
}

// Of the entries' sections, only the vectors with another pass count.
bool readHere(const testing::Vector& vector) {
    const auto passes = vector.fields.find("Passes");
    return engineSections().contains(vector.algorithm) &&
           (vector.algorithm.starts_with("engine ") ||
            (passes != vector.fields.end() && passes->second != "3"));
}

std::vector<testing::Vector> engineVectors() {
    std::vector<testing::Vector> selected;
    for (testing::Vector& vector : testing::ReadAllVectorFiles()) {
        if (readHere(vector)) {
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
