// Throughput of the SHA types on each compression path the CPU offers (portable and
// accelerated), over 16 KiB and 1 MiB messages held in memory.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/CpuFeatures.h"
#include "engine/HashEngine.h"

namespace {

using namespace tolvek::engine;

struct ShaPath {
    HashType type;
    const char* name;
    const char* pathName;
    unsigned features;  // 0 for the portable path
};

void hashOnPath(benchmark::State& state, ShaPath path) {
    LimitCpuFeaturesForTesting(path.features);
    const std::vector<std::uint8_t> message(static_cast<std::size_t>(state.range(0)), 0x5a);
    for (auto _ : state) {
        HashContext context;
        HashInit(&context, path.type);
        HashUpdate(&context, message.data(), static_cast<std::uint32_t>(message.size()));
        std::string digest;
        HashFinal(&context, digest);
        benchmark::DoNotOptimize(digest);
    }
    LimitCpuFeaturesForTesting(kAllCpuFeatures);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

const bool kRegistered = [] {
    constexpr auto kShaNi = static_cast<unsigned>(CpuFeature::ShaNi);
    constexpr auto kAvx512 = static_cast<unsigned>(CpuFeature::Avx512Vl);
    const ShaPath paths[] = {
        {HashTypeSHA1, "SHA-1", "portable", 0},     {HashTypeSHA1, "SHA-1", "SHA-NI", kShaNi},
        {HashTypeSHA256, "SHA-256", "portable", 0}, {HashTypeSHA256, "SHA-256", "SHA-NI", kShaNi},
        {HashTypeSHA384, "SHA-384", "portable", 0}, {HashTypeSHA384, "SHA-384", "AVX-512", kAvx512},
        {HashTypeSHA512, "SHA-512", "portable", 0}, {HashTypeSHA512, "SHA-512", "AVX-512", kAvx512},
    };
    for (const ShaPath& path : paths) {
        if (path.features != 0 && !CpuHas(static_cast<CpuFeature>(path.features))) {
            continue;  // the CPU lacks this path
        }
        benchmark::RegisterBenchmark(
            (std::string("path/") + path.name + "/" + path.pathName).c_str(), hashOnPath, path)
            ->Arg(16 * 1024)
            ->Arg(1024 * 1024);
    }
    return true;
}();

}  // namespace
