#include "engine/Keccak.h"

#include "engine/Backends.h"
#include "engine/EngineUtils.h"
#include "engine/KeccakRound.h"

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

[[gnu::flatten]] void permute(KeccakState& state) {
    for (const std::uint64_t roundConstant : keccak::kRoundConstants) {
        keccak::round<ScalarOps>(state, roundConstant);
    }
}

}  // namespace

void KeccakAbsorbPortable(KeccakState& state, const std::uint8_t* blocks, std::size_t blockCount,
                          std::size_t rate) {
    for (; blockCount != 0; --blockCount, blocks += rate) {
        for (std::size_t lane = 0; lane < rate / 8; ++lane) {
            state[lane] ^= LoadLe64(blocks + 8 * lane);
        }
        permute(state);
    }
}

}  // namespace tolvek::engine
