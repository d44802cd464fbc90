// BLAKE2 compression of several independent nodes side by side, one node per vector lane: the
// leaves of BLAKE2sp and BLAKE2bp. Written with the compiler's generic vector types, so that each
// file that includes it lowers the same code to its own registers: SSE2 for the portable code,
// 256-bit AVX2 in engine/x86/. Internal linkage on purpose: each of those files compiles its own
// copy with its own instruction-set flags.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "engine/Blake2Tables.h"
#include "engine/BlakeRound.h"
#include "engine/Unroll.h"

namespace tolvek::engine::blake2 {
namespace {  // NOLINT(google-build-namespaces): see above

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

// Each word of `value` rotated right by Count bits. Where SSSE3 is enabled a whole-byte rotation
// is one byte shuffle, which stays within each word, instead of two shifts and an or.
template <int Count, class Vector>
[[gnu::always_inline]] inline Vector RotateRight(Vector value) {
    using Word = std::remove_cvref_t<decltype(value[0])>;
    constexpr int kBits = 8 * sizeof(Word);
#if defined(__SSSE3__)
    if constexpr (Count % 8 == 0) {
        typedef std::uint8_t Bytes __attribute__((vector_size(sizeof(Vector))));
        constexpr std::size_t kSize = sizeof(Word);
        const Bytes bytes = __builtin_bit_cast(Bytes, value);
        return [&]<std::size_t... Byte>(std::index_sequence<Byte...>) {
            return __builtin_bit_cast(
                Vector, __builtin_shufflevector(
                            bytes, bytes, (Byte / kSize * kSize + (Byte + Count / 8) % kSize)...));
        }(std::make_index_sequence<sizeof(Vector)>{});
    }
#endif
    return (value >> Count) | (value << (kBits - Count));
}

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
    constexpr auto kR = Shape<Word>::kRotations;
    // A vector of one value per lane, built whole (lane by lane it reads as used uninitialised).
    const auto perLane = [](auto value) {
        return [&]<std::size_t... Lane>(std::index_sequence<Lane...>) {
            return Vector{value(Lane)...};
        }(std::make_index_sequence<Lanes>{});
    };
    Vector h[8];
    for (std::size_t word = 0; word < 8; ++word) {
        h[word] = perLane([&](std::size_t lane) { return (*states[lane])[word]; });
    }
    for (; blockCount != 0; --blockCount, counter += 16 * sizeof(Word)) {
        Vector m[16];
        for (std::size_t word = 0; word < 16; ++word) {
            m[word] = perLane(
                [&](std::size_t lane) { return load(blocks[lane] + word * sizeof(Word)); });
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
            v[a] += v[b] + x;
            v[d] = RotateRight<kR[0]>(v[d] ^ v[a]);
            v[c] += v[d];
            v[b] = RotateRight<kR[1]>(v[b] ^ v[c]);
            v[a] += v[b] + y;
            v[d] = RotateRight<kR[2]>(v[d] ^ v[a]);
            v[c] += v[d];
            v[b] = RotateRight<kR[3]>(v[b] ^ v[c]);
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

}  // namespace
}  // namespace tolvek::engine::blake2
