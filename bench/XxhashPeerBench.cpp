// libxxhash, the xxHash reference library, over the same 1 MiB message: the peer our XXH64 and
// XXH3 entries are measured against in the same run ("peer/libxxhash/<entry id>").
#include <benchmark/benchmark.h>
#include <xxhash.h>

#include <vector>

namespace {

using HashFunction = std::uint64_t (*)(const void*, std::size_t);

void hashWith(benchmark::State& state, HashFunction function) {
    const std::vector<std::uint8_t> message(static_cast<std::size_t>(state.range(0)), 0x5a);
    for (auto _ : state) {
        benchmark::DoNotOptimize(function(message.data(), message.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

const bool kRegistered = [] {
    const std::pair<const char*, HashFunction> peers[] = {
        {"xxh64",
         [](const void* data, std::size_t size) -> std::uint64_t { return XXH64(data, size, 0); }},
        {"xxh3",
         [](const void* data, std::size_t size) -> std::uint64_t {
             return XXH3_64bits(data, size);
         }},
        {"xxh128",
         [](const void* data, std::size_t size) -> std::uint64_t {
             return XXH3_128bits(data, size).low64;
         }},
    };
    for (const auto& [id, function] : peers) {
        benchmark::RegisterBenchmark((std::string("peer/libxxhash/") + id).c_str(), hashWith,
                                     function)
            ->Arg(1024 * 1024);
    }
    return true;
}();

}  // namespace
