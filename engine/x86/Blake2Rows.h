// The row-wise BLAKE2 rounds shared by the AVX2 and AVX-512 files, which include it under their
// own instruction sets: four words of the state per register, the diagonal step done by
// rotating rows 2 to 4 across lanes. `Rotate` supplies the rotations for each instruction set.
#pragma once

#include <immintrin.h>

#include "engine/Blake2Tables.h"
#include "engine/EngineUtils.h"
#include "engine/ShaConstants.h"
#include "engine/Unroll.h"

namespace tolvek::engine::blake2 {

// BLAKE2b: rows of four 64-bit words in 256-bit registers.
template <class Rotate>
[[gnu::flatten]] void CompressRows64(std::array<std::uint64_t, 8>& state,
                                     const std::uint8_t* blocks, std::size_t blockCount,
                                     std::uint64_t counter, bool last) {
    const auto load = [](const void* address) {
        return _mm256_loadu_si256(static_cast<const __m256i*>(address));
    };
    __m256i row1 = load(state.data());
    __m256i row2 = load(state.data() + 4);
    const __m256i iv0 = load(kSha512InitialValues.data());
    const __m256i iv1 = load(kSha512InitialValues.data() + 4);
    for (; blockCount != 0; --blockCount, blocks += 128, counter += 128) {
        std::array<std::uint64_t, 16> m;
        std::memcpy(m.data(), blocks, sizeof m);
        const __m256i old1 = row1;
        const __m256i old2 = row2;
        __m256i row3 = iv0;
        __m256i row4 = _mm256_xor_si256(
            iv1, _mm256_set_epi64x(0, last ? -1 : 0, 0, static_cast<long long>(counter)));
        const auto half = [&](__m256i x, __m256i y) {
            row1 = _mm256_add_epi64(_mm256_add_epi64(row1, row2), x);
            row4 = Rotate::r32(_mm256_xor_si256(row4, row1));
            row3 = _mm256_add_epi64(row3, row4);
            row2 = Rotate::r24(_mm256_xor_si256(row2, row3));
            row1 = _mm256_add_epi64(_mm256_add_epi64(row1, row2), y);
            row4 = Rotate::r16(_mm256_xor_si256(row4, row1));
            row3 = _mm256_add_epi64(row3, row4);
            row2 = Rotate::r63(_mm256_xor_si256(row2, row3));
        };
        Unroll<12>([&](auto round) {
            constexpr const std::array<std::uint8_t, 16>& s = kSigma[round % 10];
            const auto pick = [&](int a, int b, int c, int d) {
                return _mm256_set_epi64x(static_cast<long long>(m[s[d]]),
                                         static_cast<long long>(m[s[c]]),
                                         static_cast<long long>(m[s[b]]),
                                         static_cast<long long>(m[s[a]]));
            };
            half(pick(0, 2, 4, 6), pick(1, 3, 5, 7));
            row2 = _mm256_permute4x64_epi64(row2, _MM_SHUFFLE(0, 3, 2, 1));
            row3 = _mm256_permute4x64_epi64(row3, _MM_SHUFFLE(1, 0, 3, 2));
            row4 = _mm256_permute4x64_epi64(row4, _MM_SHUFFLE(2, 1, 0, 3));
            half(pick(8, 10, 12, 14), pick(9, 11, 13, 15));
            row2 = _mm256_permute4x64_epi64(row2, _MM_SHUFFLE(2, 1, 0, 3));
            row3 = _mm256_permute4x64_epi64(row3, _MM_SHUFFLE(1, 0, 3, 2));
            row4 = _mm256_permute4x64_epi64(row4, _MM_SHUFFLE(0, 3, 2, 1));
        });
        row1 = _mm256_xor_si256(old1, _mm256_xor_si256(row1, row3));
        row2 = _mm256_xor_si256(old2, _mm256_xor_si256(row2, row4));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(state.data()), row1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(state.data() + 4), row2);
}

// BLAKE2s: rows of four 32-bit words in 128-bit registers.
template <class Rotate>
[[gnu::flatten]] void CompressRows32(std::array<std::uint32_t, 8>& state,
                                     const std::uint8_t* blocks, std::size_t blockCount,
                                     std::uint64_t counter, bool last) {
    const auto load = [](const void* address) {
        return _mm_loadu_si128(static_cast<const __m128i*>(address));
    };
    __m128i row1 = load(state.data());
    __m128i row2 = load(state.data() + 4);
    const __m128i iv0 = load(kSha256InitialValues.data());
    const __m128i iv1 = load(kSha256InitialValues.data() + 4);
    for (; blockCount != 0; --blockCount, blocks += 64, counter += 64) {
        std::array<std::uint32_t, 16> m;
        std::memcpy(m.data(), blocks, sizeof m);
        const __m128i old1 = row1;
        const __m128i old2 = row2;
        __m128i row3 = iv0;
        __m128i row4 = _mm_xor_si128(
            iv1, _mm_set_epi32(0, last ? -1 : 0, static_cast<int>(counter >> 32),
                               static_cast<int>(counter)));
        const auto half = [&](__m128i x, __m128i y) {
            row1 = _mm_add_epi32(_mm_add_epi32(row1, row2), x);
            row4 = Rotate::r16(_mm_xor_si128(row4, row1));
            row3 = _mm_add_epi32(row3, row4);
            row2 = Rotate::r12(_mm_xor_si128(row2, row3));
            row1 = _mm_add_epi32(_mm_add_epi32(row1, row2), y);
            row4 = Rotate::r8(_mm_xor_si128(row4, row1));
            row3 = _mm_add_epi32(row3, row4);
            row2 = Rotate::r7(_mm_xor_si128(row2, row3));
        };
        Unroll<10>([&](auto round) {
            constexpr const std::array<std::uint8_t, 16>& s = kSigma[round];
            const auto pick = [&](int a, int b, int c, int d) {
                return _mm_set_epi32(static_cast<int>(m[s[d]]), static_cast<int>(m[s[c]]),
                                     static_cast<int>(m[s[b]]), static_cast<int>(m[s[a]]));
            };
            half(pick(0, 2, 4, 6), pick(1, 3, 5, 7));
            row2 = _mm_shuffle_epi32(row2, _MM_SHUFFLE(0, 3, 2, 1));
            row3 = _mm_shuffle_epi32(row3, _MM_SHUFFLE(1, 0, 3, 2));
            row4 = _mm_shuffle_epi32(row4, _MM_SHUFFLE(2, 1, 0, 3));
            half(pick(8, 10, 12, 14), pick(9, 11, 13, 15));
            row2 = _mm_shuffle_epi32(row2, _MM_SHUFFLE(2, 1, 0, 3));
            row3 = _mm_shuffle_epi32(row3, _MM_SHUFFLE(1, 0, 3, 2));
            row4 = _mm_shuffle_epi32(row4, _MM_SHUFFLE(0, 3, 2, 1));
        });
        row1 = _mm_xor_si128(old1, _mm_xor_si128(row1, row3));
        row2 = _mm_xor_si128(old2, _mm_xor_si128(row2, row4));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state.data()), row1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state.data() + 4), row2);
}

}  // namespace tolvek::engine::blake2
