// The x86 checksum kernels. Each lives in a file built with its own instruction-set flags and may
// be called only when CpuFeaturesInUse() has its bit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/CrcTables.h"

namespace tolvek::engine::x86 {

// Minimum lengths; shorter inputs go to a narrower path.
inline constexpr std::size_t kPclmulMinLength = 64;
inline constexpr std::size_t kAvx512ClmulMinLength = 256;

// kCpuPclmul: four 128-bit accumulators folded with PCLMULQDQ.
std::uint32_t CrcFoldPclmul(const CrcTables& tables, std::uint32_t crc, const std::uint8_t* bytes,
                            std::size_t length);

std::uint64_t CrcFoldPclmul(const Crc64Tables& tables, std::uint64_t crc, const std::uint8_t* bytes,
                            std::size_t length);

// kCpuAvx512Clmul: four 512-bit accumulators folded with VPCLMULQDQ.
std::uint32_t CrcFoldAvx512(const CrcTables& tables, std::uint32_t crc, const std::uint8_t* bytes,
                            std::size_t length);
std::uint64_t CrcFoldAvx512(const Crc64Tables& tables, std::uint64_t crc, const std::uint8_t* bytes,
                            std::size_t length);

// kCpuAvx2: Adler-32 sums over 32-byte vectors; `adler` is s1 | s2 << 16.
std::uint32_t Adler32Avx2(std::uint32_t adler, const std::uint8_t* bytes, std::size_t length);

}  // namespace tolvek::engine::x86
