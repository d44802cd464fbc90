// The portable Keccak code compiled for x86-64 with BMI1 and BMI2: chi's and-not and rho's
// rotates each become one instruction (andn, rorx) that leaves its sources intact, so fewer
// values are copied and spilled. Built with -mbmi -mbmi2; run only when the CPU has them.
#include "engine/Backends.h"
#include "engine/KeccakRound.h"

namespace tolvek::engine {

[[gnu::flatten]] void KeccakAbsorbAvx2(KeccakLanes& state, const std::uint8_t* blocks,
                                       std::size_t blockCount, std::size_t rate,
                                       std::size_t rounds) {
    keccak::absorb<keccak::ScalarOps>(state, blocks, blockCount, rate, rounds);
}

}  // namespace tolvek::engine
