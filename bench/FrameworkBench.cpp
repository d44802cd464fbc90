// Throughput of the framework's hash classes over 16 KiB and 1 MiB messages held in memory, one
// HashData call per message.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/DigestHashMD4.h"
#include "framework/DigestHashSapphire.h"
#include "framework/DigestHashSnefru.h"
#include "framework/DigestHashSquare.h"
#include "framework/DigestHashPanama.h"
#include "framework/DigestHashWhirlpool.h"

namespace {

using namespace tolvek::framework;

void hashMessage(benchmark::State& state, HashClassRef hashClass) {
    const std::vector<std::uint8_t> message(static_cast<std::size_t>(state.range(0)), 0x5a);
    const std::unique_ptr<TDigestHash> hash = hashClass->Create();
    for (auto _ : state) {
        hash->BeginHash();
        hash->HashData(message.data(), static_cast<std::int32_t>(message.size()));
        hash->EndHash();
        benchmark::DoNotOptimize(hash->DigestBytes());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

// Names as in the peer table.
const std::vector<std::pair<HashClassRef, std::string>> kClasses = {
    {ClassOf<THash_MD5>, "MD5"},
    {ClassOf<THash_RipeMD256>, "RIPEMD-256"},
    {ClassOf<THash_RipeMD320>, "RIPEMD-320"},
    {ClassOf<THash_Sapphire>, "Sapphire"},
    {ClassOf<THash_Square>, "Square"},
    {ClassOf<THash_Snefru128>, "Snefru-128"},
    {ClassOf<THash_Snefru256>, "Snefru-256"},
    {ClassOf<THash_Panama>, "Panama"},
    {ClassOf<THash_Whirlpool>, "Whirlpool-0"},
    {ClassOf<THash_Whirlpool1>, "Whirlpool-T"},
};

const bool kRegistered = [] {
    for (const auto& [hashClass, name] : kClasses) {
        benchmark::RegisterBenchmark(("framework/" + name).c_str(), hashMessage, hashClass)
            ->Arg(16 * 1024)
            ->Arg(1024 * 1024);
    }
    return true;
}();

}  // namespace
