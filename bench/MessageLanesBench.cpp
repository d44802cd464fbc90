// MD5, SHA-1, SHA-512 and BLAKE3 of 64 messages of 8 KiB in memory, one message after another
// (MD5's scalar code, SHA-1 on the SHA extensions, SHA-512 on AVX2 and on AVX-512, BLAKE3's chunks
// of one message in lanes) and many at a time in AVX2 lanes (SHA-512 with AVX-512 VL, BLAKE3 on
// AVX-512 too); all on one core.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/Backends.h"
#include "engine/CpuFeatures.h"
#include "engine/MessageLanes.h"

namespace {

using namespace tolvek::engine;

constexpr std::size_t kMessages = 64;
constexpr std::size_t kMessageBytes = 8192;

void manyMessages(benchmark::State& state, ManyMessagesHash* hash, std::size_t digestBytes,
                  unsigned isa) {
    std::vector<std::uint8_t> bytes(kMessages * kMessageBytes);
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        bytes[index] = static_cast<std::uint8_t>(index % 251);
    }
    std::vector<MessageBytes> messages;
    for (std::size_t index = 0; index < kMessages; ++index) {
        messages.push_back(MessageBytes(bytes).subspan(index * kMessageBytes, kMessageBytes));
    }
    std::vector<std::uint8_t> digests(kMessages * digestBytes);
    LimitCpuFeaturesForTesting(isa);
    for (auto _ : state) {
        hash(messages, digests.data());
        benchmark::DoNotOptimize(digests.data());
    }
    LimitCpuFeaturesForTesting(kAllCpuFeatures);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

const bool kRegistered = [] {
    struct Path {
        const char* name;
        ManyMessagesHash* hash;
        std::size_t digestBytes;
        unsigned isa;
    };
    const Path paths[] = {
        {"md5/one-stream", Md5Messages, kMd5DigestBytes, kCpuNone},
        {"md5/avx2-lanes", Md5Messages, kMd5DigestBytes, kCpuAvx2},
        {"sha1/one-stream-shani", Sha1Messages, kSha1DigestBytes, kCpuShaNi},
        {"sha1/avx2-lanes", Sha1Messages, kSha1DigestBytes, kCpuAvx2 | kCpuShaNi},
        {"sha512/one-stream-avx2", Sha512MessagesPortable, kSha512DigestBytes, kCpuAvx2},
        {"sha512/one-stream-avx512", Sha512MessagesPortable, kSha512DigestBytes,
         kCpuAvx2 | kCpuAvx512Vl},
        {"sha512/avx512vl-lanes", Sha512Messages, kSha512DigestBytes, kCpuAvx2 | kCpuAvx512Vl},
        {"blake3/one-stream-avx2", Blake3MessagesPortable, kBlake3DigestBytes, kCpuAvx2},
        {"blake3/avx2-lanes", Blake3Messages, kBlake3DigestBytes, kCpuAvx2},
        {"blake3/one-stream-avx512", Blake3MessagesPortable, kBlake3DigestBytes,
         kCpuAvx2 | kCpuAvx512Bw},
        {"blake3/avx512-lanes", Blake3Messages, kBlake3DigestBytes, kCpuAvx2 | kCpuAvx512Bw},
    };
    for (const Path& path : paths) {
        if ((CpuFeaturesAvailable() & path.isa) == path.isa) {
            benchmark::RegisterBenchmark((std::string("ManyMessages8K/") + path.name).c_str(),
                                         manyMessages, path.hash, path.digestBytes, path.isa);
        }
    }
    return true;
}();

}  // namespace
