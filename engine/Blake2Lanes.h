// BLAKE2 compression of several independent nodes side by side, one node per lane of a 128-bit
// vector (four BLAKE2s or two BLAKE2b nodes): the leaves of BLAKE2sp and BLAKE2bp. Written with
// the compiler's generic vector types, so it is portable code that every target lowers to its
// own SIMD registers (SSE2 on any x86-64).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/Blake2Tables.h"
#include "engine/BlakeRound.h"
#include "engine/Unroll.h"

namespace tolvek::engine::blake2 {

// The round count and rotation distances of each width (RFC 7693, sections 2.1 and 3.2).
template <class Word>
struct Shape;

template <>
struct Shape<std::uint64_t> {
    static constexpr std::size_t kRounds = 12;
    static constexpr std::array<int, 4> kRotations = {32, 24, 16, 63};
};

template <>
struct Shape<std::uint32_t> {
    static constexpr std::size_t kRounds = 10;
    static constexpr std::array<int, 4> kRotations = {16, 12, 8, 7};
};

// Compresses `blockCount` blocks into each of the Lanes states: state j takes the blocks from
// blocks[j] on, `stride` bytes apart, all with the same byte counter (`counter` after the first).
// None of them is a node's last block. `load` reads a little-endian word.
template <class Word, std::size_t Lanes, class Load>
[[gnu::flatten]] void CompressLanes(std::array<std::array<Word, 8>*, Lanes> states,
                                    std::array<const std::uint8_t*, Lanes> blocks,
                                    std::size_t blockCount, std::size_t stride,
                                    std::uint64_t counter, const std::array<Word, 8>& iv,
                                    Load&& load) {
    using Vector [[gnu::vector_size(sizeof(Word) * Lanes)]] = Word;
    constexpr int kBits = 8 * sizeof(Word);
    constexpr auto kR = Shape<Word>::kRotations;
    Vector h[8];
    for (std::size_t word = 0; word < 8; ++word) {
        for (std::size_t lane = 0; lane < Lanes; ++lane) {
            h[word][lane] = (*states[lane])[word];
        }
    }
    for (; blockCount != 0; --blockCount, counter += 16 * sizeof(Word)) {
        Vector m[16];
        for (std::size_t word = 0; word < 16; ++word) {
            for (std::size_t lane = 0; lane < Lanes; ++lane) {
                m[word][lane] = load(blocks[lane] + word * sizeof(Word));
            }
        }
        Vector v[16];
        for (std::size_t word = 0; word < 8; ++word) {
            v[word] = h[word];
            v[word + 8] = Vector{} + iv[word];
        }
        v[12] ^= static_cast<Word>(counter);
        if constexpr (sizeof(Word) == 4) {
            v[13] ^= static_cast<Word>(counter >> 32);
        }
        const auto mix = [&](std::size_t a, std::size_t b, std::size_t c, std::size_t d,
                             Vector x, Vector y) {
            const auto rotr = [](Vector value, int count) {
                return (value >> count) | (value << (kBits - count));
            };
            v[a] += v[b] + x;
            v[d] = rotr(v[d] ^ v[a], kR[0]);
            v[c] += v[d];
            v[b] = rotr(v[b] ^ v[c], kR[1]);
            v[a] += v[b] + y;
            v[d] = rotr(v[d] ^ v[a], kR[2]);
            v[c] += v[d];
            v[b] = rotr(v[b] ^ v[c], kR[3]);
        };
        Unroll<Shape<Word>::kRounds>(
            [&](auto round) { MixColumnsThenDiagonals(m, kSigma[round % 10], mix); });
        for (std::size_t word = 0; word < 8; ++word) {
            h[word] ^= v[word] ^ v[word + 8];
        }
        for (const std::uint8_t*& block : blocks) {
            block += stride;
        }
    }
    for (std::size_t word = 0; word < 8; ++word) {
        for (std::size_t lane = 0; lane < Lanes; ++lane) {
            (*states[lane])[word] = h[word][lane];
        }
    }
}

}  // namespace tolvek::engine::blake2
