// SHA compressions on x86 instruction-set extensions; each is called only when CpuHas reports
// its feature (engine/CpuFeatures.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolvek::engine {

// SHA extensions (CpuFeature::ShaNi).
void Sha1CompressShaNi(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                       std::size_t blockCount);
void Sha256CompressShaNi(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                         std::size_t blockCount);

// Scalar rounds with the message schedule on 128-bit AVX-512 vectors (CpuFeature::Avx512Vl).
void Sha512CompressAvx512(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                          std::size_t blockCount);

}  // namespace tolvek::engine
