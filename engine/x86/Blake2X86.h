// BLAKE2 compressions on x86 vector extensions, one row of the state per register; each is
// called only when CpuHas reports its feature (engine/CpuFeatures.h). Same contract as
// blake2::Blake2bCompress and Blake2sCompress.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolvek::engine::blake2 {

// AVX2 (kCpuAvx2): rotations by byte shuffles and shifts.
void Blake2bCompressAvx2(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                         std::size_t blockCount, std::uint64_t counter, bool last);
void Blake2sCompressAvx2(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                         std::size_t blockCount, std::uint64_t counter, bool last);

// AVX-512 VL (kCpuAvx512Vl): the same rows with single-instruction rotations.
void Blake2bCompressAvx512(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                           std::size_t blockCount, std::uint64_t counter, bool last);
void Blake2sCompressAvx512(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                           std::size_t blockCount, std::uint64_t counter, bool last);

}  // namespace tolvek::engine::blake2
