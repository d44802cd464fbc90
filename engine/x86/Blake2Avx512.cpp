// BLAKE2 rows with AVX-512 VL: every rotation is one instruction.
#include "engine/x86/Blake2Rows.h"
#include "engine/x86/Blake2X86.h"

namespace tolvek::engine::blake2 {

namespace {

struct NativeRotate {
    static __m256i r32(__m256i x) { return _mm256_ror_epi64(x, 32); }
    static __m256i r24(__m256i x) { return _mm256_ror_epi64(x, 24); }
    static __m256i r16(__m256i x) { return _mm256_ror_epi64(x, 16); }
    static __m256i r63(__m256i x) { return _mm256_ror_epi64(x, 63); }

    static __m128i r16(__m128i x) { return _mm_ror_epi32(x, 16); }
    static __m128i r12(__m128i x) { return _mm_ror_epi32(x, 12); }
    static __m128i r8(__m128i x) { return _mm_ror_epi32(x, 8); }
    static __m128i r7(__m128i x) { return _mm_ror_epi32(x, 7); }
};

}  // namespace

void Blake2bCompressAvx512(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                           std::size_t blockCount, std::uint64_t counter, bool last) {
    CompressRows64<NativeRotate>(state, blocks, blockCount, counter, last);
}

void Blake2sCompressAvx512(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                           std::size_t blockCount, std::uint64_t counter, bool last) {
    CompressRows32<NativeRotate>(state, blocks, blockCount, counter, last);
}

}  // namespace tolvek::engine::blake2
