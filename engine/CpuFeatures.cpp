#include "engine/CpuFeatures.h"

#include <atomic>

namespace tolvek::engine {

namespace {

unsigned detectFeatures() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    unsigned features = 0;
    if (__builtin_cpu_supports("sha") && __builtin_cpu_supports("sse4.1")) {
        features |= static_cast<unsigned>(CpuFeature::ShaNi);
    }
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("bmi2")) {
        features |= static_cast<unsigned>(CpuFeature::Avx512Vl);
    }
    return features;
#else
    return 0;
#endif
}

std::atomic<unsigned> allowedFeatures{kAllCpuFeatures};

}  // namespace

bool CpuHas(CpuFeature feature) {
    static const unsigned detected = detectFeatures();
    return (detected & allowedFeatures.load(std::memory_order_relaxed) &
            static_cast<unsigned>(feature)) != 0;
}

void LimitCpuFeaturesForTesting(unsigned allowed) {
    allowedFeatures.store(allowed, std::memory_order_relaxed);
}

}  // namespace tolvek::engine
