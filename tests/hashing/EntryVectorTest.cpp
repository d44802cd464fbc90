// Published vectors filed under a list entry's id ("[sha3-256]"), through that entry's string
// route and, as a file, its file route, on every CPU path the machine has; and the vector files
// against the rows: every row has vectors, and every section is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"
#include "tests/support/CpuPaths.h"
#include "tests/support/TempFolder.h"

namespace tolvek::hashing {
namespace {

// The routes run the engine's default of three passes; other pass counts are the engine's.
bool runsOnTheRoutes(const testing::Vector& vector) {
    const auto passes = vector.fields.find("Passes");
    return passes == vector.fields.end() || passes->second == "3";
}

std::vector<testing::Vector> entryVectors() {
    std::vector<testing::Vector> selected;
    for (testing::Vector& vector : testing::ReadAllVectorFiles()) {
        const AlgorithmEntry* entry = FindAlgorithm(vector.algorithm);
        if (entry != nullptr && entry->id == vector.algorithm && runsOnTheRoutes(vector)) {
            selected.push_back(std::move(vector));
        }
    }
    return selected;
}

class EntryVectorTest : public ::testing::TestWithParam<testing::VectorOnPath> {};

TEST_P(EntryVectorTest, BothRoutesGiveThePublishedDigest) {
    const auto& [vector, path] = GetParam();
    if (!tolvek::testing::ScopedCpuPath::available(path)) {
        GTEST_SKIP() << "this CPU lacks the " << path.name << " path";
    }
    const tolvek::testing::ScopedCpuPath onPath(path);
    const AlgorithmEntry& entry = *FindAlgorithm(vector.algorithm);
    const tolvek::testing::TempFolder folder;
    const DigestOutcome text = HashText(entry.stringRoute, vector.input);
    const DigestOutcome file = HashFile(entry.fileRoute, folder.write("input", vector.input));
    EXPECT_EQ(HexText(text.digest), vector.expected) << "string route " << text.failure;
    EXPECT_EQ(HexText(file.digest), vector.expected) << "file route " << file.failure;
    EXPECT_EQ(entry.digestBytes(), file.digest.size());
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, EntryVectorTest,
    ::testing::Combine(::testing::ValuesIn(entryVectors()),
                       ::testing::ValuesIn(tolvek::testing::CpuPaths())),
    testing::VectorOnPathName);

// A section is a row's id, a form of a row's algorithm that the engine's or the framework's
// tests read ("blake2b keyed"), or a hash of the engine that no row computes ("engine adler32").
TEST(VectorSections, EveryRowHasVectorsAndEverySectionIsRead) {
    std::set<std::string> sections;
    for (const testing::Vector& vector : testing::ReadAllVectorFiles()) {
        sections.insert(vector.algorithm);
    }
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        EXPECT_TRUE(sections.contains(std::string(entry.id))) << "no vectors for " << entry.id;
    }
    for (const std::string& section : sections) {
        const std::string first = section.substr(0, section.find(' '));
        const AlgorithmEntry* entry = FindAlgorithm(first);
        EXPECT_TRUE(first == "engine" || (entry != nullptr && entry->id == first))
            << "no row reads [" << section << "]";
    }
}

}  // namespace
}  // namespace tolvek::hashing
