#include "engine/Keccak.h"

#include "engine/CpuFeatures.h"
#include "engine/EngineUtils.h"
#include "engine/KeccakRound.h"
#if defined(TOLVEK_X86)
#include "engine/x86/KeccakX86.h"
#endif

namespace tolvek::engine {

namespace {

struct ScalarOps {
    template <std::size_t kCount>
    using Lanes = std::array<std::uint64_t, kCount>;

    static std::uint64_t xor2(std::uint64_t a, std::uint64_t b) { return a ^ b; }
    static std::uint64_t xor3(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
        return a ^ b ^ c;
    }
    static std::uint64_t chi(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
        return a ^ (~b & c);
    }
    template <unsigned kCount>
    static std::uint64_t rotl(std::uint64_t a) {
        return std::rotl(a, static_cast<int>(kCount));
    }
};

// Keccak-p[1600, rounds]: the last `rounds` rounds of Keccak-f[1600] (FIPS 202, section 3.3).
[[gnu::flatten]] void permute(KeccakState& state, std::size_t rounds) {
    for (std::size_t round = keccak::kRounds - rounds; round < keccak::kRounds; ++round) {
        keccak::round<ScalarOps>(state, keccak::kRoundConstants[round]);
    }
}

}  // namespace

void KeccakAbsorbPortable(KeccakState& state, const std::uint8_t* blocks, std::size_t blockCount,
                          std::size_t rate, std::size_t rounds) {
    for (; blockCount != 0; --blockCount, blocks += rate) {
        for (std::size_t lane = 0; lane < rate / 8; ++lane) {
            state[lane] ^= LoadLe64(blocks + 8 * lane);
        }
        permute(state, rounds);
    }
}

void KeccakAbsorb(KeccakState& state, const std::uint8_t* blocks, std::size_t blockCount,
                  std::size_t rate, std::size_t rounds) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx512Vl)) {
        KeccakAbsorbAvx512(state, blocks, blockCount, rate, rounds);
        return;
    }
#endif
    KeccakAbsorbPortable(state, blocks, blockCount, rate, rounds);
}

}  // namespace tolvek::engine
