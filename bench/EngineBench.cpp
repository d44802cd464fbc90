// Throughput of every engine hash type over 16 KiB and 1 MiB messages held in memory.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "bench/BenchNames.h"
#include "engine/HashEngine.h"

namespace {

using namespace tolvek::engine;

// `passes`, when given, replaces the pass count HashInit sets.
void hashMessage(benchmark::State& state, HashType type, std::optional<std::int32_t> passes) {
    const std::vector<std::uint8_t> message(static_cast<std::size_t>(state.range(0)), 0x5a);
    for (auto _ : state) {
        HashContext context;
        HashInit(&context, type);
        if (passes) {
            context.Passes = *passes;
        }
        HashUpdate(&context, message.data(), static_cast<std::uint32_t>(message.size()));
        std::string digest;
        HashFinal(&context, digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void registerIfBuilt(HashType type, const std::string& name,
                     std::optional<std::int32_t> passes = std::nullopt) {
    HashContext context;
    std::string digest;
    if (HashInit(&context, type) != kHashOk || HashFinal(&context, digest) != kHashOk) {
        return;  // not in this build
    }
    benchmark::RegisterBenchmark(("engine/" + name).c_str(), hashMessage, type, passes)
        ->Arg(16 * 1024)
        ->Arg(1024 * 1024);
}

const bool kRegistered = [] {
    for (const auto& [type, name] : tolvek::bench::EngineTypeNames()) {
        registerIfBuilt(type, name);
    }
    for (const auto& variant : tolvek::bench::EnginePassesVariants()) {
        registerIfBuilt(variant.type, variant.name, variant.passes);
    }
    return true;
}();

}  // namespace
