// XXH3 stripes on two 256-bit registers of four accumulators each.
#include <immintrin.h>

#include "engine/Backends.h"
#include "engine/XXHash.h"
#include "engine/XXHashSecret.h"

namespace tolvek::engine::xxhash {

namespace {

// acc += swapped-lane data + low half * high half of (data ^ key), on four lanes.
__m256i accumulate(__m256i acc, __m256i data, __m256i key) {
    const __m256i keyed = _mm256_xor_si256(data, key);
    const __m256i product = _mm256_mul_epu32(keyed, _mm256_srli_epi64(keyed, 32));
    const __m256i swapped = _mm256_shuffle_epi32(data, _MM_SHUFFLE(1, 0, 3, 2));
    return _mm256_add_epi64(acc, _mm256_add_epi64(product, swapped));
}

__m256i scramble(__m256i acc, __m256i key) {
    const __m256i prime = _mm256_set1_epi32(static_cast<int>(kPrime32_1));
    acc = _mm256_xor_si256(_mm256_xor_si256(acc, _mm256_srli_epi64(acc, 47)), key);
    const __m256i low = _mm256_mul_epu32(acc, prime);
    const __m256i high = _mm256_mul_epu32(_mm256_srli_epi64(acc, 32), prime);
    return _mm256_add_epi64(low, _mm256_slli_epi64(high, 32));
}

__m256i load(const std::uint8_t* bytes) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
}

}  // namespace

void AccumulateStripesAvx2(Accumulators& accumulators, const std::uint8_t* stripes,
                           std::size_t stripeCount, std::size_t stripeInBlock) {
    const std::uint8_t* secret = kDefaultSecret.data();
    const std::uint8_t* scrambleKey = secret + kDefaultSecret.size() - kStripeSize;
    __m256i low = load(reinterpret_cast<const std::uint8_t*>(accumulators.data()));
    __m256i high = load(reinterpret_cast<const std::uint8_t*>(accumulators.data() + 4));
    for (; stripeCount != 0; --stripeCount, stripes += kStripeSize) {
        const std::uint8_t* key = secret + 8 * stripeInBlock;
        low = accumulate(low, load(stripes), load(key));
        high = accumulate(high, load(stripes + 32), load(key + 32));
        if (++stripeInBlock == kStripesPerBlock) {
            low = scramble(low, load(scrambleKey));
            high = scramble(high, load(scrambleKey + 32));
            stripeInBlock = 0;
        }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(accumulators.data()), low);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(accumulators.data() + 4), high);
}

}  // namespace tolvek::engine::xxhash
