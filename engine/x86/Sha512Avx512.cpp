// SHA-384/512 compression with the message schedules on 256-bit AVX-512 vectors: native 64-bit
// rotations and three-input logic. Built with -mavx512f -mavx512vl -mbmi2; run only when the
// CPU has them.
#include "engine/Backends.h"
#include "engine/x86/Sha512Schedule.h"

namespace tolvek::engine {

namespace {

struct Avx512Ops {
    template <int kCount>
    static __m256i rotateRight(__m256i words) {
        return _mm256_ror_epi64(words, kCount);
    }
    static __m256i xor3(__m256i a, __m256i b, __m256i c) {
        constexpr int kXorOfThree = 0x96;  // ternary-logic truth table of a ^ b ^ c
        return _mm256_ternarylogic_epi64(a, b, c, kXorOfThree);
    }
};

}  // namespace

void Sha512CompressAvx512(Sha64State& state, const std::uint8_t* blocks, std::size_t blockCount) {
    sha2::compressWithVectorSchedule<Avx512Ops>(state, blocks, blockCount);
}

}  // namespace tolvek::engine
