// Published vectors filed under a list entry's short id ("[sha3-256]"), through that entry's
// string route and, as a file, its file route, on every code path the CPU offers: the portable
// code alone, each accelerated feature alone, and everything the CPU has.
#include <gtest/gtest.h>

#include "app/core/AlgorithmTable.h"
#include "engine/CpuFeatures.h"
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

// The feature masks to run under: none, each available feature alone, and all of them.
std::vector<unsigned> featureMasks() {
    std::vector<unsigned> masks = {engine::kCpuNone};
    const unsigned available = engine::CpuFeaturesAvailable();
    for (unsigned bit = 1; bit != 0 && bit <= available; bit <<= 1) {
        if ((available & bit) != 0) {
            masks.push_back(bit);
        }
    }
    masks.push_back(engine::kAllCpuFeatures);
    return masks;
}

class EntryVectorTest : public ::testing::TestWithParam<testing::Vector> {
protected:
    void TearDown() override { engine::LimitCpuFeaturesForTesting(engine::kAllCpuFeatures); }
};

TEST_P(EntryVectorTest, BothRoutesGiveThePublishedDigestOnEveryPath) {
    const testing::Vector& vector = GetParam();
    const AlgorithmEntry& entry = *FindAlgorithm(vector.algorithm);
    const tolvek::testing::TempFolder folder;
    const std::string fileName = folder.write("input", vector.input);

    for (const unsigned mask : featureMasks()) {
        SCOPED_TRACE(::testing::Message() << "feature mask " << std::hex << mask);
        engine::LimitCpuFeaturesForTesting(mask);

        const DigestOutcome text = entry.stringRoute.hashText(vector.input);
        EXPECT_TRUE(text.ok);
        EXPECT_EQ(text.text, vector.expected) << "string route";

        const DigestOutcome file = entry.fileRoute.hashFile(fileName);
        EXPECT_TRUE(file.ok);
        EXPECT_EQ(file.text, vector.expected) << "file route";
    }
}

INSTANTIATE_TEST_SUITE_P(Vectors, EntryVectorTest, ::testing::ValuesIn(entryVectors()),
                         testing::VectorCaseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(EntryVectorTest);

}  // namespace
}  // namespace tolvek::app
