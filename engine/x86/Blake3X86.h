// BLAKE3 inputs hashed side by side on x86 vector extensions, one input per 32-bit lane; each
// is called only when CpuHas reports its feature (engine/CpuFeatures.h). Same contract as
// blake3::HashMany for `count` inputs up to the lane count (16 for AVX-512, 8 for AVX2).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/Blake3.h"

namespace tolvek::engine::blake3 {

void HashManyAvx512(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
                    std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
                    std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
                    std::uint8_t* out);
void HashManyAvx2(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
                  std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
                  std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
                  std::uint8_t* out);

}  // namespace tolvek::engine::blake3
