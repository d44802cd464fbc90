// SHA-384/512 compression with the message schedules on 256-bit AVX2 vectors (rotations as two
// shifts, or one byte shuffle) and the rounds' rotations on BMI2's rorx, which leaves its source
// intact. Built with
// -mavx2 -mbmi -mbmi2; run only when the CPU has them.
#include "engine/Backends.h"
#include "engine/x86/Sha512Schedule.h"

namespace tolvek::engine {

namespace {

struct Avx2Ops {
    template <int kCount>
    static __m256i rotateRight(__m256i words) {
        if constexpr (kCount == 8) {
            const __m256i kByteLeft =
                _mm256_set_epi64x(0x080f0e0d0c0b0a09LL, 0x0007060504030201LL,
                                  0x080f0e0d0c0b0a09LL, 0x0007060504030201LL);
            return _mm256_shuffle_epi8(words, kByteLeft);
        } else {
            return _mm256_or_si256(_mm256_srli_epi64(words, kCount),
                                   _mm256_slli_epi64(words, 64 - kCount));
        }
    }
    static __m256i xor3(__m256i a, __m256i b, __m256i c) {
        return _mm256_xor_si256(_mm256_xor_si256(a, b), c);
    }
};

}  // namespace

void Sha512CompressAvx2(Sha64State& state, const std::uint8_t* blocks, std::size_t blockCount) {
    sha2::compressWithVectorSchedule<Avx2Ops>(state, blocks, blockCount);
}

}  // namespace tolvek::engine
