#include "app/hashing/ProgressText.h"

#include <cmath>
#include <cstdio>

#include "app/hashing/AsciiText.h"

namespace tolvek::hashing {

namespace {

std::string clockTime(std::uint64_t seconds) {
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(
            text, sizeof text, "%llu:%02u:%02u", static_cast<unsigned long long>(seconds / 3600),
            static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%u:%02u", static_cast<unsigned>(seconds / 60),
                      static_cast<unsigned>(seconds % 60));
    }
    return text;
}

double secondsOf(std::chrono::steady_clock::duration elapsed) {
    return std::chrono::duration<double>(elapsed).count();
}

}  // namespace

std::string ByteAmount(std::uint64_t bytes, const ProgressWords& words) {
    std::size_t unit = 0;
    double value = static_cast<double>(bytes);
    while (value >= 1024 && unit + 1 < words.units.size()) {
        value /= 1024;
        ++unit;
    }
    if (unit == 0 || value >= 99.95) {
        return std::to_string(static_cast<std::uint64_t>(std::llround(value))) + " " +
               words.units[unit];
    }
    const auto tenths = static_cast<std::uint64_t>(std::llround(value * 10));
    return std::to_string(tenths / 10) + words.decimalSeparator + std::to_string(tenths % 10) +
           " " + words.units[unit];
}

std::string ProgressLine(const ReadProgress& progress, const ProgressWords& words) {
    std::string line = ByteAmount(progress.done, words);
    if (progress.total) {
        line = FillPlaceholders(words.of, {line, ByteAmount(*progress.total, words)});
    }
    const double seconds = secondsOf(progress.elapsed);
    if (seconds <= 0 || progress.done == 0) {
        return line;
    }
    const double bytesPerSecond = static_cast<double>(progress.done) / seconds;
    line += ", " + ByteAmount(static_cast<std::uint64_t>(bytesPerSecond), words) + "/s";
    if (progress.total && *progress.total >= progress.done) {
        const double secondsLeft =
            static_cast<double>(*progress.total - progress.done) / bytesPerSecond;
        line += ", " + FillPlaceholders(words.left, {clockTime(static_cast<std::uint64_t>(
                                                        std::ceil(secondsLeft)))});
    }
    return line;
}

std::optional<int> ProgressPermille(const ReadProgress& progress) {
    if (!progress.total) {
        return std::nullopt;
    }
    if (*progress.total == 0) {
        return 1000;
    }
    return static_cast<int>(std::min<std::uint64_t>(progress.done, *progress.total) * 1000 /
                            *progress.total);
}

}  // namespace tolvek::hashing
