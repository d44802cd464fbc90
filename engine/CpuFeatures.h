// The optional instruction sets the engine's accelerated paths use: detected once per process,
// and narrowed by tests and benchmarks so that the portable paths run on every machine too.
// engine/CpuDispatch.cpp detects them and makes every choice between paths.
#pragma once

namespace tolvek::engine {

// Features as bits of a mask; each bit stands for the whole set that one family of kernels
// needs.
enum CpuFeature : unsigned {
    kCpuNone = 0,
    kCpuShaNi = 1u << 0,        // SHA-1/SHA-256 instructions with SSE4.1
    kCpuPclmul = 1u << 1,       // PCLMULQDQ with SSSE3: 128-bit CRC folding
    // AVX2 with BMI1 and BMI2, which every processor with AVX2 but a few low-power ones has:
    // Adler-32, BLAKE3, XXH3, SHA-384/512 and Keccak.
    kCpuAvx2 = 1u << 2,
    kCpuAvx2Clmul = 1u << 3,    // VPCLMULQDQ on 256-bit registers, with PCLMULQDQ: CRC folding
    kCpuAvx512Vl = 1u << 4,     // AVX-512 F and VL on 128-bit registers, with BMI2
    kCpuAvx512Clmul = 1u << 5,  // VPCLMULQDQ with AVX-512 F/BW: 512-bit CRC folding
    kCpuAvx512Bw = 1u << 6,     // AVX-512 F, BW and VL on 512-bit registers: BLAKE3, XXH3
};
inline constexpr unsigned kAllCpuFeatures = ~0u;
// The AVX-512 family, which many x86-64 processors lack (AMD before Zen 4, Intel's client cores
// since Alder Lake): masked, the engine runs as it does on them.
inline constexpr unsigned kCpuAvx512 = kCpuAvx512Vl | kCpuAvx512Clmul | kCpuAvx512Bw;

// What this CPU and build support, checked once.
unsigned CpuFeaturesAvailable();

// What the kernels use now: the available set narrowed by LimitCpuFeaturesForTesting.
unsigned CpuFeaturesInUse();

// True when every feature in `features` is available and not masked.
inline bool CpuHas(unsigned features) { return (CpuFeaturesInUse() & features) == features; }

// Test and benchmark hook: the engine uses only the available features whose bits are set in
// `allowed` (kCpuNone forces the portable code everywhere; kAllCpuFeatures restores them all).
// It affects every thread.
void LimitCpuFeaturesForTesting(unsigned allowed);

}  // namespace tolvek::engine
