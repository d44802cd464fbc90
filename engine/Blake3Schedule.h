// The message word order of each of BLAKE3's seven rounds, built from the published
// message permutation, shared by the portable and the lane-parallel compressions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/Unroll.h"

namespace tolvek::engine::blake3 {

inline constexpr std::array<std::uint8_t, 16> kPermutation = {2, 6,  3,  10, 7,  0,  4,  13,
                                                              1, 11, 12, 5,  9,  14, 15, 8};

consteval std::array<std::array<std::uint8_t, 16>, 7> RoundSchedules() {
    std::array<std::array<std::uint8_t, 16>, 7> schedules{};
    for (std::uint8_t word = 0; word < 16; ++word) {
        schedules[0][word] = word;
    }
    for (std::size_t round = 1; round < 7; ++round) {
        for (std::size_t word = 0; word < 16; ++word) {
            schedules[round][word] = schedules[round - 1][kPermutation[word]];
        }
    }
    return schedules;
}

inline constexpr auto kSchedules = RoundSchedules();
static_assert(kSchedules[1][0] == 2 && kSchedules[2][0] == 3 && kSchedules[6][15] == 13);

// The seven rounds over message words `m`: each round mixes the four columns, then the four
// diagonals of the state, taking the words in that round's order. `mix(a, b, c, d, x, y)` is
// the quarter-round on state words a, b, c, d with message words x and y.
template <class Words, class Mix>
[[gnu::always_inline]] inline void Rounds(const Words& m, Mix&& mix) {
    Unroll<7>([&](auto round) {
        constexpr const std::array<std::uint8_t, 16>& s = kSchedules[round];
        mix(0, 4, 8, 12, m[s[0]], m[s[1]]);
        mix(1, 5, 9, 13, m[s[2]], m[s[3]]);
        mix(2, 6, 10, 14, m[s[4]], m[s[5]]);
        mix(3, 7, 11, 15, m[s[6]], m[s[7]]);
        mix(0, 5, 10, 15, m[s[8]], m[s[9]]);
        mix(1, 6, 11, 12, m[s[10]], m[s[11]]);
        mix(2, 7, 8, 13, m[s[12]], m[s[13]]);
        mix(3, 4, 9, 14, m[s[14]], m[s[15]]);
    });
}

}  // namespace tolvek::engine::blake3
