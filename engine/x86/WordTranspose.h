// Eight rows of eight 32-bit words turned into eight vectors of one word from each row: how the
// kernels that hash eight inputs at once, one per lane, load their blocks. Included only by
// files built with AVX2.
#pragma once

#include <immintrin.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolvek::engine {

// m[w] holds word w of the 64 bytes at starts[lane] + offset, lane by lane.
inline void TransposeBlockWords(const std::array<const std::uint8_t*, 8>& starts,
                                std::size_t offset, __m256i (&m)[16]) {
    for (std::size_t half = 0; half < 2; ++half) {
        __m256i rows[8];
        for (std::size_t row = 0; row < 8; ++row) {
            rows[row] = _mm256_loadu_si256(
                reinterpret_cast<const __m256i*>(starts[row] + offset + 32 * half));
        }
        __m256i pairs[8];
        for (std::size_t row = 0; row < 8; row += 2) {
            pairs[row] = _mm256_unpacklo_epi32(rows[row], rows[row + 1]);
            pairs[row + 1] = _mm256_unpackhi_epi32(rows[row], rows[row + 1]);
        }
        // quads[4 g + w]: rows 4g..4g+3 of word w (low 128 bits) and w + 4 (high).
        __m256i quads[8];
        for (std::size_t group = 0; group < 2; ++group) {
            const __m256i* pair = &pairs[4 * group];
            quads[4 * group + 0] = _mm256_unpacklo_epi64(pair[0], pair[2]);
            quads[4 * group + 1] = _mm256_unpackhi_epi64(pair[0], pair[2]);
            quads[4 * group + 2] = _mm256_unpacklo_epi64(pair[1], pair[3]);
            quads[4 * group + 3] = _mm256_unpackhi_epi64(pair[1], pair[3]);
        }
        __m256i* words = &m[8 * half];
        for (std::size_t w = 0; w < 4; ++w) {
            words[w] = _mm256_permute2x128_si256(quads[w], quads[4 + w], 0x20);
            words[4 + w] = _mm256_permute2x128_si256(quads[w], quads[4 + w], 0x31);
        }
    }
}

}  // namespace tolvek::engine
