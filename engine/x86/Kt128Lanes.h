// KT128 leaves side by side, one leaf per 64-bit lane of a vector: the Keccak rounds of
// engine/KeccakRound.h over the compiler's generic vector types, so that each file that includes
// this lowers them to its own registers (four leaves on AVX2, eight on AVX-512 with its native
// rotates). Internal linkage on purpose: each of those files compiles its own copy with its own
// instruction-set flags.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "engine/EngineUtils.h"
#include "engine/KangarooTwelve.h"
#include "engine/KeccakRound.h"

namespace tolvek::engine::kt128 {
namespace {  // NOLINT(google-build-namespaces): see above

template <std::size_t Leaves>
struct LaneOps {
    using Lane [[gnu::vector_size(8 * Leaves)]] = std::uint64_t;
    template <std::size_t kCount>
    using Lanes = Lane[kCount];

    static Lane constant(std::uint64_t value) { return Lane{} + value; }
    static Lane xor2(Lane a, Lane b) { return a ^ b; }
    static Lane xor3(Lane a, Lane b, Lane c) { return a ^ b ^ c; }
    static Lane chi(Lane a, Lane b, Lane c) { return a ^ (~b & c); }
    template <unsigned kCount>
    static Lane rotl(Lane a) {
        if constexpr (kCount == 0) {
            return a;
        } else {
            return (a << kCount) | (a >> (64 - kCount));
        }
    }
};

// The chaining values of `Leaves` consecutive whole leaves, as HashLeaves gives them: each chunk
// is whole blocks of the rate and a shorter tail, which the leaf's domain byte and the padding's
// last bit close.
template <std::size_t Leaves>
[[gnu::always_inline]] inline void HashLeavesInLanes(const std::uint8_t* chunks,
                                                     std::uint8_t* values) {
    using Ops = LaneOps<Leaves>;
    using Lane = typename Ops::Lane;
    constexpr std::size_t kWholeBlocks = kChunkSize / kRate;
    constexpr std::size_t kTailLanes = kChunkSize % kRate / 8;
    static_assert(kChunkSize % 8 == 0 && kTailLanes < kRate / 8);
    // The 64-bit words at `offset` of each chunk, built whole (lane by lane it reads as used
    // uninitialised).
    const auto gather = [&](std::size_t offset) {
        return [&]<std::size_t... Leaf>(std::index_sequence<Leaf...>) {
            return Lane{LoadLe64(chunks + Leaf * kChunkSize + offset)...};
        }(std::make_index_sequence<Leaves>{});
    };
    Lane state[25] = {};
    for (std::size_t block = 0; block < kWholeBlocks; ++block) {
        for (std::size_t lane = 0; lane < kRate / 8; ++lane) {
            state[lane] ^= gather(block * kRate + 8 * lane);
        }
        keccak::permute<Ops>(state, kRounds);
    }
    for (std::size_t lane = 0; lane < kTailLanes; ++lane) {
        state[lane] ^= gather(kWholeBlocks * kRate + 8 * lane);
    }
    state[kTailLanes] ^= Ops::constant(kLeafDomain);
    state[kRate / 8 - 1] ^= Ops::constant(std::uint64_t{0x80} << 56);
    keccak::permute<Ops>(state, kRounds);
    for (std::size_t leaf = 0; leaf < Leaves; ++leaf) {
        for (std::size_t word = 0; word < kChainingValueSize / 8; ++word) {
            StoreLe64(values + leaf * kChainingValueSize + 8 * word, state[word][leaf]);
        }
    }
}

}  // namespace
}  // namespace tolvek::engine::kt128
