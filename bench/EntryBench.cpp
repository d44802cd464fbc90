// Throughput of every list entry through its string route over a 1 MiB message in memory, with
// all CPU features and on the portable code alone: "entry/<id>/<path>/<bytes>". The table is
// built during static initialisation, so these are registered from main, after it.
#include <benchmark/benchmark.h>

#include <string>

#include "app/core/AlgorithmTable.h"
#include "engine/CpuFeatures.h"

namespace {

using namespace tolvek;

void hashEntry(benchmark::State& state, const app::AlgorithmEntry* entry, unsigned features) {
    const std::string message(static_cast<std::size_t>(state.range(0)), '\x5a');
    engine::LimitCpuFeaturesForTesting(features);
    for (auto _ : state) {
        benchmark::DoNotOptimize(entry->stringRoute.hashText(message));
    }
    engine::LimitCpuFeaturesForTesting(engine::kAllCpuFeatures);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void registerEntries() {
    for (const app::AlgorithmEntry& entry : app::AlgorithmEntries()) {
        for (const auto& [path, features] :
             {std::pair{"best", engine::kAllCpuFeatures}, std::pair{"portable", 0u}}) {
            const std::string name = "entry/" + std::string(entry.id) + "/" + path;
            benchmark::RegisterBenchmark(name.c_str(), hashEntry, &entry, features)
                ->Arg(1024 * 1024);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    registerEntries();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
