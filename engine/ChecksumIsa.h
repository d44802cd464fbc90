// Which instruction-set extensions the checksum units may use: detected once from the CPU,
// narrowed only by tests and benchmarks so that every code path runs on every machine that has it.
#pragma once

namespace tolvek::engine {

// Extensions as bits of a mask. Each bit stands for the whole set one kernel family needs.
enum ChecksumIsa : unsigned {
    kIsaNone = 0,
    kIsaPclmul = 1u << 0,       // PCLMULQDQ with SSSE3: 128-bit CRC folding
    kIsaAvx512Clmul = 1u << 1,  // VPCLMULQDQ with AVX-512 F/BW: 512-bit CRC folding
    kIsaAvx2 = 1u << 2,         // AVX2: Adler-32
};

// What this CPU and build support, checked once.
unsigned ChecksumIsaAvailable();

// What the kernels use now: the available set narrowed by LimitChecksumIsa.
unsigned ChecksumIsaInUse();

// Test and benchmark hook: allow only the extensions in `allowed` (kIsaNone forces the portable
// code everywhere). Not for production callers; it affects every thread.
void LimitChecksumIsa(unsigned allowed);

}  // namespace tolvek::engine
