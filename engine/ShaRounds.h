// The SHA-256 and SHA-384/512 round and message-schedule steps (FIPS 180-4, sections 4.1.2,
// 4.1.3, 6.2.2 and 6.4.2), written once over the word size and shared by every compression path.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/EngineUtils.h"
#include "engine/Unroll.h"

namespace tolvek::engine::sha2 {

template <class Word>
struct Rotations;

template <>
struct Rotations<std::uint32_t> {
    static constexpr std::array<unsigned, 3> kBigSigma0 = {2, 13, 22};
    static constexpr std::array<unsigned, 3> kBigSigma1 = {6, 11, 25};
    // Two rotations and a shift.
    static constexpr std::array<unsigned, 3> kSmallSigma0 = {7, 18, 3};
    static constexpr std::array<unsigned, 3> kSmallSigma1 = {17, 19, 10};
};

template <>
struct Rotations<std::uint64_t> {
    static constexpr std::array<unsigned, 3> kBigSigma0 = {28, 34, 39};
    static constexpr std::array<unsigned, 3> kBigSigma1 = {14, 18, 41};
    static constexpr std::array<unsigned, 3> kSmallSigma0 = {1, 8, 7};
    static constexpr std::array<unsigned, 3> kSmallSigma1 = {19, 61, 6};
};

inline std::uint32_t rotateRight(std::uint32_t word, unsigned count) {
    return RotR32(word, count);
}
inline std::uint64_t rotateRight(std::uint64_t word, unsigned count) {
    return RotR64(count, word);
}

template <class Word>
inline Word bigSigma(Word word, const std::array<unsigned, 3>& counts) {
    return rotateRight(word, counts[0]) ^ rotateRight(word, counts[1]) ^
           rotateRight(word, counts[2]);
}

template <class Word>
inline Word smallSigma(Word word, const std::array<unsigned, 3>& counts) {
    return rotateRight(word, counts[0]) ^ rotateRight(word, counts[1]) ^ (word >> counts[2]);
}

// Round `Round` over the working variables a..h, kept in `v` without moving them: each round
// renames instead, so round t reads a from v[(8 - t mod 8) mod 8]. `scheduled` is K[t] + W[t].
template <std::size_t Round, class Word>
[[gnu::always_inline]] inline void round(std::array<Word, 8>& v, Word scheduled) {
    constexpr std::size_t a = (8 - Round % 8) % 8;
    const Word& b = v[(a + 1) % 8];
    const Word& c = v[(a + 2) % 8];
    Word& d = v[(a + 3) % 8];
    const Word& e = v[(a + 4) % 8];
    const Word& f = v[(a + 5) % 8];
    const Word& g = v[(a + 6) % 8];
    Word& h = v[(a + 7) % 8];
    using R = Rotations<Word>;
    h += bigSigma(e, R::kBigSigma1) + (g ^ (e & (f ^ g))) + scheduled;
    d += h;
    // Majority as b ^ ((a ^ b) & (b ^ c)): this round's a ^ b is the next round's b ^ c.
    h += bigSigma(v[a], R::kBigSigma0) + (b ^ ((v[a] ^ b) & (b ^ c)));
}

// W[t] for t >= 16 in a rolling window of the last 16 words, w[t mod 16] holding W[t - 16].
template <std::size_t T, class Word>
[[gnu::always_inline]] inline Word scheduleWord(std::array<Word, 16>& w) {
    using R = Rotations<Word>;
    Word& word = w[T % 16];
    word += smallSigma(w[(T - 2) % 16], R::kSmallSigma1) + w[(T - 7) % 16] +
            smallSigma(w[(T - 15) % 16], R::kSmallSigma0);
    return word;
}

template <class Word>
inline Word loadBigEndian(const std::uint8_t* bytes) {
    if constexpr (sizeof(Word) == 4) {
        return LoadBe32(bytes);
    } else {
        return LoadBe64(bytes);
    }
}

template <class Word>
inline void addInto(std::array<Word, 8>& state, const std::array<Word, 8>& working) {
    for (std::size_t index = 0; index < state.size(); ++index) {
        state[index] += working[index];
    }
}

// The whole compression of each block with the schedule computed alongside the rounds, for
// SHA-256 (32-bit words, 64 rounds) and SHA-384/512 (64-bit words, 80 rounds).
template <class Word, std::size_t Rounds>
[[gnu::flatten]] void compressPortable(std::array<Word, 8>& state, const std::uint8_t* blocks,
                                       std::size_t blockCount,
                                       const std::array<Word, Rounds>& constants) {
    constexpr std::size_t kBlockSize = 16 * sizeof(Word);
    for (; blockCount != 0; --blockCount, blocks += kBlockSize) {
        std::array<Word, 16> w;
        std::array<Word, 8> v = state;
        Unroll<Rounds>([&](auto t) {
            Word word;
            if constexpr (t < 16) {
                word = w[t] = loadBigEndian<Word>(blocks + t * sizeof(Word));
            } else {
                word = scheduleWord<t>(w);
            }
            round<t>(v, word + constants[t]);
        });
        addInto(state, v);
    }
}

}  // namespace tolvek::engine::sha2
