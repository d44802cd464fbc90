#include "engine/CpuFeatures.h"

#include <atomic>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace tolvek::engine {

namespace {

#if defined(__x86_64__)
// CPUID leaf 7's bits for the two features that not every compiler's __builtin_cpu_supports
// knows (Clang 14 knows neither); neither needs more operating-system support than the features
// checked beside it.
constexpr unsigned kLeaf7ShaBit = 1U << 29;         // EBX
constexpr unsigned kLeaf7VpclmulqdqBit = 1U << 10;  // ECX

bool leaf7Has(unsigned ebxBit, unsigned ecxBit) {
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    return __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 && (ebx & ebxBit) == ebxBit &&
           (ecx & ecxBit) == ecxBit;
}
#endif

unsigned detectFeatures() {
    unsigned features = kCpuNone;
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (leaf7Has(kLeaf7ShaBit, 0) && __builtin_cpu_supports("sse4.1")) {
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
    if ((features & kCpuPclmul) != 0 && leaf7Has(0, kLeaf7VpclmulqdqBit) &&
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
