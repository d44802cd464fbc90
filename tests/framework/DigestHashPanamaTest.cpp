// What the Panama class adds to the base class: the stage buffer that the ending clears.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/DigestHashPanama.h"
#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

bool stagesAreZero(const THash_Panama& hash) {
    return std::ranges::all_of(internal::PanamaAccess::Stages(hash), [](const auto& stage) {
        return std::ranges::all_of(stage, [](std::uint32_t word) { return word == 0; });
    });
}

TEST(PanamaHash, EndHashClearsTheStageBuffer) {
    const std::string message = testing::PatternBytes(1000);
    THash_Panama hash;
    hash.BeginHash();
    hash.HashData(message.data(), static_cast<std::int32_t>(message.size()));
    ASSERT_FALSE(stagesAreZero(hash));
    hash.EndHash();
    EXPECT_TRUE(stagesAreZero(hash));
    // The digest survives the clearing.
    EXPECT_EQ(hash.DigestText(nullptr), testing::DigestOf(ClassOf<THash_Panama>, message));
}

}  // namespace
}  // namespace tolvek::framework
