#include "engine/ChecksumIsa.h"

#include <atomic>

namespace tolvek::engine {

namespace {

unsigned detectIsa() {
    unsigned available = kIsaNone;
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("pclmul") && __builtin_cpu_supports("ssse3")) {
        available |= kIsaPclmul;
    }
    // The zmm kernel finishes with 128-bit folds, so it needs PCLMULQDQ as well.
    if ((available & kIsaPclmul) != 0 && __builtin_cpu_supports("vpclmulqdq") &&
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) {
        available |= kIsaAvx512Clmul;
    }
    if (__builtin_cpu_supports("avx2")) {
        available |= kIsaAvx2;
    }
#endif
    return available;
}

std::atomic<unsigned>& allowedIsa() {
    static std::atomic<unsigned> allowed{~0u};
    return allowed;
}

}  // namespace

unsigned ChecksumIsaAvailable() {
    static const unsigned available = detectIsa();
    return available;
}

unsigned ChecksumIsaInUse() {
    return ChecksumIsaAvailable() & allowedIsa().load(std::memory_order_relaxed);
}

void LimitChecksumIsa(unsigned allowed) {
    allowedIsa().store(allowed, std::memory_order_relaxed);
}

}  // namespace tolvek::engine
