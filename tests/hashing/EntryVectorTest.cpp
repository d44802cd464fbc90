// Published vectors filed under a list entry's short id ("[sha3-256]"), through that entry's
// string route and, as a file, its file route, on every CPU path the machine has.
#include <gtest/gtest.h>

#include "app/hashing/Hashing.h"
#include "tests/support/CpuPaths.h"
#include "tests/support/TempFolder.h"

namespace tolvek::hashing {
namespace {

std::vector<testing::Vector> entryVectors() {
    std::vector<testing::Vector> selected;
    for (testing::Vector& vector : testing::ReadAllVectorFiles()) {
        const AlgorithmEntry* entry = FindAlgorithm(vector.algorithm);
        if (entry != nullptr && entry->id == vector.algorithm) {
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

    const DigestOutcome text = HashText(entry.stringRoute, vector.input);
    EXPECT_TRUE(text.ok);
    EXPECT_EQ(text.text, vector.expected) << "string route";

    const tolvek::testing::TempFolder folder;
    const DigestOutcome file = HashFile(entry.fileRoute, folder.write("input", vector.input));
    EXPECT_TRUE(file.ok);
    EXPECT_EQ(file.text, vector.expected) << "file route";
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, EntryVectorTest,
    ::testing::Combine(::testing::ValuesIn(entryVectors()),
                       ::testing::ValuesIn(tolvek::testing::CpuPaths())),
    testing::VectorOnPathName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(EntryVectorTest);

}  // namespace
}  // namespace tolvek::hashing
