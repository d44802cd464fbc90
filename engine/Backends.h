// The back ends of the engine's dispatched functions, named as the function plus the path: the
// Portable ones are always built and are the reference every other path must agree with; the
// x86 ones live in engine/x86/, each file built with its own instruction-set flags, and run only
// when engine/CpuDispatch.cpp has chosen them for the features they need (engine/CpuFeatures.h).
// Each lives in the namespace of the function it implements.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/Blake3.h"
#include "engine/CrcTables.h"
#include "engine/XXHash.h"

namespace tolvek::engine {

using Sha32State = std::array<std::uint32_t, 8>;
using Sha64State = std::array<std::uint64_t, 8>;
using KeccakLanes = std::array<std::uint64_t, 25>;  // KeccakState

void Sha1CompressPortable(Sha32State& state, const std::uint8_t* blocks, std::size_t blockCount);
void Sha256CompressPortable(Sha32State& state, const std::uint8_t* blocks, std::size_t blockCount);
void Sha512CompressPortable(Sha64State& state, const std::uint8_t* blocks, std::size_t blockCount);
void KeccakAbsorbPortable(KeccakLanes& state, const std::uint8_t* blocks, std::size_t blockCount,
                          std::size_t rate);
// `adler` is s1 | s2 << 16.
std::uint32_t Adler32UpdatePortable(std::uint32_t adler, const std::uint8_t* bytes,
                                    std::size_t length);
// Slice-by-8 over the tables.
std::uint32_t CrcUpdatePortable(const CrcTables& tables, std::uint32_t crc,
                                const std::uint8_t* bytes, std::size_t length);
std::uint64_t CrcUpdatePortable(const Crc64Tables& tables, std::uint64_t crc,
                                const std::uint8_t* bytes, std::size_t length);

namespace xxhash {
void AccumulateStripesPortable(Accumulators& accumulators, const std::uint8_t* stripes,
                               std::size_t stripeCount, std::size_t stripeInBlock);
}  // namespace xxhash

namespace blake3 {
void HashManyPortable(const std::uint8_t* inputs, std::size_t count, std::size_t blockCount,
                      std::uint64_t counter, bool incrementCounter, std::uint32_t flags,
                      std::uint32_t startFlags, std::uint32_t endFlags, std::uint8_t* out);
}  // namespace blake3

#if defined(TOLVEK_X86)

// kCpuShaNi
void Sha1CompressShaNi(Sha32State& state, const std::uint8_t* blocks, std::size_t blockCount);
void Sha256CompressShaNi(Sha32State& state, const std::uint8_t* blocks, std::size_t blockCount);

// kCpuPclmul: four 128-bit accumulators folded with PCLMULQDQ; at least kCrcPclmulMinLength
// bytes.
inline constexpr std::size_t kCrcPclmulMinLength = 64;
std::uint32_t CrcUpdatePclmul(const CrcTables& tables, std::uint32_t crc,
                              const std::uint8_t* bytes, std::size_t length);
std::uint64_t CrcUpdatePclmul(const Crc64Tables& tables, std::uint64_t crc,
                              const std::uint8_t* bytes, std::size_t length);

// kCpuAvx2: the rounds' rotates on BMI2 with the message schedule on vectors (SHA-512); the
// portable code with BMI's and-not and rotates (Keccak); Adler-32 sums over 32-byte vectors; XXH3
// stripes on two 256-bit registers; BLAKE3 inputs in eight lanes.
void Sha512CompressAvx2(Sha64State& state, const std::uint8_t* blocks, std::size_t blockCount);
void KeccakAbsorbAvx2(KeccakLanes& state, const std::uint8_t* blocks, std::size_t blockCount,
                      std::size_t rate);
std::uint32_t Adler32UpdateAvx2(std::uint32_t adler, const std::uint8_t* bytes, std::size_t length);

// kCpuAvx2Clmul: four 256-bit accumulators folded with VPCLMULQDQ; at least
// kCrcAvx2ClmulMinLength bytes.
inline constexpr std::size_t kCrcAvx2ClmulMinLength = 128;
std::uint32_t CrcUpdateAvx2Clmul(const CrcTables& tables, std::uint32_t crc,
                                 const std::uint8_t* bytes, std::size_t length);
std::uint64_t CrcUpdateAvx2Clmul(const Crc64Tables& tables, std::uint64_t crc,
                                 const std::uint8_t* bytes, std::size_t length);

// kCpuAvx512Vl: the SHA-512 schedule on 128-bit vectors with native rotates and three-input
// logic; each Keccak lane in its own vector register.
void Sha512CompressAvx512(Sha64State& state, const std::uint8_t* blocks, std::size_t blockCount);
void KeccakAbsorbAvx512(KeccakLanes& state, const std::uint8_t* blocks, std::size_t blockCount,
                        std::size_t rate);

// kCpuAvx512Clmul: four 512-bit accumulators; at least kCrcAvx512ClmulMinLength bytes.
inline constexpr std::size_t kCrcAvx512ClmulMinLength = 256;
std::uint32_t CrcUpdateAvx512(const CrcTables& tables, std::uint32_t crc,
                              const std::uint8_t* bytes, std::size_t length);
std::uint64_t CrcUpdateAvx512(const Crc64Tables& tables, std::uint64_t crc,
                              const std::uint8_t* bytes, std::size_t length);

namespace xxhash {
void AccumulateStripesAvx2(Accumulators& accumulators, const std::uint8_t* stripes,
                           std::size_t stripeCount, std::size_t stripeInBlock);
void AccumulateStripesAvx512(Accumulators& accumulators, const std::uint8_t* stripes,
                             std::size_t stripeCount, std::size_t stripeInBlock);
}  // namespace xxhash

namespace blake3 {
// Up to 8 (AVX2) or 16 (AVX-512, kCpuAvx512Bw) inputs side by side, one per 32-bit lane; same
// contract as HashMany otherwise.
void HashManyAvx2(const std::uint8_t* inputs, std::size_t count, std::size_t blockCount,
                  std::uint64_t counter, bool incrementCounter, std::uint32_t flags,
                  std::uint32_t startFlags, std::uint32_t endFlags, std::uint8_t* out);
void HashManyAvx512(const std::uint8_t* inputs, std::size_t count, std::size_t blockCount,
                    std::uint64_t counter, bool incrementCounter, std::uint32_t flags,
                    std::uint32_t startFlags, std::uint32_t endFlags, std::uint8_t* out);
}  // namespace blake3

#endif  // TOLVEK_X86

}  // namespace tolvek::engine
