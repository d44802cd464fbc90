// Keccak-f[1600] absorbing written once over the lane type, for the portable and BMI paths
// (64-bit integers, one file compiled with each set of flags) and the AVX-512 path (one lane per
// vector register, three-input logic). Internal linkage on purpose: each path's file compiles
// its own copy with its own instruction-set flags.
//
// A round reads the state from one set of lanes and writes it to another, one output row at a
// time: a row's five lanes come through theta, rho and pi from five input lanes and leave through
// chi and iota, and theta's column parities for the next round are summed as the row is written.
// Only a row, theta's five values and the parities are live at once, which keeps the scalar
// paths' values in the sixteen general registers.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <iterator>
#include <cstdint>

#include "engine/EngineUtils.h"
#include "engine/KeccakConstants.h"
#include "engine/Unroll.h"

namespace tolvek::engine::keccak {
namespace {  // NOLINT(google-build-namespaces): see above

// The scalar lanes: and-not and rotates become single instructions where BMI is enabled.
struct ScalarOps {
    using Lane = std::uint64_t;
    template <std::size_t kCount>
    using Lanes = std::array<std::uint64_t, kCount>;

    static Lane load(const std::uint8_t* bytes) { return LoadLe64(bytes); }
    static Lane constant(std::uint64_t value) { return value; }
    static Lane xor2(Lane a, Lane b) { return a ^ b; }
    static Lane xor3(Lane a, Lane b, Lane c) { return a ^ b ^ c; }
    static Lane chi(Lane a, Lane b, Lane c) { return a ^ (~b & c); }
    template <unsigned kCount>
    static Lane rotl(Lane a) {
        return std::rotl(a, static_cast<int>(kCount));
    }
};

// `Ops` gives, over `Ops::Lane`: load(8 little-endian bytes), constant(word), xor2(a, b),
// xor3(a, b, c), chi(a, b, c) = a ^ (~b & c), rotl<count>(a), and Lanes<n>, an array type of
// lanes (std::array keeps the scalar lanes in registers best; a vector type keeps its alignment
// only in a plain array). Lanes are indexed by x + 5y (FIPS 202, section 3.1.2); `column` holds
// the parities of `in`'s columns and receives those of `out`'s.
template <class Ops, class Lanes, class Column>
[[gnu::always_inline]] inline void round(const Lanes& in, Lanes& out,
                                         typename Ops::Lane roundConstant, Column& column) {
    typename Ops::template Lanes<5> theta;
    Unroll<5>([&](auto x) {
        theta[x] = Ops::xor2(column[(x + 4) % 5], Ops::template rotl<1>(column[(x + 1) % 5]));
    });
    Unroll<5>([&](auto y) {
        // pi moves lane (x, y) to (y, 2x + 3y): output lane (i, y) comes from (3y + i, i).
        typename Ops::template Lanes<5> row;
        Unroll<5>([&](auto i) {
            constexpr std::size_t kFrom = (3 * y + i) % 5 + 5 * i;
            row[i] = Ops::template rotl<kRotationOffsets[kFrom]>(
                Ops::xor2(in[kFrom], theta[(3 * y + i) % 5]));
        });
        Unroll<5>([&](auto i) {
            auto lane = Ops::chi(row[i], row[(i + 1) % 5], row[(i + 2) % 5]);
            if constexpr (y == 0 && i == 0) {
                lane = Ops::xor2(lane, roundConstant);
            }
            out[i + 5 * y] = lane;
            if constexpr (y == 0) {
                column[i] = lane;
            } else {
                column[i] = Ops::xor2(column[i], lane);
            }
        });
    });
}

// Keccak-p[1600, rounds], the last `rounds` rounds of Keccak-f[1600] (FIPS 202, section 3.3),
// alternating between the state and a second set of lanes; an odd last round is copied back.
template <class Ops, class Lanes>
[[gnu::always_inline]] inline void permute(Lanes& state, std::size_t rounds) {
    typename Ops::template Lanes<5> column;
    Unroll<5>([&](auto x) {
        column[x] = Ops::xor3(Ops::xor3(state[x], state[x + 5], state[x + 10]), state[x + 15],
                              state[x + 20]);
    });
    Lanes other;
    std::size_t index = kRounds - rounds;
    for (; index + 2 <= kRounds; index += 2) {
        round<Ops>(state, other, Ops::constant(kRoundConstants[index]), column);
        round<Ops>(other, state, Ops::constant(kRoundConstants[index + 1]), column);
    }
    if (index < kRounds) {
        round<Ops>(state, other, Ops::constant(kRoundConstants[index]), column);
        std::copy(std::begin(other), std::end(other), std::begin(state));
    }
}

// XORs each block's `rate` bytes into the leading lanes and permutes after each.
template <class Ops, class Lanes>
[[gnu::always_inline]] inline void absorb(Lanes& state, const std::uint8_t* blocks,
                                          std::size_t blockCount, std::size_t rate,
                                          std::size_t rounds) {
    for (; blockCount != 0; --blockCount, blocks += rate) {
        for (std::size_t lane = 0; lane < rate / 8; ++lane) {
            state[lane] = Ops::xor2(state[lane], Ops::load(blocks + 8 * lane));
        }
        permute<Ops>(state, rounds);
    }
}

}  // namespace
}  // namespace tolvek::engine::keccak
