// The lane-parallel BLAKE3 compression shared by the AVX2 and AVX-512 files, which include it
// under their own instruction sets: state word i of every input in register v[i], message
// words transposed into the same shape. `Lanes` supplies the register type, its operations and
// the quarter-round.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/Blake3.h"
#include "engine/Blake3Schedule.h"
#include "engine/ShaConstants.h"
#include "engine/Unroll.h"

namespace tolvek::engine::blake3 {

// One compression in every lane: the chaining values `value` become the next ones, from message
// words `m` and each lane's counter halves, block length and flags.
template <class Lanes, class Vector = typename Lanes::Vector>
[[gnu::always_inline]] inline void CompressLanes(Vector (&value)[8], const Vector (&m)[16],
                                                 Vector counterLow, Vector counterHigh,
                                                 Vector blockLength, Vector flags) {
    Vector v[16] = {value[0],
                    value[1],
                    value[2],
                    value[3],
                    value[4],
                    value[5],
                    value[6],
                    value[7],
                    Lanes::set1(kSha256InitialValues[0]),
                    Lanes::set1(kSha256InitialValues[1]),
                    Lanes::set1(kSha256InitialValues[2]),
                    Lanes::set1(kSha256InitialValues[3]),
                    counterLow,
                    counterHigh,
                    blockLength,
                    flags};
    const auto mix = [&](std::size_t a, std::size_t b, std::size_t c, std::size_t d,
                         const Vector& x,
                         const Vector& y) { Lanes::quarterRound(v[a], v[b], v[c], v[d], x, y); };
    blake3::Rounds(m, mix);
    for (std::size_t word = 0; word < 8; ++word) {
        value[word] = Lanes::bitXor(v[word], v[word + 8]);
    }
}

template <class Lanes>
[[gnu::flatten]] void HashLanes(const ChainingValue& key, const std::uint8_t* inputs,
                                std::size_t count, std::size_t blockCount, std::uint64_t counter,
                                bool incrementCounter, std::uint32_t flags,
                                std::uint32_t startFlags, std::uint32_t endFlags,
                                std::uint8_t* out) {
    using Vector = typename Lanes::Vector;
    constexpr std::size_t kLanes = Lanes::kCount;
    const std::size_t stride = blockCount * kBlockSize;
    // Unused lanes repeat the last input; their results are dropped.
    std::array<const std::uint8_t*, kLanes> starts;
    alignas(64) std::array<std::uint32_t, kLanes> counterLow;
    alignas(64) std::array<std::uint32_t, kLanes> counterHigh;
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
        const std::size_t input = lane < count ? lane : count - 1;
        starts[lane] = inputs + input * stride;
        const std::uint64_t laneCounter = incrementCounter ? counter + input : counter;
        counterLow[lane] = static_cast<std::uint32_t>(laneCounter);
        counterHigh[lane] = static_cast<std::uint32_t>(laneCounter >> 32);
    }
    const Vector low = Lanes::load(counterLow.data());
    const Vector high = Lanes::load(counterHigh.data());

    Vector value[8];
    for (std::size_t word = 0; word < 8; ++word) {
        value[word] = Lanes::set1(key[word]);
    }
    for (std::size_t block = 0; block < blockCount; ++block) {
        Vector m[16];
        Lanes::transposeBlocks(starts, block * kBlockSize, m);
        const std::uint32_t blockFlags =
            flags | (block == 0 ? startFlags : 0) | (block + 1 == blockCount ? endFlags : 0);
        CompressLanes<Lanes>(value, m, low, high, Lanes::set1(kBlockSize), Lanes::set1(blockFlags));
    }
    alignas(64) std::array<std::array<std::uint32_t, kLanes>, 8> words;
    for (std::size_t word = 0; word < 8; ++word) {
        Lanes::store(words[word].data(), value[word]);
    }
    for (std::size_t lane = 0; lane < count; ++lane) {
        for (std::size_t word = 0; word < 8; ++word) {
            std::memcpy(out + 32 * lane + 4 * word, &words[word][lane], 4);
        }
    }
}

}  // namespace tolvek::engine::blake3
