// Keccak-f[1600] absorbing on x86 instruction-set extensions; called only when CpuHas reports
// the feature (engine/CpuFeatures.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/Keccak.h"

namespace tolvek::engine {

// Each lane in its own vector register, with three-input logic and vector rotates
// (kCpuAvx512Vl); the permutation's last `rounds` rounds.
void KeccakAbsorbAvx512(KeccakState& state, const std::uint8_t* blocks, std::size_t blockCount,
                        std::size_t rate, std::size_t rounds);

}  // namespace tolvek::engine
