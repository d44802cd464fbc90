// The message word order of each of BLAKE3's seven rounds, built from the published
// message permutation, shared by the portable and the lane-parallel compressions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/BlakeRound.h"
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

// The seven rounds over message words `m`; `mix` as MixColumnsThenDiagonals takes it.
template <class Words, class Mix>
[[gnu::always_inline]] inline void Rounds(const Words& m, Mix&& mix) {
    Unroll<7>([&](auto round) { MixColumnsThenDiagonals(m, kSchedules[round], mix); });
}

}  // namespace tolvek::engine::blake3
