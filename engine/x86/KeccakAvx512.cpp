// Keccak absorbing with each of the 25 lanes in its own vector register (AVX-512 gives 32):
// theta's parities and chi are one three-input logic instruction per lane, rho one vector
// rotate. Built with -mavx512f -mavx512vl; run only when the CPU has them.
#include <immintrin.h>

#include "engine/Backends.h"
#include "engine/KeccakRound.h"

namespace tolvek::engine {

namespace {

struct VectorOps {
    using Lane = __m128i;
    template <std::size_t kCount>
    using Lanes = __m128i[kCount];

    static Lane load(const std::uint8_t* bytes) {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes));
    }
    static Lane constant(std::uint64_t value) {
        return _mm_cvtsi64_si128(static_cast<long long>(value));
    }
    static Lane xor2(Lane a, Lane b) { return _mm_xor_si128(a, b); }
    static Lane xor3(Lane a, Lane b, Lane c) { return _mm_ternarylogic_epi64(a, b, c, 0x96); }
    // a ^ (~b & c): the truth table of operands (a, b, c) read as bits 7..0 is 0xd2.
    static Lane chi(Lane a, Lane b, Lane c) { return _mm_ternarylogic_epi64(a, b, c, 0xd2); }
    template <unsigned kCount>
    static Lane rotl(Lane a) {
        if constexpr (kCount == 0) {
            return a;
        } else {
            return _mm_rol_epi64(a, kCount);
        }
    }
};

}  // namespace

[[gnu::flatten]] void KeccakAbsorbAvx512(KeccakLanes& state, const std::uint8_t* blocks,
                                         std::size_t blockCount, std::size_t rate,
                                         std::size_t rounds) {
    __m128i lanes[25];
    for (std::size_t index = 0; index < state.size(); ++index) {
        lanes[index] = VectorOps::load(reinterpret_cast<const std::uint8_t*>(&state[index]));
    }
    keccak::absorb<VectorOps>(lanes, blocks, blockCount, rate, rounds);
    for (std::size_t index = 0; index < state.size(); ++index) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&state[index]), lanes[index]);
    }
}

}  // namespace tolvek::engine
