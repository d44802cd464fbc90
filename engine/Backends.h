// The back ends of the engine's dispatched functions, named as the function plus the path: the
// Portable ones are always built and are the reference every other path must agree with; the
// x86 ones live in engine/x86/, each file built with its own instruction-set flags, and run only
// when engine/CpuDispatch.cpp has chosen them for the features they need (engine/CpuFeatures.h).
// Each back end has its function's signature, given once here as a function type, and lives in
// that function's namespace.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/Blake3.h"
#include "engine/CrcTables.h"
#include "engine/MessageLanes.h"

namespace tolvek::engine {

using Sha32State = std::array<std::uint32_t, 8>;
using Sha64State = std::array<std::uint64_t, 8>;
// The state types of Keccak and XXH3 spelled out, since their headers bring in names that clash
// with BLAKE3's.
using KeccakLanes = std::array<std::uint64_t, 25>;       // KeccakState
using XxhAccumulators = std::array<std::uint64_t, 8>;   // xxhash::Accumulators

// As Sha1Compress, Sha256Compress and Sha512Compress.
using Sha32Compression = void(Sha32State& state, const std::uint8_t* blocks,
                              std::size_t blockCount);
using Sha64Compression = void(Sha64State& state, const std::uint8_t* blocks,
                              std::size_t blockCount);
// As KeccakAbsorb.
using KeccakAbsorption = void(KeccakLanes& state, const std::uint8_t* blocks,
                              std::size_t blockCount, std::size_t rate, std::size_t rounds);
// The sums after `length` more bytes; `adler` is s1 | s2 << 16.
using Adler32Sums = std::uint32_t(std::uint32_t adler, const std::uint8_t* bytes,
                                  std::size_t length);
// As the two CrcUpdate.
using Crc32Update = std::uint32_t(const CrcTables& tables, std::uint32_t crc,
                                  const std::uint8_t* bytes, std::size_t length);
using Crc64Update = std::uint64_t(const Crc64Tables& tables, std::uint64_t crc,
                                  const std::uint8_t* bytes, std::size_t length);

Sha32Compression Sha1CompressPortable, Sha256CompressPortable;
Sha64Compression Sha512CompressPortable;
// One message after another, through Md5Transform, Sha1Compress, Sha512Compress and Blake3.
ManyMessagesHash Md5MessagesPortable, Sha1MessagesPortable, Sha384MessagesPortable,
    Sha512MessagesPortable, Sha512_256MessagesPortable, Blake3MessagesPortable;
KeccakAbsorption KeccakAbsorbPortable;
Adler32Sums Adler32UpdatePortable;
// Slice-by-8 over the tables.
Crc32Update CrcUpdatePortable;
Crc64Update CrcUpdatePortable;

namespace xxhash {
// As AccumulateStripes.
using StripeAccumulation = void(XxhAccumulators& accumulators, const std::uint8_t* stripes,
                                std::size_t stripeCount, std::size_t stripeInBlock);
StripeAccumulation AccumulateStripesPortable;
}  // namespace xxhash

namespace blake2 {
// As the two CompressLeaves.
using Leaves32Compression = void(std::array<std::array<std::uint32_t, 8>*, 8> states,
                                 std::array<const std::uint8_t*, 8> blocks,
                                 std::size_t blockCount, std::size_t stride,
                                 std::uint64_t counter);
using Leaves64Compression = void(std::array<std::array<std::uint64_t, 8>*, 4> states,
                                 std::array<const std::uint8_t*, 4> blocks,
                                 std::size_t blockCount, std::size_t stride,
                                 std::uint64_t counter);
Leaves32Compression CompressLeavesPortable;
Leaves64Compression CompressLeavesPortable;
}  // namespace blake2

namespace kt128 {
// As HashLeaves; the x86 ones hash exactly 4 (AVX2) or 8 (AVX-512) leaves, one per 64-bit lane.
using LeafHashing = void(const std::uint8_t* chunks, std::size_t count, std::uint8_t* values);
LeafHashing HashLeavesPortable;
}  // namespace kt128

namespace blake3 {
// As HashMany; the x86 ones take up to 8 (AVX2) or 16 (AVX-512) inputs, one per 32-bit lane.
using ManyInputs = void(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
                        std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
                        std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
                        std::uint8_t* out);
ManyInputs HashManyPortable;
}  // namespace blake3

#if defined(TOLVEK_X86)

// kCpuShaNi
Sha32Compression Sha1CompressShaNi, Sha256CompressShaNi;

// kCpuPclmul: four 128-bit accumulators folded with PCLMULQDQ, from kCrcPclmulMinLength bytes.
inline constexpr std::size_t kCrcPclmulMinLength = 64;
Crc32Update CrcUpdatePclmul;
Crc64Update CrcUpdatePclmul;

// kCpuAvx2: the rounds' rotates on BMI2 with the message schedule on vectors (SHA-512); the
// portable code with BMI's and-not and rotates (Keccak); Adler-32 sums over 32-byte vectors; XXH3
// stripes on two 256-bit registers; BLAKE3 inputs in eight lanes; BLAKE2sp's eight and
// BLAKE2bp's four leaves, one per lane of a 256-bit register; four KT128 leaves, one per 64-bit
// lane.
Sha64Compression Sha512CompressAvx2;
// Sixteen messages at a time, one per 32-bit lane of two registers; BLAKE3's chunks of many
// messages, one per 32-bit lane.
ManyMessagesHash Md5MessagesAvx2, Sha1MessagesAvx2, Blake3MessagesAvx2;
// Eight messages at a time, one per 64-bit lane of two 256-bit registers, on AVX2 with
// AVX-512 VL.
ManyMessagesHash Sha384MessagesAvx512, Sha512MessagesAvx512, Sha512_256MessagesAvx512;
KeccakAbsorption KeccakAbsorbAvx2;
Adler32Sums Adler32UpdateAvx2;
namespace xxhash {
StripeAccumulation AccumulateStripesAvx2;
}  // namespace xxhash
namespace blake3 {
ManyInputs HashManyAvx2;
}  // namespace blake3
namespace blake2 {
Leaves32Compression CompressLeavesAvx2;
Leaves64Compression CompressLeavesAvx2;
}  // namespace blake2
namespace kt128 {
LeafHashing HashLeavesAvx2;
}  // namespace kt128

// kCpuAvx2Clmul: four 256-bit accumulators folded with VPCLMULQDQ, from kCrcAvx2ClmulMinLength
// bytes.
inline constexpr std::size_t kCrcAvx2ClmulMinLength = 128;
Crc32Update CrcUpdateAvx2Clmul;
Crc64Update CrcUpdateAvx2Clmul;

// kCpuAvx512Vl: the SHA-512 schedule with native rotates and three-input logic; each Keccak lane
// in its own vector register.
Sha64Compression Sha512CompressAvx512;
KeccakAbsorption KeccakAbsorbAvx512;

// kCpuAvx512Clmul: four 512-bit accumulators, from kCrcAvx512ClmulMinLength bytes.
inline constexpr std::size_t kCrcAvx512ClmulMinLength = 256;
Crc32Update CrcUpdateAvx512;
Crc64Update CrcUpdateAvx512;

// kCpuAvx512Bw: XXH3 stripes on one 512-bit register; BLAKE3 inputs, and the chunks of many
// messages, in sixteen lanes.
namespace xxhash {
StripeAccumulation AccumulateStripesAvx512;
}  // namespace xxhash
namespace blake3 {
ManyInputs HashManyAvx512;
}  // namespace blake3
ManyMessagesHash Blake3MessagesAvx512;
// And eight KT128 leaves, one per 64-bit lane of a 512-bit register.
namespace kt128 {
LeafHashing HashLeavesAvx512;
}  // namespace kt128

#endif  // TOLVEK_X86

}  // namespace tolvek::engine
