// The Keccak-f[1600] step constants, derived at compile time from their definitions in FIPS 202
// (section 3.2.2, Algorithm 2, for the rotation offsets; section 3.2.5, Algorithms 5 and 6, for
// the round constants).
#pragma once

#include <array>
#include <cstdint>

namespace tolvek::engine::keccak {

inline constexpr unsigned kRounds = 24;

// rho's offset of lane (x, y) at index x + 5y.
consteval std::array<unsigned, 25> rotationOffsets() {
    std::array<unsigned, 25> offsets{};
    unsigned x = 1;
    unsigned y = 0;
    for (unsigned t = 0; t < 24; ++t) {
        offsets[x + 5 * y] = ((t + 1) * (t + 2) / 2) % 64;
        const unsigned nextY = (2 * x + 3 * y) % 5;
        x = y;
        y = nextY;
    }
    return offsets;
}

// rc(t): bit 0 of the LFSR x^8 + x^6 + x^5 + x^4 + 1 after t steps from 1.
consteval bool roundConstantBit(unsigned t) {
    unsigned lfsr = 1;
    for (unsigned step = 0; step < t % 255; ++step) {
        lfsr <<= 1;
        if ((lfsr & 0x100) != 0) {
            lfsr ^= 0x171;
        }
    }
    return (lfsr & 1) != 0;
}

consteval std::array<std::uint64_t, kRounds> roundConstants() {
    std::array<std::uint64_t, kRounds> constants{};
    for (unsigned round = 0; round < kRounds; ++round) {
        for (unsigned j = 0; j < 7; ++j) {
            if (roundConstantBit(j + 7 * round)) {
                constants[round] |= std::uint64_t{1} << ((1u << j) - 1);
            }
        }
    }
    return constants;
}

inline constexpr std::array<unsigned, 25> kRotationOffsets = rotationOffsets();
alignas(64) inline constexpr std::array<std::uint64_t, kRounds> kRoundConstants = roundConstants();

// Entries as tabled in the Keccak reference.
static_assert(kRotationOffsets[1] == 1 && kRotationOffsets[2] == 62 && kRotationOffsets[24] == 14);
static_assert(kRotationOffsets[5] == 36 && kRotationOffsets[23] == 56);
static_assert(kRoundConstants[0] == 0x0000000000000001 && kRoundConstants[1] == 0x0000000000008082);
static_assert(kRoundConstants[23] == 0x8000000080008008);

}  // namespace tolvek::engine::keccak
