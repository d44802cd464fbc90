// BLAKE3 on eight 32-bit lanes of 256-bit registers: rotations by 16 and 8 as byte shuffles,
// by 12 and 7 as two shifts.
#include <immintrin.h>

#include "engine/Backends.h"
#include "engine/x86/Blake3Lanes.h"
#include "engine/x86/WordTranspose.h"

namespace tolvek::engine::blake3 {

namespace {

struct Lanes8 {
    using Vector = __m256i;
    static constexpr std::size_t kCount = 8;

    static Vector load(const void* address) {
        return _mm256_load_si256(static_cast<const __m256i*>(address));
    }
    static void store(void* address, Vector x) {
        _mm256_store_si256(static_cast<__m256i*>(address), x);
    }
    static Vector set1(std::uint32_t word) { return _mm256_set1_epi32(static_cast<int>(word)); }
    static Vector add(Vector x, Vector y) { return _mm256_add_epi32(x, y); }
    static Vector bitXor(Vector x, Vector y) { return _mm256_xor_si256(x, y); }
    static Vector ror16(Vector x) {
        const __m256i order =
            _mm256_setr_epi8(2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13, 2, 3, 0, 1, 6, 7,
                             4, 5, 10, 11, 8, 9, 14, 15, 12, 13);
        return _mm256_shuffle_epi8(x, order);
    }
    static Vector ror12(Vector x) {
        return _mm256_or_si256(_mm256_srli_epi32(x, 12), _mm256_slli_epi32(x, 20));
    }
    static Vector ror8(Vector x) {
        const __m256i order =
            _mm256_setr_epi8(1, 2, 3, 0, 5, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12, 1, 2, 3, 0, 5, 6,
                             7, 4, 9, 10, 11, 8, 13, 14, 15, 12);
        return _mm256_shuffle_epi8(x, order);
    }
    static Vector ror7(Vector x) {
        return _mm256_or_si256(_mm256_srli_epi32(x, 7), _mm256_slli_epi32(x, 25));
    }

    static void transposeBlocks(const std::array<const std::uint8_t*, 8>& starts,
                                std::size_t offset, Vector (&m)[16]) {
        TransposeBlockWords(starts, offset, m);
    }
};

}  // namespace

void HashManyAvx2(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
                  std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
                  std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
                  std::uint8_t* out) {
    HashLanes<Lanes8>(key, inputs, count, blockCount, counter, incrementCounter, flags, startFlags,
                      endFlags, out);
}

}  // namespace tolvek::engine::blake3
