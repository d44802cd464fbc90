// The optional instruction sets the engine's accelerated paths use: detected once per process,
// and narrowed by tests so that the portable paths run on every machine too.
#pragma once

namespace tolvek::engine {

enum class CpuFeature : unsigned {
    ShaNi = 1u << 0,     // SHA-1/SHA-256 instructions (with SSE4.1)
    Avx512Vl = 1u << 1,  // AVX-512 F and VL on 128-bit registers, with BMI2
};

// True when the CPU has the feature and tests have not masked it.
bool CpuHas(CpuFeature feature);

// Test-only: the engine uses only the detected features whose bits are set in `allowed`;
// kAllCpuFeatures restores every detected one.
inline constexpr unsigned kAllCpuFeatures = ~0u;
void LimitCpuFeaturesForTesting(unsigned allowed);

}  // namespace tolvek::engine
