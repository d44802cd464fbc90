#include "engine/Keccak.h"

#include "engine/EngineUtils.h"
#include "engine/KeccakConstants.h"
#include "engine/Unroll.h"

namespace tolvek::engine {

namespace {

using keccak::kRotationOffsets;

// One round on the lanes with every index a constant, so the compiler keeps what it can in
// registers: theta, then rho and pi into b, then chi and iota back into a.
[[gnu::always_inline]] inline void round(KeccakState& a, std::uint64_t roundConstant) {
    std::array<std::uint64_t, 5> column;
    Unroll<5>([&](auto x) { column[x] = a[x] ^ a[x + 5] ^ a[x + 10] ^ a[x + 15] ^ a[x + 20]; });
    std::array<std::uint64_t, 25> b;
    Unroll<5>([&](auto x) {
        const std::uint64_t theta = column[(x + 4) % 5] ^ std::rotl(column[(x + 1) % 5], 1);
        Unroll<5>([&](auto y) {
            // pi moves lane (x, y) to (y, 2x + 3y).
            b[y + 5 * ((2 * x + 3 * y) % 5)] =
                std::rotl(a[x + 5 * y] ^ theta, static_cast<int>(kRotationOffsets[x + 5 * y]));
        });
    });
    Unroll<5>([&](auto y) {
        Unroll<5>([&](auto x) {
            a[x + 5 * y] = b[x + 5 * y] ^ (~b[(x + 1) % 5 + 5 * y] & b[(x + 2) % 5 + 5 * y]);
        });
    });
    a[0] ^= roundConstant;
}

[[gnu::flatten]] void permute(KeccakState& state) {
    for (const std::uint64_t roundConstant : keccak::kRoundConstants) {
        round(state, roundConstant);
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

void KeccakAbsorb(KeccakState& state, const std::uint8_t* blocks, std::size_t blockCount,
                  std::size_t rate) {
    KeccakAbsorbPortable(state, blocks, blockCount, rate);
}

}  // namespace tolvek::engine
