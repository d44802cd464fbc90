// Adler-32 over 32-byte vectors with AVX2. For a run of k vectors after sums (s1, s2):
//   s1' = s1 + sum of all bytes
//   s2' = s2 + 32 k s1 + 32 * (sum over vectors of the bytes of all earlier vectors)
//            + sum over vectors of (32, 31, ..., 1) . bytes
// The last two sums are kept per 32-bit lane and reduced once per run.
#include <immintrin.h>

#include <algorithm>
#include <array>

#include "engine/Adler.h"
#include "engine/Backends.h"

namespace tolvek::engine {

namespace {

constexpr std::uint32_t kModulus = 65521;
// Vectors per run: the earlier-vectors sum of a lane grows to 2040 k (k - 1) / 2, which must
// stay below 2^32.
constexpr std::size_t kVectorsPerRun = 2048;

std::uint64_t laneSum(__m256i lanes) {
    std::array<std::uint32_t, 8> values;
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(values.data()), lanes);
    std::uint64_t sum = 0;
    for (const std::uint32_t value : values) {
        sum += value;
    }
    return sum;
}

}  // namespace

std::uint32_t Adler32UpdateAvx2(std::uint32_t adler, const std::uint8_t* bytes, std::size_t length) {
    const __m256i weights =
        _mm256_setr_epi8(32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14,
                         13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i zero = _mm256_setzero_si256();
    std::uint64_t sum1 = adler & 0xFFFF;
    std::uint64_t sum2 = adler >> 16;
    while (length >= 32) {
        const std::size_t vectors = std::min(length / 32, kVectorsPerRun);
        __m256i byteSums = zero;
        __m256i earlierSums = zero;
        __m256i weightedSums = zero;
        for (std::size_t vector = 0; vector < vectors; ++vector, bytes += 32) {
            const __m256i loaded = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
            earlierSums = _mm256_add_epi32(earlierSums, byteSums);
            byteSums = _mm256_add_epi32(byteSums, _mm256_sad_epu8(loaded, zero));
            weightedSums = _mm256_add_epi32(
                weightedSums, _mm256_madd_epi16(_mm256_maddubs_epi16(loaded, weights), ones));
        }
        const std::uint64_t runLength = vectors * 32;
        length -= runLength;
        sum2 = (sum2 + sum1 * runLength + 32 * laneSum(earlierSums) + laneSum(weightedSums)) %
               kModulus;
        sum1 = (sum1 + laneSum(byteSums)) % kModulus;
    }
    return Adler32UpdatePortable(static_cast<std::uint32_t>(sum1 | (sum2 << 16)), bytes, length);
}

}  // namespace tolvek::engine
