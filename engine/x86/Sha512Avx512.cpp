// SHA-384/512 compression with the message schedule on 128-bit AVX-512 vectors (two words per
// step, native 64-bit rotations). The schedule of the next block is computed while the scalar
// rounds of the current one run, so it stays off their dependency chain and the rounds read
// their words from memory. Built with -mavx512f -mavx512vl -mbmi2; run only when the CPU has
// them.
#include <immintrin.h>

#include <algorithm>

#include "engine/Backends.h"
#include "engine/ShaConstants.h"
#include "engine/ShaRounds.h"

namespace tolvek::engine {

namespace {

constexpr std::size_t kBlockSize = 128;
constexpr std::size_t kRounds = 80;

// K[t] + W[t] of one block.
using ScheduledWords = std::array<std::uint64_t, kRounds>;

constexpr int kXorOfThree = 0x96;  // ternary-logic truth table of a ^ b ^ c

inline __m128i smallSigma0(__m128i words) {
    return _mm_ternarylogic_epi64(_mm_ror_epi64(words, 1), _mm_ror_epi64(words, 8),
                                  _mm_srli_epi64(words, 7), kXorOfThree);
}

inline __m128i smallSigma1(__m128i words) {
    return _mm_ternarylogic_epi64(_mm_ror_epi64(words, 19), _mm_ror_epi64(words, 61),
                                  _mm_srli_epi64(words, 6), kXorOfThree);
}

// The message schedule in pairs: pairs[p % 8] holds W[2p] (low lane) and W[2p+1] of the last
// 16 words.
class PairSchedule {
public:
    // Loads and stores pair P (0..7) of the block.
    template <std::size_t P>
    void load(const std::uint8_t* block, ScheduledWords& scheduled) {
        const __m128i kSwapWords = _mm_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL);
        m_pairs[P] = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * P)), kSwapWords);
        store(scheduled, 2 * P, m_pairs[P]);
    }

    // Computes and stores pair P + 8 (W[2P+16], W[2P+17]) from pairs P .. P+7.
    template <std::size_t P>
    void next(ScheduledWords& scheduled) {
        __m128i& words = m_pairs[P % 8];
        const __m128i wordsPlus1 = _mm_alignr_epi8(m_pairs[(P + 1) % 8], words, 8);
        const __m128i wordsPlus9 = _mm_alignr_epi8(m_pairs[(P + 5) % 8], m_pairs[(P + 4) % 8], 8);
        words = _mm_add_epi64(_mm_add_epi64(words, smallSigma0(wordsPlus1)),
                              _mm_add_epi64(wordsPlus9, smallSigma1(m_pairs[(P + 7) % 8])));
        store(scheduled, 2 * P + 16, words);
    }

private:
    static void store(ScheduledWords& scheduled, std::size_t t, __m128i words) {
        const __m128i constants =
            _mm_load_si128(reinterpret_cast<const __m128i*>(&kSha512RoundConstants[t]));
        _mm_store_si128(reinterpret_cast<__m128i*>(&scheduled[t]), _mm_add_epi64(words, constants));
    }

    __m128i m_pairs[8];  // a plain array: std::array drops the vector attributes
};

[[gnu::flatten]] void scheduleBlock(const std::uint8_t* block, ScheduledWords& scheduled) {
    PairSchedule schedule;
    Unroll<8>([&](auto p) { schedule.load<p>(block, scheduled); });
    Unroll<32>([&](auto p) { schedule.next<p>(scheduled); });
}

}  // namespace

[[gnu::flatten]] void Sha512CompressAvx512(std::array<std::uint64_t, 8>& state,
                                           const std::uint8_t* blocks, std::size_t blockCount) {
    if (blockCount == 0) {
        return;
    }
    alignas(16) std::array<ScheduledWords, 2> scheduled;
    scheduleBlock(blocks, scheduled[0]);
    for (std::size_t index = 0; index < blockCount; ++index) {
        const ScheduledWords& current = scheduled[index % 2];
        ScheduledWords& upcoming = scheduled[(index + 1) % 2];
        // The last block schedules itself again rather than read past the message.
        const std::uint8_t* nextBlock = blocks + kBlockSize * std::min(index + 1, blockCount - 1);
        PairSchedule schedule;
        std::array<std::uint64_t, 8> v = state;
        Unroll<kRounds>([&](auto t) {
            if constexpr (t < 8) {
                schedule.load<t>(nextBlock, upcoming);
            } else if constexpr (t >= 16 && t % 2 == 0) {
                schedule.next<(t - 16) / 2>(upcoming);
            }
            sha2::round<t>(v, current[t]);
        });
        sha2::addInto(state, v);
    }
}

}  // namespace tolvek::engine
