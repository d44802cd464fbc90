// tolvek-reader-bench: what the file reader costs beside hashing in memory, measured in one run
// with the runs interleaved and the best of several kept, since the machine is shared.
//
//   tolvek-reader-bench entries [--rounds N] [ID...]   each entry over a 1 GiB cached file against
//                                                      the same digester over memory
//   tolvek-reader-bench chunks [--rounds N] [ID...]    the same for chunk sizes 256 KiB .. 8 MiB,
//                                                      with one and with two threads
//   tolvek-reader-bench together [--rounds N] [ID...]  all the entries over one 64 MiB file in one
//                                                      read against the sum of their separate reads
//   tolvek-reader-bench copies [--rounds N]            the page cache's ceiling on every core: 1 MiB
//                                                      preads alone, preads each followed by one
//                                                      pass over the bytes (the least a hash does),
//                                                      and that pass over a mapping of the file
//
// The files are made once from random bytes and read once so that they sit in the page cache:
// both lie in bench/compare_tools.sh's folder (TOLVEK_BENCH_DIR, default /tmp/tolvek-bench), the
// 1 GiB one shared with it. MB/s means 10^6 bytes per second.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <span>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "app/hashing/Hashing.h"
#include "engine/WorkerPool.h"

namespace {

using namespace tolvek;
using Clock = std::chrono::steady_clock;

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

double secondsOf(const std::function<void()>& run) {
    const Clock::time_point start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double megabytesPerSecond(std::uint64_t bytes, double seconds) {
    return double(bytes) / seconds / 1e6;
}

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

// Best of the rounds for each of several runs, which take turns within every round.
std::vector<double> bestSeconds(int rounds, const std::vector<std::function<void()>>& runs) {
    std::vector<double> best(runs.size(), 1e300);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t index = 0; index < runs.size(); ++index) {
            best[index] = std::min(best[index], secondsOf(runs[index]));
        }
    }
    return best;
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

// One pass over the bytes, the least work any hash does with them: a sum the compiler cannot drop.
std::uint64_t passOver(std::span<const std::uint8_t> bytes) {
    std::uint64_t sum = 0;
    for (std::size_t index = 0; index + 8 <= bytes.size(); index += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + index, 8);
        sum ^= word;
    }
    return sum;
}

enum class CopyWay { PreadOnly, PreadAndPass, MappedPass };

// The 1 GiB file read on every core, each thread taking every n-th MiB, in one of three ways.
void readOnEveryCore(int descriptor, CopyWay way) {
    const std::size_t cores = engine::UsableCores();
    const auto* const mapping = static_cast<const std::uint8_t*>(
        way == CopyWay::MappedPass
            ? ::mmap(nullptr, kLargeFile, PROT_READ, MAP_SHARED, descriptor, 0)
            : nullptr);
    std::atomic<std::uint64_t> sink = 0;
    {
        std::vector<std::jthread> threads;
        for (std::size_t first = 0; first < cores; ++first) {
            threads.emplace_back([&, first] {
                std::uint64_t sum = 0;
                void* buffer = std::aligned_alloc(4096, kMiB);
                for (std::uint64_t offset = first * kMiB; offset < kLargeFile;
                     offset += cores * kMiB) {
                    if (mapping) {
                        sum ^= passOver({mapping + offset, kMiB});
                    } else if (::pread(descriptor, buffer, kMiB, static_cast<off_t>(offset)) < 0) {
                        std::perror("pread");
                        std::exit(1);
                    } else if (way == CopyWay::PreadAndPass) {
                        sum ^= passOver({static_cast<const std::uint8_t*>(buffer), kMiB});
                    }
                }
                std::free(buffer);
                sink ^= sum;
            });
        }
    }
    if (mapping) {
        ::munmap(const_cast<std::uint8_t*>(mapping), kLargeFile);
    }
}

int copiesReport(const Options& options) {
    const int descriptor = ::open(largeFile().c_str(), O_RDONLY);
    const std::vector<double> best =
        bestSeconds(options.rounds, {[&] { readOnEveryCore(descriptor, CopyWay::PreadOnly); },
                                     [&] { readOnEveryCore(descriptor, CopyWay::PreadAndPass); },
                                     [&] { readOnEveryCore(descriptor, CopyWay::MappedPass); }});
    ::close(descriptor);
    std::printf("| 1 GiB on %zu cores | MB/s | of pread alone |\n|---|---:|---:|\n",
                engine::UsableCores());
    const char* const ways[] = {"pread of 1 MiB", "pread, then one pass over the bytes",
                                "one pass over a mapping of the file"};
    for (std::size_t index = 0; index < best.size(); ++index) {
        std::printf("| %s | %.0f | %.2f |\n", ways[index], megabytesPerSecond(kLargeFile, best[index]),
                    best[0] / best[index]);
    }
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
        return copiesReport(parse(argc, argv, {}));
    }
    std::fprintf(stderr,
                 "usage: tolvek-reader-bench entries|chunks|together|copies [--rounds N] [ID...]\n");
    return 2;
}
