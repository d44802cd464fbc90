// BLAKE2 rows with AVX2: rotations by whole bytes are byte shuffles, the others two shifts.
#include "engine/x86/Blake2Rows.h"
#include "engine/x86/Blake2X86.h"

namespace tolvek::engine::blake2 {

namespace {

struct ShuffleRotate {
    static __m256i r32(__m256i x) { return _mm256_shuffle_epi32(x, _MM_SHUFFLE(2, 3, 0, 1)); }
    static __m256i r24(__m256i x) {
        const __m256i order = _mm256_setr_epi8(3, 4, 5, 6, 7, 0, 1, 2, 11, 12, 13, 14, 15, 8, 9, 10,
                                               3, 4, 5, 6, 7, 0, 1, 2, 11, 12, 13, 14, 15, 8, 9, 10);
        return _mm256_shuffle_epi8(x, order);
    }
    static __m256i r16(__m256i x) {
        const __m256i order = _mm256_setr_epi8(2, 3, 4, 5, 6, 7, 0, 1, 10, 11, 12, 13, 14, 15, 8, 9,
                                               2, 3, 4, 5, 6, 7, 0, 1, 10, 11, 12, 13, 14, 15, 8, 9);
        return _mm256_shuffle_epi8(x, order);
    }
    static __m256i r63(__m256i x) {
        return _mm256_xor_si256(_mm256_srli_epi64(x, 63), _mm256_add_epi64(x, x));
    }

    static __m128i r16(__m128i x) {
        const __m128i order = _mm_setr_epi8(2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13);
        return _mm_shuffle_epi8(x, order);
    }
    static __m128i r12(__m128i x) {
        return _mm_xor_si128(_mm_srli_epi32(x, 12), _mm_slli_epi32(x, 20));
    }
    static __m128i r8(__m128i x) {
        const __m128i order = _mm_setr_epi8(1, 2, 3, 0, 5, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12);
        return _mm_shuffle_epi8(x, order);
    }
    static __m128i r7(__m128i x) {
        return _mm_xor_si128(_mm_srli_epi32(x, 7), _mm_slli_epi32(x, 25));
    }
};

}  // namespace

void Blake2bCompressAvx2(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                         std::size_t blockCount, std::uint64_t counter, bool last) {
    CompressRows64<ShuffleRotate>(state, blocks, blockCount, counter, last);
}

void Blake2sCompressAvx2(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                         std::size_t blockCount, std::uint64_t counter, bool last) {
    CompressRows32<ShuffleRotate>(state, blocks, blockCount, counter, last);
}

}  // namespace tolvek::engine::blake2
