// The progress line's amounts, speed and time left.
#include <gtest/gtest.h>

#include "app/hashing/ProgressText.h"

namespace tolvek::hashing {
namespace {

using namespace std::chrono_literals;

TEST(ProgressText, AmountsSpeedAndTimeLeft) {
    constexpr std::uint64_t kMiB = 1 << 20;
    constexpr std::uint64_t kGiB = kMiB << 10;
    const struct Case {
        ReadProgress progress;
        const char* line;
        std::optional<int> permille;
    } cases[] = {
        {{0, 0, 0s}, "0 B of 0 B", 1000},
        {{0, 1023, 1s}, "0 B of 1023 B", 0},
        {{1024, 2047, 1s}, "1.0 KiB of 2.0 KiB, 1.0 KiB/s, 0:01 left", 500},
        {{1288490189, 5046586573, 2s}, "1.2 GiB of 4.7 GiB, 614 MiB/s, 0:06 left", 255},
        {{812 * kMiB, 2 * kGiB, 1s}, "812 MiB of 2.0 GiB, 812 MiB/s, 0:02 left", 396},
        {{kGiB, 1001 * kGiB, 1s}, "1.0 GiB of 1001 GiB, 1.0 GiB/s, 16:40 left", 0},
        {{kGiB, 4000 * kGiB, 1s}, "1.0 GiB of 3.9 TiB, 1.0 GiB/s, 1:06:39 left", 0},
        // A file that reported size 0: no total, no time left.
        {{5 * kMiB, std::nullopt, 2s}, "5.0 MiB, 2.5 MiB/s", std::nullopt},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(ProgressLine(test.progress, {}), test.line);
        EXPECT_EQ(ProgressPermille(test.progress), test.permille) << test.line;
    }
}

TEST(ProgressText, WordsOfTheLanguage) {
    const ProgressWords french{"%1 sur %2", "reste %1", {"o", "Kio", "Mio", "Gio", "Tio"}, ","};
    EXPECT_EQ(ProgressLine({3 << 20, 4 << 20, 1s}, french), "3,0 Mio sur 4,0 Mio, 3,0 Mio/s, reste 0:01");
}

}  // namespace
}  // namespace tolvek::hashing
