// Published vectors filed under a list entry's short id ("[sha3-256]"), through that entry's
// string route and, as a file, its file route.
#include <gtest/gtest.h>

#include "app/core/AlgorithmTable.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::app {
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

class EntryVectorTest : public ::testing::TestWithParam<testing::Vector> {};

TEST_P(EntryVectorTest, BothRoutesGiveThePublishedDigest) {
    const testing::Vector& vector = GetParam();
    const AlgorithmEntry& entry = *FindAlgorithm(vector.algorithm);

    const DigestOutcome text = entry.stringRoute.hashText(vector.input);
    EXPECT_TRUE(text.ok);
    EXPECT_EQ(text.text, vector.expected) << "string route";

    const tolvek::testing::TempFolder folder;
    const DigestOutcome file = entry.fileRoute.hashFile(folder.write("input", vector.input));
    EXPECT_TRUE(file.ok);
    EXPECT_EQ(file.text, vector.expected) << "file route";
}

INSTANTIATE_TEST_SUITE_P(Vectors, EntryVectorTest, ::testing::ValuesIn(entryVectors()),
                         testing::VectorCaseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(EntryVectorTest);

}  // namespace
}  // namespace tolvek::app
