// SHA-1 and SHA-256 compressions on the SHA extensions (sha1rnds4, sha256rnds2 and their
// message-schedule helpers). Built with -msha -msse4.1; run only when the CPU has them.
#include <immintrin.h>

#include "engine/Backends.h"
#include "engine/ShaConstants.h"
#include "engine/Unroll.h"

namespace tolvek::engine {

namespace {

// Reverses the bytes of each 32-bit word: the message is big-endian.
inline __m128i loadBigEndianWords(const std::uint8_t* bytes) {
    const __m128i kSwapWords = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)), kSwapWords);
}

}  // namespace

[[gnu::flatten]] void Sha1CompressShaNi(std::array<std::uint32_t, 8>& state,
                                        const std::uint8_t* blocks, std::size_t blockCount) {
    // The instructions keep A in the highest lane and E alone in the highest lane of its own
    // register, so the words load in reverse order.
    __m128i abcd =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state.data())), 0x1B);
    __m128i e = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    for (; blockCount != 0; --blockCount, blocks += 64) {
        const __m128i abcdBefore = abcd;
        const __m128i eBefore = e;
        // message[q % 4] holds W[4q .. 4q+3], W[4q] in the highest lane.
        __m128i message[4];  // a plain array: std::array drops the vector attributes
        __m128i abcdPrevious = abcd;
        Unroll<20>([&](auto quad) {
            constexpr std::size_t q = quad;
            __m128i& words = message[q % 4];
            if constexpr (q < 4) {
                words = _mm_shuffle_epi32(loadBigEndianWords(blocks + 16 * q), 0x1B);
            } else {
                // W[t] = rotl1(W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16]) four words at a time.
                words = _mm_sha1msg2_epu32(
                    _mm_xor_si128(_mm_sha1msg1_epu32(words, message[(q + 1) % 4]),
                                  message[(q + 2) % 4]),
                    message[(q + 3) % 4]);
            }
            if constexpr (q == 0) {
                e = _mm_add_epi32(e, words);
            } else {
                // E of these four rounds is A of four rounds back, rotated left by 30.
                e = _mm_sha1nexte_epu32(abcdPrevious, words);
            }
            abcdPrevious = abcd;
            abcd = _mm_sha1rnds4_epu32(abcd, e, q / 5);
        });
        e = _mm_sha1nexte_epu32(abcdPrevious, eBefore);
        abcd = _mm_add_epi32(abcd, abcdBefore);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state.data()), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e, 3));
}

[[gnu::flatten]] void Sha256CompressShaNi(std::array<std::uint32_t, 8>& state,
                                          const std::uint8_t* blocks, std::size_t blockCount) {
    // sha256rnds2 works on the pairs A,B,E,F and C,D,G,H, first-named word in the highest lane.
    const __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state.data()));
    const __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state.data() + 4));
    const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
    for (; blockCount != 0; --blockCount, blocks += 64) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        // message[q % 4] holds W[4q .. 4q+3], W[4q] in the lowest lane.
        __m128i message[4];  // a plain array: std::array drops the vector attributes
        Unroll<16>([&](auto quad) {
            constexpr std::size_t q = quad;
            __m128i& words = message[q % 4];
            if constexpr (q < 4) {
                words = loadBigEndianWords(blocks + 16 * q);
            } else {
                // W[t] = s1(W[t-2]) + W[t-7] + s0(W[t-15]) + W[t-16] four words at a time.
                const __m128i withSigma0 =
                    _mm_add_epi32(_mm_sha256msg1_epu32(words, message[(q + 1) % 4]),
                                  _mm_alignr_epi8(message[(q + 3) % 4], message[(q + 2) % 4], 4));
                words = _mm_sha256msg2_epu32(withSigma0, message[(q + 3) % 4]);
            }
            const __m128i scheduled = _mm_add_epi32(
                words,
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(&kSha256RoundConstants[4 * q])));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, scheduled);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(scheduled, 0x0E));
        });
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state.data()), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state.data() + 4), _mm_alignr_epi8(dchg, feba, 8));
}

}  // namespace tolvek::engine
