// SHA-384/512 compression with the message schedule on 128-bit AVX-512 vectors (two words per
// step, native 64-bit rotations) running beside the scalar rounds. Built with -mavx512f
// -mavx512vl -mbmi2; run only when the CPU has them.
#include <immintrin.h>

#include "engine/ShaConstants.h"
#include "engine/ShaRounds.h"
#include "engine/x86/ShaX86.h"

namespace tolvek::engine {

namespace {

inline __m128i loadBigEndianPair(const std::uint8_t* bytes) {
    const __m128i kSwapWords = _mm_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)), kSwapWords);
}

constexpr int kXorOfThree = 0x96;  // ternary-logic truth table of a ^ b ^ c

inline __m128i smallSigma0(__m128i words) {
    return _mm_ternarylogic_epi64(_mm_ror_epi64(words, 1), _mm_ror_epi64(words, 8),
                                  _mm_srli_epi64(words, 7), kXorOfThree);
}

inline __m128i smallSigma1(__m128i words) {
    return _mm_ternarylogic_epi64(_mm_ror_epi64(words, 19), _mm_ror_epi64(words, 61),
                                  _mm_srli_epi64(words, 6), kXorOfThree);
}

// Stores K[t] + W[t] for the pair of words t, t+1 held in `words`.
inline void storeScheduled(std::array<std::uint64_t, 80>& scheduled, std::size_t t, __m128i words) {
    const __m128i constants =
        _mm_load_si128(reinterpret_cast<const __m128i*>(&kSha512RoundConstants[t]));
    _mm_store_si128(reinterpret_cast<__m128i*>(&scheduled[t]), _mm_add_epi64(words, constants));
}

}  // namespace

[[gnu::flatten]] void Sha512CompressAvx512(std::array<std::uint64_t, 8>& state,
                                           const std::uint8_t* blocks, std::size_t blockCount) {
    for (; blockCount != 0; --blockCount, blocks += 128) {
        alignas(16) std::array<std::uint64_t, 80> scheduled;
        // pairs[p % 8] holds W[2p] (low lane) and W[2p+1] of the last 16 words.
        __m128i pairs[8];  // a plain array: std::array drops the vector attributes
        Unroll<8>([&](auto p) {
            pairs[p] = loadBigEndianPair(blocks + 16 * p);
            storeScheduled(scheduled, 2 * p, pairs[p]);
        });
        std::array<std::uint64_t, 8> v = state;
        Unroll<80>([&](auto t) {
            // Every second round computes the pair of words needed 16 rounds later, off the
            // rounds' dependency chain.
            if constexpr (t % 2 == 0 && t < 64) {
                constexpr std::size_t p = t / 2;
                __m128i& words = pairs[p % 8];
                const __m128i wordsPlus1 = _mm_alignr_epi8(pairs[(p + 1) % 8], words, 8);
                const __m128i wordsPlus9 =
                    _mm_alignr_epi8(pairs[(p + 5) % 8], pairs[(p + 4) % 8], 8);
                words = _mm_add_epi64(_mm_add_epi64(words, smallSigma0(wordsPlus1)),
                                      _mm_add_epi64(wordsPlus9, smallSigma1(pairs[(p + 7) % 8])));
                storeScheduled(scheduled, t + 16, words);
            }
            sha2::round<t>(v, scheduled[t]);
        });
        sha2::addInto(state, v);
    }
}

}  // namespace tolvek::engine
