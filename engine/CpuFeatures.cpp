#include "engine/CpuFeatures.h"

#include <atomic>

namespace tolvek::engine {

namespace {

unsigned detectFeatures() {
    unsigned features = kCpuNone;
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("sha") && __builtin_cpu_supports("sse4.1")) {
        features |= kCpuShaNi;
    }
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("bmi2")) {
        features |= kCpuAvx512Vl;
    }
    if (__builtin_cpu_supports("pclmul") && __builtin_cpu_supports("ssse3")) {
        features |= kCpuPclmul;
    }
    // The zmm CRC kernel finishes with 128-bit folds, so it needs PCLMULQDQ as well.
    if ((features & kCpuPclmul) != 0 && __builtin_cpu_supports("vpclmulqdq") &&
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) {
        features |= kCpuAvx512Clmul;
    }
    if (__builtin_cpu_supports("avx2")) {
        features |= kCpuAvx2;
    }
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl")) {
        features |= kCpuAvx512Bw;
    }
#endif
    return features;
}

std::atomic<unsigned> allowedFeatures{kAllCpuFeatures};

}  // namespace

unsigned CpuFeaturesAvailable() {
    static const unsigned available = detectFeatures();
    return available;
}

unsigned CpuFeaturesInUse() {
    return CpuFeaturesAvailable() & allowedFeatures.load(std::memory_order_relaxed);
}

void LimitCpuFeaturesForTesting(unsigned allowed) {
    allowedFeatures.store(allowed, std::memory_order_relaxed);
}

}  // namespace tolvek::engine
