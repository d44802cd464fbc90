// The Keccak sponge's absorbing with the 25 lanes held in the 32 vector registers AVX-512 gives
// across blocks: theta's parities and chi are one three-input logic instruction per lane, rho one
// vector rotate, and nothing spills to memory as it does with 16 general registers.
#include <immintrin.h>

#include "engine/KeccakRound.h"
#include "engine/x86/KeccakX86.h"

namespace tolvek::engine {

namespace {

struct VectorOps {
    template <std::size_t kCount>
    using Lanes = __m128i[kCount];

    static __m128i xor2(__m128i a, __m128i b) { return _mm_xor_si128(a, b); }
    static __m128i xor3(__m128i a, __m128i b, __m128i c) {
        return _mm_ternarylogic_epi64(a, b, c, 0x96);
    }
    // a ^ (~b & c): the truth table of operands (a, b, c) read as bits 7..0 is 0xd2.
    static __m128i chi(__m128i a, __m128i b, __m128i c) {
        return _mm_ternarylogic_epi64(a, b, c, 0xd2);
    }
    template <unsigned kCount>
    static __m128i rotl(__m128i a) {
        if constexpr (kCount == 0) {
            return a;
        } else {
            return _mm_rol_epi64(a, kCount);
        }
    }
};

__m128i loadLane(const std::uint8_t* bytes) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes));
}

}  // namespace

[[gnu::flatten]] void KeccakAbsorbAvx512(KeccakState& state, const std::uint8_t* blocks,
                                         std::size_t blockCount, std::size_t rate,
                                         std::size_t rounds) {
    __m128i lanes[25];
    for (std::size_t index = 0; index < state.size(); ++index) {
        lanes[index] = loadLane(reinterpret_cast<const std::uint8_t*>(&state[index]));
    }
    const std::size_t rateLanes = rate / 8;
    for (; blockCount != 0; --blockCount, blocks += rate) {
        for (std::size_t index = 0; index < rateLanes; ++index) {
            lanes[index] = _mm_xor_si128(lanes[index], loadLane(blocks + 8 * index));
        }
        for (std::size_t round = keccak::kRounds - rounds; round < keccak::kRounds; ++round) {
            keccak::round<VectorOps>(
                lanes, _mm_cvtsi64_si128(static_cast<long long>(keccak::kRoundConstants[round])));
        }
    }
    for (std::size_t index = 0; index < state.size(); ++index) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&state[index]), lanes[index]);
    }
}

}  // namespace tolvek::engine
