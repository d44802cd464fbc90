// Throughput of every list entry's string route over a 1 MiB message held in memory, with all
// CPU features on every core ("entry/<id>") and on one thread ("entry/<id>/one-thread", labelled
// with the name the peer speed tables give the algorithm, which bench/compare.py pairs it by),
// and on one thread with the portable code alone and as a CPU without AVX-512 runs it
// ("path/<id>/<path>").
#include <benchmark/benchmark.h>

#include <string>

#include "app/hashing/Hashing.h"
#include "engine/CpuFeatures.h"
#include "engine/WorkerPool.h"

namespace {

using namespace tolvek;

struct FeatureSet {
    const char* name;
    unsigned features;
};

constexpr FeatureSet kFeatureSets[] = {
    {"portable", engine::kCpuNone},
    {"no-AVX-512", engine::kAllCpuFeatures & ~engine::kCpuAvx512},
};

constexpr std::size_t kEveryCore = ~std::size_t{0};

void hashEntry(benchmark::State& state, const hashing::AlgorithmEntry* entry, unsigned features,
               std::size_t threads) {
    engine::LimitCpuFeaturesForTesting(features);
    engine::WorkerPool::Shared().limitThreads(threads);
    const std::string message(static_cast<std::size_t>(state.range(0)), '\x5a');
    for (auto _ : state) {
        benchmark::DoNotOptimize(hashing::HashText(entry->stringRoute, message));
    }
    engine::WorkerPool::Shared().limitThreads(kEveryCore);
    engine::LimitCpuFeaturesForTesting(engine::kAllCpuFeatures);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    if (threads == 1 && features == engine::kAllCpuFeatures) {
        state.SetLabel(std::string(entry->peerName));
    }
}

}  // namespace

namespace tolvek::bench {

// Called from main: the table is filled only once static initialisation is over.
void RegisterEntryBenchmarks() {
    for (const hashing::AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        const std::string id(entry.id);
        benchmark::RegisterBenchmark(("entry/" + id).c_str(), hashEntry, &entry,
                                     engine::kAllCpuFeatures, kEveryCore)
            ->Arg(1024 * 1024)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("entry/" + id + "/one-thread").c_str(), hashEntry, &entry,
                                     engine::kAllCpuFeatures, 1)
            ->Arg(1024 * 1024);
        // A set that masks nothing this CPU has would only repeat "one-thread".
        for (const FeatureSet& set : kFeatureSets) {
            if ((engine::CpuFeaturesAvailable() & ~set.features) != 0) {
                benchmark::RegisterBenchmark(("path/" + id + "/" + set.name).c_str(), hashEntry,
                                             &entry, set.features, 1)
                    ->Arg(1024 * 1024);
            }
        }
    }
}

}  // namespace tolvek::bench
