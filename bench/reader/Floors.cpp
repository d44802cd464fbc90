// The floors of bench/reader/Floors.h. Each thread reads into its own page-aligned buffer: the
// system copies out of the page cache several times as fast into one that starts on a page
// boundary.
#include "bench/reader/Floors.h"

#include <fcntl.h>
#include <immintrin.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <thread>

#include "bench/reader/Timing.h"
#include "engine/CpuFeatures.h"
#include "engine/WorkerPool.h"

namespace tolvek::bench {
namespace {

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kPage = 4 * kKiB;

std::uint64_t passOverWords(std::span<const std::uint8_t> bytes) {
    std::uint64_t sum = 0;
    std::size_t index = 0;
    for (; index + 8 <= bytes.size(); index += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + index, 8);
        sum ^= word;
    }
    for (; index < bytes.size(); ++index) {
        sum += bytes[index];
    }
    return sum;
}

// A hash reads its input with vector loads, which take the cache's lines at twice the rate of
// 8-byte ones; two accumulators keep the xors off the loads' way.
__attribute__((target("avx2"))) std::uint64_t passOverAvx2(std::span<const std::uint8_t> bytes) {
    __m256i even = _mm256_setzero_si256();
    __m256i odd = _mm256_setzero_si256();
    std::size_t index = 0;
    for (; index + 64 <= bytes.size(); index += 64) {
        const auto* block = reinterpret_cast<const __m256i*>(bytes.data() + index);
        even = _mm256_xor_si256(even, _mm256_loadu_si256(block));
        odd = _mm256_xor_si256(odd, _mm256_loadu_si256(block + 1));
    }
    const __m256i both = _mm256_xor_si256(even, odd);
    const __m128i half =
        _mm_xor_si128(_mm256_castsi256_si128(both), _mm256_extracti128_si256(both, 1));
    return std::uint64_t(_mm_cvtsi128_si64(half)) ^ std::uint64_t(_mm_extract_epi64(half, 1)) ^
           passOverWords(bytes.subspan(index));
}

bool wideLoads() {
    return engine::CpuHas(engine::kCpuAvx2);
}

// One pass over the bytes, the least work any hash does with them: a sum the compiler cannot
// drop.
std::uint64_t passOver(std::span<const std::uint8_t> bytes) {
    return wideLoads() ? passOverAvx2(bytes) : passOverWords(bytes);
}

const char* passName() {
    return wideLoads() ? "256-bit loads" : "8-byte loads";
}

std::uint8_t* pageAligned(std::size_t bytes) {
    return static_cast<std::uint8_t*>(
        std::aligned_alloc(kPage, std::max(kPage, (bytes + kPage - 1) / kPage * kPage)));
}

// Runs `share(first, threads)` for first = 0 .. threads - 1, the calling thread taking the first
// share as the tool's calling thread does.
void onEveryCore(const std::function<void(std::size_t, std::size_t)>& share) {
    const std::size_t threads = engine::UsableCores();
    std::vector<std::jthread> others;
    for (std::size_t first = 1; first < threads; ++first) {
        others.emplace_back(share, first, threads);
    }
    share(0, threads);
}

std::atomic<std::uint64_t> g_sink = 0;

[[noreturn]] void fail(const char* what, const std::string& name) {
    std::fprintf(stderr, "%s: %s: %s\n", what, name.c_str(), std::strerror(errno));
    std::exit(1);
}

enum class CopyWay { PreadOnly, PreadAndPass, MappedPass };

void readOnEveryCore(int descriptor, std::uint64_t bytes, std::size_t chunk, CopyWay way) {
    const auto* const mapping = static_cast<const std::uint8_t*>(
        way == CopyWay::MappedPass ? ::mmap(nullptr, bytes, PROT_READ, MAP_SHARED, descriptor, 0)
                                   : nullptr);
    if (mapping == MAP_FAILED) {
        fail("mmap", "the cached file");
    }
    onEveryCore([&](std::size_t first, std::size_t threads) {
        std::uint64_t sum = 0;
        std::uint8_t* const buffer = pageAligned(chunk);
        for (std::uint64_t offset = first * chunk; offset < bytes; offset += threads * chunk) {
            if (mapping) {
                sum ^= passOver({mapping + offset, chunk});
            } else if (::pread(descriptor, buffer, chunk, static_cast<off_t>(offset)) < 0) {
                fail("pread", "the cached file");
            } else if (way == CopyWay::PreadAndPass) {
                sum ^= passOver({buffer, chunk});
            }
        }
        std::free(buffer);
        g_sink ^= sum;
    });
    if (mapping) {
        ::munmap(const_cast<std::uint8_t*>(mapping), bytes);
    }
}

// The files to read: each file's folder apart, so that every open walks one part of the path.
struct Listing {
    std::vector<std::string> folders;
    std::vector<std::pair<std::size_t, std::string>> files;  // folder index, name within it
    std::size_t largest = 0;
    std::uint64_t bytes = 0;
};

Listing listFiles(const std::vector<std::string>& roots) {
    Listing listing;
    std::map<std::string, std::size_t> folderIndex;
    for (const std::string& root : roots) {
        std::error_code error;
        const std::filesystem::recursive_directory_iterator walk(root, error);
        if (error) {
            std::fprintf(stderr, "%s: %s\n", root.c_str(), error.message().c_str());
            std::exit(2);
        }
        for (const auto& entry : walk) {
            if (!entry.is_regular_file()) {
                continue;
            }
            const std::string folder = entry.path().parent_path().string();
            const auto [found, added] = folderIndex.emplace(folder, listing.folders.size());
            if (added) {
                listing.folders.push_back(folder);
            }
            listing.files.emplace_back(found->second, entry.path().filename().string());
            listing.largest = std::max<std::size_t>(listing.largest, entry.file_size());
            listing.bytes += entry.file_size();
        }
    }
    return listing;
}

enum class FileWay { StatusAfterOpen, LookBeforeOpen };

void readFiles(const Listing& listing, FileWay way) {
    std::vector<int> folders;
    for (const std::string& name : listing.folders) {
        folders.push_back(::open(name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (folders.back() < 0) {
            fail("open", name);
        }
    }
    onEveryCore([&](std::size_t first, std::size_t threads) {
        std::uint64_t sum = 0;
        std::uint8_t* const buffer = pageAligned(listing.largest);
        for (std::size_t index = first; index < listing.files.size(); index += threads) {
            const auto& [folder, name] = listing.files[index];
            struct stat status {};
            if (way == FileWay::LookBeforeOpen &&
                ::fstatat(folders[folder], name.c_str(), &status, 0) != 0) {
                fail("fstatat", name);
            }
            const int descriptor = ::openat(folders[folder], name.c_str(), O_RDONLY | O_CLOEXEC);
            if (descriptor < 0 ||
                (way == FileWay::StatusAfterOpen && ::fstat(descriptor, &status) != 0)) {
                fail("open", name);
            }
            const auto size = static_cast<std::size_t>(status.st_size);
            if (size > listing.largest || ::read(descriptor, buffer, size) != ssize_t(size)) {
                fail("read", name);
            }
            sum ^= passOver({buffer, size});
            ::close(descriptor);
        }
        std::free(buffer);
        g_sink ^= sum;
    });
    for (const int folder : folders) {
        ::close(folder);
    }
}

}  // namespace

int copiesReport(int rounds, const std::string& name, std::uint64_t bytes) {
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        fail("open", name);
    }
    const std::size_t chunks[] = {64 * kKiB, 256 * kKiB, 1024 * kKiB, 4096 * kKiB};
    std::vector<std::function<void()>> runs;
    for (const std::size_t chunk : chunks) {
        runs.emplace_back([=] { readOnEveryCore(descriptor, bytes, chunk, CopyWay::PreadOnly); });
        runs.emplace_back(
            [=] { readOnEveryCore(descriptor, bytes, chunk, CopyWay::PreadAndPass); });
    }
    runs.emplace_back(
        [=] { readOnEveryCore(descriptor, bytes, 1024 * kKiB, CopyWay::MappedPass); });
    const std::vector<double> best = bestSeconds(rounds, runs);
    ::close(descriptor);
    std::printf(
        "| %llu MiB on %zu cores, chunk | pread MB/s | pread, then one pass (%s) MB/s "
        "| of pread alone |\n|---|---:|---:|---:|\n",
        static_cast<unsigned long long>(bytes >> 20), engine::UsableCores(), passName());
    for (std::size_t index = 0; index < std::size(chunks); ++index) {
        const double alone = best[2 * index];
        const double passed = best[2 * index + 1];
        std::printf("| %zu KiB | %.0f | %.0f | %.2f |\n", chunks[index] / kKiB,
                    megabytesPerSecond(bytes, alone), megabytesPerSecond(bytes, passed),
                    alone / passed);
    }
    const double bestAlone = std::min({best[0], best[2], best[4], best[6]});
    std::printf(
        "\nOne pass over a mapping of the file, 1 MiB at a time: %.0f MB/s, %.2f of the "
        "fastest pread alone.\n",
        megabytesPerSecond(bytes, best.back()), bestAlone / best.back());
    return 0;
}

int filesReport(int rounds, const std::vector<std::string>& folders) {
    const Listing listing = listFiles(folders);
    if (listing.files.empty()) {
        std::fprintf(stderr, "no files under the folders named\n");
        return 2;
    }
    const std::vector<double> best =
        bestSeconds(rounds, {[&] { readFiles(listing, FileWay::StatusAfterOpen); },
                             [&] { readFiles(listing, FileWay::LookBeforeOpen); }});
    std::printf(
        "| %zu files (%.1f MB) in %zu folders, %zu threads, one pass of %s | best wall "
        "ms |\n|---|---:|\n",
        listing.files.size(), double(listing.bytes) / 1e6, listing.folders.size(),
        engine::UsableCores(), passName());
    std::printf("| open, fstat, read, one pass, close | %.1f |\n", best[0] * 1e3);
    std::printf("| fstatat, then open, read, one pass, close | %.1f |\n", best[1] * 1e3);
    return 0;
}

}  // namespace tolvek::bench
