// SHA-384/512 compression with the message schedules of two blocks at a time on 256-bit vectors
// (each 128-bit half holds two words of one block), shared by the AVX2 and AVX-512 files, which
// include it under their own instruction sets and give the vector rotate and three-way XOR. The
// schedules of the next two blocks are computed while the scalar rounds of the current two
// run, so they stay off the rounds' dependency chain and the rounds read their words from memory.
// Internal linkage on purpose: each file compiles its own copy with its own flags.
#pragma once

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/ShaConstants.h"
#include "engine/ShaRounds.h"
#include "engine/Unroll.h"

namespace tolvek::engine::sha2 {
namespace {  // NOLINT(google-build-namespaces): see above

constexpr std::size_t kSha512BlockSize = 128;
constexpr std::size_t kSha512Rounds = 80;

// K[t] + W[t] of one block.
using ScheduledWords = std::array<std::uint64_t, kSha512Rounds>;

// The schedules of two blocks in pairs of words: m_pairs[p % 8] holds W[2p] and W[2p+1] of the
// first block in its low half and of the second block in its high half, for the last 16 words.
// `Ops` gives rotateRight<count>(words) and xor3(a, b, c) on four 64-bit lanes.
template <class Ops>
class TwoBlockSchedule {
public:
    TwoBlockSchedule(ScheduledWords& first, ScheduledWords& second)
        : m_first(first), m_second(second) {}

    // Loads and stores pair P (0..7) of both blocks.
    template <std::size_t P>
    void load(const std::uint8_t* firstBlock, const std::uint8_t* secondBlock) {
        const __m256i kSwapWords =
            _mm256_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL, 0x08090a0b0c0d0e0fLL,
                              0x0001020304050607LL);
        const __m256i words = _mm256_set_m128i(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(secondBlock + 16 * P)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(firstBlock + 16 * P)));
        m_pairs[P] = _mm256_shuffle_epi8(words, kSwapWords);
        store(2 * P, m_pairs[P]);
    }

    // Computes and stores pair P + 8 (W[2P+16], W[2P+17]) of both blocks from pairs P .. P+7.
    template <std::size_t P>
    void next() {
        __m256i& words = m_pairs[P % 8];
        const __m256i wordsPlus1 = _mm256_alignr_epi8(m_pairs[(P + 1) % 8], words, 8);
        const __m256i wordsPlus9 =
            _mm256_alignr_epi8(m_pairs[(P + 5) % 8], m_pairs[(P + 4) % 8], 8);
        words = _mm256_add_epi64(_mm256_add_epi64(words, smallSigma0(wordsPlus1)),
                                 _mm256_add_epi64(wordsPlus9, smallSigma1(m_pairs[(P + 7) % 8])));
        store(2 * P + 16, words);
    }

private:
    static __m256i smallSigma0(__m256i words) {
        return Ops::xor3(Ops::template rotateRight<1>(words), Ops::template rotateRight<8>(words),
                         _mm256_srli_epi64(words, 7));
    }

    static __m256i smallSigma1(__m256i words) {
        return Ops::xor3(Ops::template rotateRight<19>(words),
                         Ops::template rotateRight<61>(words), _mm256_srli_epi64(words, 6));
    }

    void store(std::size_t t, __m256i words) {
        const __m256i constants = _mm256_broadcastsi128_si256(
            _mm_load_si128(reinterpret_cast<const __m128i*>(&kSha512RoundConstants[t])));
        const __m256i sums = _mm256_add_epi64(words, constants);
        _mm_store_si128(reinterpret_cast<__m128i*>(&m_first[t]), _mm256_castsi256_si128(sums));
        _mm_store_si128(reinterpret_cast<__m128i*>(&m_second[t]),
                        _mm256_extracti128_si256(sums, 1));
    }

    ScheduledWords& m_first;
    ScheduledWords& m_second;
    __m256i m_pairs[8];  // a plain array: std::array drops the vector attributes
};

// The rounds of one block from its scheduled words, with step `firstStep + t / 4` of the next
// two blocks' schedule before each fourth round t: a step loads pair s (s < 8) or computes pair
// s (8 <= s < 40), so the two blocks' rounds share the 40 steps and the vector work spreads
// evenly between the integer rounds.
template <class Ops, std::size_t kFirstStep>
[[gnu::always_inline]] inline void roundsOfBlock(std::array<std::uint64_t, 8>& state,
                                                 const ScheduledWords& scheduled,
                                                 TwoBlockSchedule<Ops>& upcoming,
                                                 const std::uint8_t* firstBlock,
                                                 const std::uint8_t* secondBlock) {
    std::array<std::uint64_t, 8> v = state;
    Unroll<kSha512Rounds>([&](auto t) {
        if constexpr (t % 4 == 0) {
            constexpr std::size_t kStep = kFirstStep + t / 4;
            if constexpr (kStep < 8) {
                upcoming.template load<kStep>(firstBlock, secondBlock);
            } else {
                upcoming.template next<kStep - 8>();
            }
        }
        round<t>(v, scheduled[t]);
    });
    addInto(state, v);
}

template <class Ops>
[[gnu::flatten]] void compressWithVectorSchedule(std::array<std::uint64_t, 8>& state,
                                                 const std::uint8_t* blocks,
                                                 std::size_t blockCount) {
    if (blockCount == 0) {
        return;
    }
    // A missing block of a pair is the last one again, scheduled and never used, rather than a
    // read past the message.
    const auto block = [&](std::size_t index) {
        return blocks + kSha512BlockSize * std::min(index, blockCount - 1);
    };
    alignas(32) std::array<std::array<ScheduledWords, 2>, 2> scheduled;
    TwoBlockSchedule<Ops> first(scheduled[0][0], scheduled[0][1]);
    Unroll<8>([&](auto p) { first.template load<p>(block(0), block(1)); });
    Unroll<32>([&](auto p) { first.template next<p>(); });
    for (std::size_t index = 0; index < blockCount; index += 2) {
        const std::array<ScheduledWords, 2>& current = scheduled[index / 2 % 2];
        std::array<ScheduledWords, 2>& next = scheduled[(index / 2 + 1) % 2];
        TwoBlockSchedule<Ops> upcoming(next[0], next[1]);
        const std::uint8_t* nextFirst = block(index + 2);
        const std::uint8_t* nextSecond = block(index + 3);
        roundsOfBlock<Ops, 0>(state, current[0], upcoming, nextFirst, nextSecond);
        // Without a second block there is no next pair either.
        if (index + 1 < blockCount) {
            roundsOfBlock<Ops, 20>(state, current[1], upcoming, nextFirst, nextSecond);
        }
    }
}

}  // namespace
}  // namespace tolvek::engine::sha2
