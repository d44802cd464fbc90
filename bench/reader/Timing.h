// The timing the reader bench's modes share: wall time of a run, and the best of several rounds
// with the compared runs taking turns within each round, since the machine may be shared.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace tolvek::bench {

inline double secondsOf(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double megabytesPerSecond(std::uint64_t bytes, double seconds) {
    return double(bytes) / seconds / 1e6;
}

inline std::vector<double> bestSeconds(int rounds, const std::vector<std::function<void()>>& runs) {
    std::vector<double> best(runs.size(), 1e300);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t index = 0; index < runs.size(); ++index) {
            best[index] = std::min(best[index], secondsOf(runs[index]));
        }
    }
    return best;
}

}  // namespace tolvek::bench
