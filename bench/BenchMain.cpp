// tolvek-bench's entry point: the benchmarks over the list entries are registered here, after
// static initialisation has filled the table; the others register themselves.
#include <benchmark/benchmark.h>

namespace tolvek::bench {
void RegisterEntryBenchmarks();
}

int main(int argc, char** argv) {
    tolvek::bench::RegisterEntryBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
