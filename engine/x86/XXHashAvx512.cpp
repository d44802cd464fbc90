// XXH3 stripes on one 512-bit register of eight accumulators.
#include <immintrin.h>

#include "engine/Backends.h"
#include "engine/XXHash.h"
#include "engine/XXHashSecret.h"

namespace tolvek::engine::xxhash {

namespace {

__m512i accumulate(__m512i acc, __m512i data, __m512i key) {
    const __m512i keyed = _mm512_xor_si512(data, key);
    const __m512i product = _mm512_mul_epu32(keyed, _mm512_srli_epi64(keyed, 32));
    const __m512i swapped = _mm512_shuffle_epi32(data, _MM_PERM_BADC);
    return _mm512_add_epi64(acc, _mm512_add_epi64(product, swapped));
}

__m512i scramble(__m512i acc, __m512i key) {
    const __m512i prime = _mm512_set1_epi32(static_cast<int>(kPrime32_1));
    // (acc ^ acc >> 47) ^ key as one three-input logic operation.
    acc = _mm512_ternarylogic_epi64(acc, _mm512_srli_epi64(acc, 47), key, 0x96);
    const __m512i low = _mm512_mul_epu32(acc, prime);
    const __m512i high = _mm512_mul_epu32(_mm512_srli_epi64(acc, 32), prime);
    return _mm512_add_epi64(low, _mm512_slli_epi64(high, 32));
}

__m512i load(const void* bytes) { return _mm512_loadu_si512(bytes); }

}  // namespace

void AccumulateStripesAvx512(Accumulators& accumulators, const std::uint8_t* stripes,
                             std::size_t stripeCount, std::size_t stripeInBlock) {
    const std::uint8_t* secret = kDefaultSecret.data();
    const __m512i scrambleKey = load(secret + kDefaultSecret.size() - kStripeSize);
    __m512i acc = load(accumulators.data());
    for (; stripeCount != 0; --stripeCount, stripes += kStripeSize) {
        acc = accumulate(acc, load(stripes), load(secret + 8 * stripeInBlock));
        if (++stripeInBlock == kStripesPerBlock) {
            acc = scramble(acc, scrambleKey);
            stripeInBlock = 0;
        }
    }
    _mm512_storeu_si512(accumulators.data(), acc);
}

}  // namespace tolvek::engine::xxhash
