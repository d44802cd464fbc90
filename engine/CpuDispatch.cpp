// Every choice between the engine's code paths, in one place: which optional instruction sets
// this CPU has, and for each dispatched function the fastest back end the features in use allow,
// tried from the widest to the portable one (engine/Backends.h names them).
#include <atomic>

#include "engine/Adler.h"
#include "engine/Blake2.h"
#include "engine/Backends.h"
#include "engine/CpuFeatures.h"
#include "engine/CrcKernels.h"
#include "engine/KangarooTwelve.h"
#include "engine/Keccak.h"
#include "engine/MessageLanes.h"
#include "engine/SHA.h"
#include "engine/XXHash.h"
#if defined(TOLVEK_X86)
// The C library's header is written for C, whose _Bool C++ calls bool.
#define _Bool bool
#include <sys/platform/x86.h>
#undef _Bool
#endif

namespace tolvek::engine {

namespace {

#if defined(TOLVEK_X86)

// The C library has asked the processor once as the program started, and says which features
// the system also saves the registers of: asking again costs several CPUID instructions, each of
// which traps to the host of a virtual machine (some microseconds per start here).
unsigned detectFeatures() {
    const bool pclmul = CPU_FEATURE_ACTIVE(PCLMULQDQ) && CPU_FEATURE_ACTIVE(SSSE3);
    const bool avx2 = CPU_FEATURE_ACTIVE(AVX2);
    const bool avx512 = CPU_FEATURE_ACTIVE(AVX512F);
    unsigned features = kCpuNone;
    if (CPU_FEATURE_ACTIVE(SHA) && CPU_FEATURE_ACTIVE(SSE4_1)) {
        features |= kCpuShaNi;
    }
    if (pclmul) {
        features |= kCpuPclmul;
    }
    if (avx2 && CPU_FEATURE_ACTIVE(BMI1) && CPU_FEATURE_ACTIVE(BMI2)) {
        features |= kCpuAvx2;
    }
    if (avx2 && pclmul && CPU_FEATURE_ACTIVE(VPCLMULQDQ)) {
        features |= kCpuAvx2Clmul;
    }
    if (avx512 && CPU_FEATURE_ACTIVE(AVX512VL) && CPU_FEATURE_ACTIVE(BMI2)) {
        features |= kCpuAvx512Vl;
    }
    // The zmm CRC kernel finishes with 128-bit folds, so it needs PCLMULQDQ as well.
    if (avx512 && pclmul && CPU_FEATURE_ACTIVE(AVX512BW) && CPU_FEATURE_ACTIVE(VPCLMULQDQ)) {
        features |= kCpuAvx512Clmul;
    }
    if (avx512 && CPU_FEATURE_ACTIVE(AVX512BW) && CPU_FEATURE_ACTIVE(AVX512VL)) {
        features |= kCpuAvx512Bw;
    }
    return features;
}

#else

unsigned detectFeatures() { return kCpuNone; }

#endif

std::atomic<unsigned> allowedFeatures{kAllCpuFeatures};

template <class Tables, class Register>
Register crcUpdate(const Tables& tables, Register crc, const std::uint8_t* bytes,
                   std::size_t length) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx512Clmul) && length >= kCrcAvx512ClmulMinLength) {
        return CrcUpdateAvx512(tables, crc, bytes, length);
    }
    if (CpuHas(kCpuAvx2Clmul) && length >= kCrcAvx2ClmulMinLength) {
        return CrcUpdateAvx2Clmul(tables, crc, bytes, length);
    }
    if (CpuHas(kCpuPclmul) && length >= kCrcPclmulMinLength) {
        return CrcUpdatePclmul(tables, crc, bytes, length);
    }
#endif
    return CrcUpdatePortable(tables, crc, bytes, length);
}

// BLAKE2sp's or BLAKE2bp's leaves, by the type of their states.
template <class States, class Blocks>
void compressLeaves(States states, Blocks blocks, std::size_t blockCount, std::size_t stride,
                    std::uint64_t counter) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx2)) {
        return blake2::CompressLeavesAvx2(states, blocks, blockCount, stride, counter);
    }
#endif
    blake2::CompressLeavesPortable(states, blocks, blockCount, stride, counter);
}

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

void Sha1Compress(Sha32State& state, const std::uint8_t* blocks, std::size_t blockCount) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuShaNi)) {
        return Sha1CompressShaNi(state, blocks, blockCount);
    }
#endif
    Sha1CompressPortable(state, blocks, blockCount);
}

void Sha256Compress(Sha32State& state, const std::uint8_t* blocks, std::size_t blockCount) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuShaNi)) {
        return Sha256CompressShaNi(state, blocks, blockCount);
    }
#endif
    Sha256CompressPortable(state, blocks, blockCount);
}

void Sha512Compress(Sha64State& state, const std::uint8_t* blocks, std::size_t blockCount) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx512Vl)) {
        return Sha512CompressAvx512(state, blocks, blockCount);
    }
    if (CpuHas(kCpuAvx2)) {
        return Sha512CompressAvx2(state, blocks, blockCount);
    }
#endif
    Sha512CompressPortable(state, blocks, blockCount);
}

void Md5Messages(std::span<const MessageBytes> messages, std::uint8_t* digests) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx2)) {
        return Md5MessagesAvx2(messages, digests);
    }
#endif
    Md5MessagesPortable(messages, digests);
}

void Sha1Messages(std::span<const MessageBytes> messages, std::uint8_t* digests) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx2)) {
        return Sha1MessagesAvx2(messages, digests);
    }
#endif
    Sha1MessagesPortable(messages, digests);
}

void Sha384Messages(std::span<const MessageBytes> messages, std::uint8_t* digests) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx2) && CpuHas(kCpuAvx512Vl)) {
        return Sha384MessagesAvx512(messages, digests);
    }
#endif
    Sha384MessagesPortable(messages, digests);
}

void Sha512Messages(std::span<const MessageBytes> messages, std::uint8_t* digests) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx2) && CpuHas(kCpuAvx512Vl)) {
        return Sha512MessagesAvx512(messages, digests);
    }
#endif
    Sha512MessagesPortable(messages, digests);
}

void Sha512_256Messages(std::span<const MessageBytes> messages, std::uint8_t* digests) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx2) && CpuHas(kCpuAvx512Vl)) {
        return Sha512_256MessagesAvx512(messages, digests);
    }
#endif
    Sha512_256MessagesPortable(messages, digests);
}

void Blake3Messages(std::span<const MessageBytes> messages, std::uint8_t* digests) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx512Bw)) {
        return Blake3MessagesAvx512(messages, digests);
    }
    if (CpuHas(kCpuAvx2)) {
        return Blake3MessagesAvx2(messages, digests);
    }
#endif
    Blake3MessagesPortable(messages, digests);
}

void KeccakAbsorb(KeccakState& state, const std::uint8_t* blocks, std::size_t blockCount,
                  std::size_t rate, std::size_t rounds) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx512Vl)) {
        return KeccakAbsorbAvx512(state, blocks, blockCount, rate, rounds);
    }
    if (CpuHas(kCpuAvx2)) {
        return KeccakAbsorbAvx2(state, blocks, blockCount, rate, rounds);
    }
#endif
    KeccakAbsorbPortable(state, blocks, blockCount, rate, rounds);
}

std::uint32_t CrcUpdate(const CrcTables& tables, std::uint32_t crc, const std::uint8_t* bytes,
                        std::size_t length) {
    return crcUpdate(tables, crc, bytes, length);
}

std::uint64_t CrcUpdate(const Crc64Tables& tables, std::uint64_t crc, const std::uint8_t* bytes,
                        std::size_t length) {
    return crcUpdate(tables, crc, bytes, length);
}

void Adler32Update(Adler32State& state, const std::uint8_t* bytes, std::uint32_t length) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx2)) {
        state = Adler32UpdateAvx2(state, bytes, length);
        return;
    }
#endif
    state = Adler32UpdatePortable(state, bytes, length);
}

namespace xxhash {

void AccumulateStripes(Accumulators& accumulators, const std::uint8_t* stripes,
                       std::size_t stripeCount, std::size_t stripeInBlock) {
#if defined(TOLVEK_X86)
    if (CpuHas(kCpuAvx512Bw)) {
        return AccumulateStripesAvx512(accumulators, stripes, stripeCount, stripeInBlock);
    }
    if (CpuHas(kCpuAvx2)) {
        return AccumulateStripesAvx2(accumulators, stripes, stripeCount, stripeInBlock);
    }
#endif
    AccumulateStripesPortable(accumulators, stripes, stripeCount, stripeInBlock);
}

}  // namespace xxhash

namespace blake2 {

void CompressLeaves(std::array<std::array<std::uint32_t, 8>*, 8> states,
                    std::array<const std::uint8_t*, 8> blocks, std::size_t blockCount,
                    std::size_t stride, std::uint64_t counter) {
    compressLeaves(states, blocks, blockCount, stride, counter);
}

void CompressLeaves(std::array<std::array<std::uint64_t, 8>*, 4> states,
                    std::array<const std::uint8_t*, 4> blocks, std::size_t blockCount,
                    std::size_t stride, std::uint64_t counter) {
    compressLeaves(states, blocks, blockCount, stride, counter);
}

}  // namespace blake2

namespace kt128 {

void HashLeaves(const std::uint8_t* chunks, std::size_t count, std::uint8_t* values) {
#if defined(TOLVEK_X86)
    const auto runLanes = [&](std::size_t lanes, LeafHashing kernel) {
        for (; count >= lanes; count -= lanes) {
            kernel(chunks, lanes, values);
            chunks += lanes * kChunkSize;
            values += lanes * kChainingValueSize;
        }
    };
    if (CpuHas(kCpuAvx512Bw)) {
        runLanes(8, HashLeavesAvx512);
    }
    if (CpuHas(kCpuAvx2)) {
        runLanes(4, HashLeavesAvx2);
    }
#endif
    HashLeavesPortable(chunks, count, values);
}

}  // namespace kt128

namespace blake3 {

void HashMany(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
              std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
              std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
              std::uint8_t* out) {
#if defined(TOLVEK_X86)
    const auto runLanes = [&](std::size_t lanes, auto kernel) {
        for (; count >= lanes; count -= lanes) {
            kernel(key, inputs, lanes, blockCount, counter, incrementCounter, flags, startFlags,
                   endFlags, out);
            inputs += lanes * blockCount * kBlockSize;
            counter += incrementCounter ? lanes : 0;
            out += 32 * lanes;
        }
    };
    if (CpuHas(kCpuAvx512Bw)) {
        runLanes(16, HashManyAvx512);
        // A last partial group still fills one 16-lane pass better than narrower ones.
        if (count > 8) {
            runLanes(count, HashManyAvx512);
        }
    }
    if (CpuHas(kCpuAvx2)) {
        runLanes(8, HashManyAvx2);
        if (count > 2) {
            runLanes(count, HashManyAvx2);
        }
    }
#endif
    HashManyPortable(key, inputs, count, blockCount, counter, incrementCounter, flags, startFlags,
                     endFlags, out);
}

}  // namespace blake3

}  // namespace tolvek::engine
