#include "engine/Keccak.h"

#include "engine/Backends.h"
#include "engine/KeccakRound.h"

namespace tolvek::engine {

[[gnu::flatten]] void KeccakAbsorbPortable(KeccakState& state, const std::uint8_t* blocks,
                                           std::size_t blockCount, std::size_t rate,
                                           std::size_t rounds) {
    keccak::absorb<keccak::ScalarOps>(state, blocks, blockCount, rate, rounds);
}

}  // namespace tolvek::engine
