#include "engine/Keccak.h"

#include "engine/Backends.h"
#include "engine/KeccakRound.h"

namespace tolvek::engine {

[[gnu::flatten]] void KeccakAbsorbPortable(KeccakState& state, const std::uint8_t* blocks,
                                           std::size_t blockCount, std::size_t rate) {
    keccak::absorb<keccak::ScalarOps>(state, blocks, blockCount, rate);
}

}  // namespace tolvek::engine
