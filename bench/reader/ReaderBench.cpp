// tolvek-reader-bench: what the file reader costs beside hashing in memory, measured in one run
// with the runs interleaved and the best of several kept, since the machine is shared.
//
//   tolvek-reader-bench entries [--rounds N] [ID...]   each entry over a 1 GiB cached file against
//                                                      the same digester over memory
//   tolvek-reader-bench chunks [--rounds N] [ID...]    the same for chunk sizes 256 KiB .. 8 MiB,
//                                                      with one and with two threads
//   tolvek-reader-bench together [--rounds N] [ID...]  all the entries over one 64 MiB file in one
//                                                      read against the sum of their separate reads
//   tolvek-reader-bench copies [--rounds N]            the page cache's ceiling on every core:
//                                                      preads of 64 KiB .. 4 MiB alone, each
//                                                      followed by one pass over the bytes (the
//                                                      least a hash does), and that pass over a
//                                                      mapping of the file
//   tolvek-reader-bench files [--rounds N] FOLDER...   the floor of many files on every core: each
//                                                      opened, read whole and passed over once
//
// The files are made once from random bytes and read once so that they sit in the page cache:
// both lie in bench/compare_tools.sh's folder (TOLVEK_BENCH_DIR, default /tmp/tolvek-bench), the
// 1 GiB one shared with it. MB/s means 10^6 bytes per second.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/hashing/Hashing.h"
#include "bench/reader/Floors.h"
#include "bench/reader/Timing.h"
#include "engine/WorkerPool.h"

namespace {

using namespace tolvek;
using namespace tolvek::bench;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kLargeFile = 1024 * kMiB;
constexpr std::uint64_t kSmallFile = 64 * kMiB;
// Entries slower than this in memory are timed over the small file: the reader idles beside them
// either way, and 1 GiB of MD2 alone would take a minute and a half.
constexpr double kSlowMegabytesPerSecond = 300;

std::vector<std::uint8_t> randomBytes(std::uint64_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::mt19937_64 generator(11);
    for (std::size_t index = 0; index + 8 <= bytes.size(); index += 8) {
        const std::uint64_t word = generator();
        std::copy_n(reinterpret_cast<const std::uint8_t*>(&word), 8, bytes.data() + index);
    }
    return bytes;
}

// The file `name` of `bytes` random bytes, made if missing or of another size, and read into the
// page cache.
std::string cachedFile(const std::filesystem::path& name, std::uint64_t bytes) {
    std::error_code error;
    if (std::filesystem::file_size(name, error) != bytes) {
        const std::vector<std::uint8_t> block = randomBytes(64 * kMiB);
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        for (std::uint64_t written = 0; written < bytes; written += block.size()) {
            const std::uint64_t count = std::min<std::uint64_t>(block.size(), bytes - written);
            out.write(reinterpret_cast<const char*>(block.data()),
                      static_cast<std::streamsize>(count));
        }
    }
    std::ifstream in(name, std::ios::binary);
    std::vector<char> sink(8 * kMiB);
    while (in.read(sink.data(), static_cast<std::streamsize>(sink.size()))) {
    }
    return name.string();
}

std::filesystem::path benchFolder() {
    const char* folder = std::getenv("TOLVEK_BENCH_DIR");
    const std::filesystem::path path = folder ? folder : "/tmp/tolvek-bench";
    std::filesystem::create_directories(path);
    return path;
}

std::string largeFile() { return cachedFile(benchFolder() / "big-1g", kLargeFile); }

std::string smallFile() { return cachedFile(benchFolder() / "big-64m", kSmallFile); }

// The digester fed `bytes` bytes from `memory`, one whole buffer per update.
void hashMemory(const hashing::Provider& provider, const std::vector<std::uint8_t>& memory,
                std::uint64_t bytes) {
    const std::unique_ptr<hashing::Digester> digester = provider.start();
    for (std::uint64_t done = 0; done < bytes; done += memory.size()) {
        digester->update(std::span(memory).first(
            static_cast<std::size_t>(std::min<std::uint64_t>(memory.size(), bytes - done))));
    }
    volatile bool ok = digester->finish().ok;
    (void)ok;
}

void hashFile(std::span<const hashing::Provider* const> providers, const std::string& name,
              const hashing::ReadTuning& tuning = {}) {
    hashing::ReadControl control;
    control.tuning = tuning;
    const hashing::FileDigests digests = hashing::HashFileWith(name, providers, control);
    if (digests.cancelled || !digests.outcomes.front().ok) {
        std::fprintf(stderr, "could not hash %s\n", name.c_str());
        std::exit(1);
    }
}

struct Options {
    int rounds = 3;
    std::vector<const hashing::AlgorithmEntry*> entries;
};

Options parse(int argc, char** argv, std::vector<const hashing::AlgorithmEntry*> defaults) {
    Options options;
    for (int index = 2; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (argument == "--rounds" && index + 1 < argc) {
            options.rounds = std::max(1, std::atoi(argv[++index]));
        } else if (const hashing::AlgorithmEntry* entry = hashing::FindAlgorithm(argument)) {
            options.entries.push_back(entry);
        } else {
            std::fprintf(stderr, "unknown algorithm: %s\n", argv[index]);
            std::exit(2);
        }
    }
    if (options.entries.empty()) {
        options.entries = std::move(defaults);
    }
    return options;
}

std::vector<const hashing::AlgorithmEntry*> allEntries() {
    std::vector<const hashing::AlgorithmEntry*> entries;
    for (const hashing::AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        entries.push_back(&entry);
    }
    return entries;
}

int entriesReport(const Options& options) {
    const std::string large = largeFile();
    const std::string small = smallFile();
    const std::vector<std::uint8_t> dram = randomBytes(kSmallFile);
    const std::vector<std::uint8_t> cached = randomBytes(kMiB);
    std::printf(
        "| id | memory 1 MiB MB/s | memory 64 MiB MB/s | file | file MB/s | file / 64 MiB "
        "| file / 1 MiB |\n|---|---:|---:|---|---:|---:|---:|\n");
    for (const hashing::AlgorithmEntry* entry : options.entries) {
        const hashing::Provider* const providers[] = {&entry->fileRoute};
        const double probe = megabytesPerSecond(
            kSmallFile, secondsOf([&] { hashMemory(entry->fileRoute, dram, kSmallFile); }));
        const bool slow = probe < kSlowMegabytesPerSecond;
        const std::uint64_t bytes = slow ? kSmallFile : kLargeFile;
        const std::string& name = slow ? small : large;
        const std::vector<double> best =
            bestSeconds(options.rounds, {[&] { hashMemory(entry->fileRoute, cached, bytes); },
                                         [&] { hashMemory(entry->fileRoute, dram, bytes); },
                                         [&] { hashFile(providers, name); }});
        std::printf("| %s | %.0f | %.0f | %s | %.0f | %.2fx | %.2fx |\n",
                    std::string(entry->id).c_str(), megabytesPerSecond(bytes, best[0]),
                    megabytesPerSecond(bytes, best[1]), slow ? "64 MiB" : "1 GiB",
                    megabytesPerSecond(bytes, best[2]), best[1] / best[2], best[0] / best[2]);
        std::fflush(stdout);
    }
    return 0;
}

int chunksReport(const Options& options) {
    const std::string large = largeFile();
    const std::vector<std::uint8_t> dram = randomBytes(kSmallFile);
    std::vector<hashing::ReadTuning> tunings;
    for (std::size_t threads = 1; threads <= 2; ++threads) {
        for (std::size_t chunk = 256 << 10; chunk <= 8 * kMiB; chunk *= 2) {
            tunings.push_back({chunk, threads});
        }
    }
    std::printf("| id | memory 64 MiB MB/s |");
    for (const hashing::ReadTuning& tuning : tunings) {
        std::printf(" %zu KiB x%zu |", tuning.chunkBytes >> 10, tuning.threads);
    }
    std::printf("\n|---|---:|");
    for (std::size_t index = 0; index < tunings.size(); ++index) {
        std::printf("---:|");
    }
    std::printf("\n");
    for (const hashing::AlgorithmEntry* entry : options.entries) {
        const hashing::Provider* const providers[] = {&entry->fileRoute};
        std::vector<std::function<void()>> runs = {
            [&] { hashMemory(entry->fileRoute, dram, kLargeFile); }};
        for (const hashing::ReadTuning& tuning : tunings) {
            runs.emplace_back([&, tuning] { hashFile(providers, large, tuning); });
        }
        const std::vector<double> best = bestSeconds(options.rounds, runs);
        std::printf("| %s | %.0f |", std::string(entry->id).c_str(),
                    megabytesPerSecond(kLargeFile, best[0]));
        for (std::size_t index = 1; index < best.size(); ++index) {
            std::printf(" %.0f (%.2fx) |", megabytesPerSecond(kLargeFile, best[index]),
                        best[0] / best[index]);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}

int togetherReport(const Options& options) {
    const std::string small = smallFile();
    std::vector<const hashing::Provider*> providers;
    for (const hashing::AlgorithmEntry* entry : options.entries) {
        providers.push_back(&entry->fileRoute);
    }
    std::vector<std::function<void()>> runs = {[&] { hashFile(providers, small); }};
    for (const hashing::Provider* provider : providers) {
        runs.emplace_back([&, provider] {
            const hashing::Provider* const alone[] = {provider};
            hashFile(alone, small);
        });
    }
    const std::vector<double> best = bestSeconds(options.rounds, runs);
    double sum = 0;
    double slowest = 0;
    for (std::size_t index = 1; index < best.size(); ++index) {
        sum += best[index];
        slowest = std::max(slowest, best[index]);
    }
    const std::size_t cores = engine::UsableCores();
    std::printf(
        "| entries | cores | sum alone s | slowest alone s | sum / cores s | one read s "
        "| one read / sum |\n|---:|---:|---:|---:|---:|---:|---:|\n");
    std::printf("| %zu | %zu | %.2f | %.2f | %.2f | %.2f | %.2f |\n", providers.size(), cores, sum,
                slowest, sum / cores, best[0], best[0] / sum);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "entries") {
        return entriesReport(parse(argc, argv, allEntries()));
    }
    if (mode == "chunks") {
        std::vector<const hashing::AlgorithmEntry*> defaults;
        for (const std::string_view id : {"crc32", "crc32c", "xxh3", "blake3", "sha1", "md5"}) {
            defaults.push_back(hashing::FindAlgorithm(id));
        }
        return chunksReport(parse(argc, argv, defaults));
    }
    if (mode == "together") {
        return togetherReport(parse(argc, argv, allEntries()));
    }
    if (mode == "copies") {
        return bench::copiesReport(parse(argc, argv, {}).rounds, largeFile(), kLargeFile);
    }
    if (mode == "files" && argc > 2) {
        const bool counted = argv[2] == std::string_view("--rounds") && argc > 4;
        const std::vector<std::string> folders(argv + (counted ? 4 : 2), argv + argc);
        return bench::filesReport(counted ? std::max(1, std::atoi(argv[3])) : 3, folders);
    }
    std::fprintf(stderr,
                 "usage: tolvek-reader-bench entries|chunks|together|copies [--rounds N] [ID...]\n"
                 "       tolvek-reader-bench files [--rounds N] FOLDER...\n");
    return 2;
}
