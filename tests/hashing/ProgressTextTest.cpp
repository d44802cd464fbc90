// The progress line's amounts, speed and time left.
#include <gtest/gtest.h>

#include "app/hashing/ProgressText.h"
#include "tests/support/VectorFile.h"

namespace tolvek::hashing {
namespace {

using namespace std::chrono_literals;

// tests/hashing/progress.cases
TEST(ProgressText, AmountsSpeedAndTimeLeft) {
    for (const testing::Case& test : testing::ReadCaseFile("hashing/progress.cases")) {
        const std::optional<std::uint64_t> total =
            test.has("Total") ? std::optional(std::stoull(test.get("Total"))) : std::nullopt;
        const ReadProgress progress{std::stoull(test.get("Done")), total,
                                    std::chrono::seconds(std::stoi(test.get("Seconds")))};
        const std::optional<int> permille =
            test.has("Permille") ? std::optional(std::stoi(test.get("Permille"))) : std::nullopt;
        EXPECT_EQ(ProgressLine(progress, {}), test.get("Line")) << test.where;
        EXPECT_EQ(ProgressPermille(progress), permille) << test.where;
    }
}

TEST(ProgressText, WordsOfTheLanguage) {
    const ProgressWords french{"%1 sur %2", "reste %1", {"o", "Kio", "Mio", "Gio", "Tio"}, ","};
    EXPECT_EQ(ProgressLine({3 << 20, 4 << 20, 1s}, french), "3,0 Mio sur 4,0 Mio, 3,0 Mio/s, reste 0:01");
}

}  // namespace
}  // namespace tolvek::hashing
