// SHA-384/512 compression with the message schedules of two blocks at a time on 256-bit vectors
// (each 128-bit half holds two words of one block), shared by the AVX2 and AVX-512 files, which
// include it under their own instruction sets and give the vector rotate and three-way XOR. The
// schedules of the next two blocks are computed while the scalar rounds of the current two run,
// so they stay off the rounds' dependency chain and the rounds read their words from memory.
//
// The code is kept small on purpose: the rounds run in a loop of passes of 40, not unrolled over
// both blocks' 160, because that much code outgrows the processor's cache of decoded
// instructions (and, on some code placements, its sets), and then decoding, not the rounds, sets
// the pace.
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
// Rounds per pass: a multiple of 8, so that the working variables' names come round again, and
// five rounds per schedule step, so that a pass takes the 8 steps after which the window's names
// do: the four passes over two blocks compute the next two blocks' schedules past the 16 loaded
// words, a group of 16 words of each block per pass.
constexpr std::size_t kRoundsPerPass = 40;
constexpr std::size_t kRoundsPerStep = kRoundsPerPass / 8;
constexpr std::size_t kPassesPerBlock = kSha512Rounds / kRoundsPerPass;
constexpr std::size_t kComputedGroups = (kSha512Rounds - 16) / 16;
static_assert(kComputedGroups == 2 * kPassesPerBlock);

// K[t] + W[t] of two blocks.
using ScheduledWords = std::array<std::uint64_t, kSha512Rounds>;
using PairSchedule = std::array<ScheduledWords, 2>;

// The schedules of two blocks in pairs of words: m_pairs[p % 8] holds W[2p] and W[2p+1] of the
// first block in its low half and of the second block in its high half, for the last 16 words.
// `Ops` gives rotateRight<count>(words) and xor3(a, b, c) on four 64-bit lanes.
template <class Ops>
class TwoBlockSchedule {
public:
    // Loads and stores the first 16 words of both blocks.
    void load(const std::uint8_t* firstBlock, const std::uint8_t* secondBlock, PairSchedule& out) {
        Unroll<8>([&](auto p) { load<p>(firstBlock, secondBlock, out); });
    }

    // Computes and stores pair 8 * group + P + 8 of both blocks (W[t], W[t+1] for
    // t = 16 * group + 2P + 16) from the eight pairs before it.
    template <std::size_t P>
    void next(std::size_t group, PairSchedule& out) {
        __m256i& words = m_pairs[P % 8];
        const __m256i wordsPlus1 = _mm256_alignr_epi8(m_pairs[(P + 1) % 8], words, 8);
        const __m256i wordsPlus9 =
            _mm256_alignr_epi8(m_pairs[(P + 5) % 8], m_pairs[(P + 4) % 8], 8);
        words = _mm256_add_epi64(_mm256_add_epi64(words, smallSigma0(wordsPlus1)),
                                 _mm256_add_epi64(wordsPlus9, smallSigma1(m_pairs[(P + 7) % 8])));
        store(16 * group + 2 * P + 16, words, out);
    }

private:
    // Loads and stores pair P (0..7) of both blocks.
    template <std::size_t P>
    void load(const std::uint8_t* firstBlock, const std::uint8_t* secondBlock, PairSchedule& out) {
        const __m256i kSwapWords =
            _mm256_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL, 0x08090a0b0c0d0e0fLL,
                              0x0001020304050607LL);
        const __m256i words = _mm256_set_m128i(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(secondBlock + 16 * P)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(firstBlock + 16 * P)));
        m_pairs[P] = _mm256_shuffle_epi8(words, kSwapWords);
        store(2 * P, m_pairs[P], out);
    }

    static __m256i smallSigma0(__m256i words) {
        return Ops::xor3(Ops::template rotateRight<1>(words), Ops::template rotateRight<8>(words),
                         _mm256_srli_epi64(words, 7));
    }

    static __m256i smallSigma1(__m256i words) {
        return Ops::xor3(Ops::template rotateRight<19>(words),
                         Ops::template rotateRight<61>(words), _mm256_srli_epi64(words, 6));
    }

    static void store(std::size_t t, __m256i words, PairSchedule& out) {
        const __m256i constants = _mm256_broadcastsi128_si256(
            _mm_load_si128(reinterpret_cast<const __m128i*>(&kSha512RoundConstants[t])));
        const __m256i sums = _mm256_add_epi64(words, constants);
        _mm_store_si128(reinterpret_cast<__m128i*>(&out[0][t]), _mm256_castsi256_si128(sums));
        _mm_store_si128(reinterpret_cast<__m128i*>(&out[1][t]),
                        _mm256_extracti128_si256(sums, 1));
    }

    __m256i m_pairs[8];  // a plain array: std::array drops the vector attributes
};

// 40 rounds of one block from their scheduled words, with a step of group `group` of the next
// two blocks' schedules before every fifth.
template <class Ops>
[[gnu::always_inline]] inline void pass(std::array<std::uint64_t, 8>& v,
                                        const std::uint64_t* scheduled,
                                        TwoBlockSchedule<Ops>& upcoming, std::size_t group,
                                        PairSchedule& next) {
    Unroll<kRoundsPerPass>([&](auto t) {
        if constexpr (t % kRoundsPerStep == 0) {
            upcoming.template next<t / kRoundsPerStep>(group, next);
        }
        round<t>(v, scheduled[t]);
    });
}

template <class Ops>
[[gnu::flatten]] void compressWithVectorSchedule(std::array<std::uint64_t, 8>& state,
                                                 const std::uint8_t* blocks,
                                                 std::size_t blockCount) {
    // A lone block is not worth two blocks' schedule ahead of its rounds: its schedule is
    // computed along with them, in scalar code.
    if (blockCount <= 1) {
        compressPortable(state, blocks, blockCount, kSha512RoundConstants);
        return;
    }
    // A missing block of a pair is the last one again, scheduled and never used, rather than a
    // read past the message.
    const auto block = [&](std::size_t index) {
        return blocks + kSha512BlockSize * std::min(index, blockCount - 1);
    };
    alignas(32) std::array<PairSchedule, 2> scheduled;
    TwoBlockSchedule<Ops> upcoming;
    upcoming.load(block(0), block(1), scheduled[0]);
    for (std::size_t group = 0; group < kComputedGroups; ++group) {
        Unroll<8>([&](auto p) { upcoming.template next<p>(group, scheduled[0]); });
    }
    for (std::size_t index = 0; index < blockCount; index += 2) {
        const PairSchedule& current = scheduled[index / 2 % 2];
        PairSchedule& next = scheduled[(index / 2 + 1) % 2];
        upcoming.load(block(index + 2), block(index + 3), next);
        // Without a second block there is no next pair either.
        const std::size_t blocksHere = std::min<std::size_t>(2, blockCount - index);
        for (std::size_t which = 0; which < blocksHere; ++which) {
            std::array<std::uint64_t, 8> v = state;
            for (std::size_t passIndex = 0; passIndex < kPassesPerBlock; ++passIndex) {
                const std::uint64_t* words = current[which].data() + kRoundsPerPass * passIndex;
                pass(v, words, upcoming, which * kPassesPerBlock + passIndex, next);
            }
            addInto(state, v);
        }
    }
}

}  // namespace
}  // namespace tolvek::engine::sha2
