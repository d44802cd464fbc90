// Throughput of the checksums on each code path the CPU has (16 KiB and 1 MiB in memory), and of
// the whole-file checksums over a 64 MiB file in the page cache.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/Adler.h"
#include "engine/CRC1.h"
#include "engine/CRC_.h"
#include "engine/ChecksumIsa.h"

namespace {

using namespace tolvek::engine;

using Update = std::function<std::uint32_t(const std::vector<std::uint8_t>&)>;

struct Path {
    const char* name;
    unsigned isa;
};

struct Algorithm {
    const char* name;
    Update update;
    std::vector<Path> paths;
};

const std::vector<Path> kCrcPaths = {{"portable", kIsaNone},
                                     {"pclmul", kIsaPclmul},
                                     {"vpclmul-avx512", kIsaPclmul | kIsaAvx512Clmul}};
const std::vector<Path> kAdlerPaths = {{"portable", kIsaNone}, {"avx2", kIsaAvx2}};

std::uint32_t engineCrc32(const std::vector<std::uint8_t>& bytes) {
    Crc32Register crc;
    Crc32Init(crc);
    Crc32Update(crc, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return crc;
}

std::uint32_t engineCrc32MsbFirst(const std::vector<std::uint8_t>& bytes) {
    Crc32Register crc;
    Crc32Init(crc);
    Crc32UpdateMsbFirst(crc, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return crc;
}

std::uint32_t engineAdler32(const std::vector<std::uint8_t>& bytes) {
    Adler32State state;
    Adler32Init(state);
    Adler32Update(state, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return state;
}

const std::vector<Algorithm>& algorithms() {
    static const std::vector<Algorithm> all = {
        {"CRC-32", engineCrc32, kCrcPaths},
        {"CRC-32/BZIP2", engineCrc32MsbFirst, kCrcPaths},
        {"Adler-32", engineAdler32, kAdlerPaths},
        {"CRC-16/ARC",
         [](const auto& bytes) {
             return std::uint32_t{CrcArcBlock(0, bytes.data(), bytes.size())};
         },
         kCrcPaths},
        {"CRC-16/XMODEM",
         [](const auto& bytes) {
             return std::uint32_t{CrcCcittBlock(0, bytes.data(), bytes.size())};
         },
         kCrcPaths},
    };
    return all;
}

void onPath(benchmark::State& state, const Update& update, unsigned isa) {
    const std::vector<std::uint8_t> message(static_cast<std::size_t>(state.range(0)), 0x5a);
    LimitChecksumIsa(isa);
    for (auto _ : state) {
        benchmark::DoNotOptimize(update(message));
    }
    LimitChecksumIsa(~0u);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

// A 64 MiB file of varied bytes, written once and removed at exit; reading it once before
// timing puts it in the page cache.
class CachedFile {
public:
    static constexpr std::size_t kSize = 64 << 20;

    CachedFile() {
        std::string pattern = "/tmp/tolvek-bench-XXXXXX";
        const int descriptor = ::mkstemp(pattern.data());
        ::close(descriptor);
        m_name = pattern;
        std::vector<char> bytes(kSize);
        for (std::size_t index = 0; index < kSize; ++index) {
            bytes[index] = static_cast<char>((index * 2654435761u) >> 13);
        }
        std::ofstream(m_name, std::ios::binary).write(bytes.data(), kSize);
        std::uint32_t warm = 0;
        FileCrc32(m_name, warm);
    }
    ~CachedFile() { ::unlink(m_name.c_str()); }
    CachedFile(const CachedFile&) = delete;
    CachedFile& operator=(const CachedFile&) = delete;

    const std::string& name() const { return m_name; }

private:
    std::string m_name;
};

const std::string& cachedFileName() {
    static const CachedFile file;
    return file.name();
}

void wholeFile(benchmark::State& state, FileChecksum kind) {
    const std::string& name = cachedFileName();
    for (auto _ : state) {
        std::uint32_t value = 0;
        if (ChecksumFile(kind, name, value) != kHashOk) {
            state.SkipWithError("the file could not be read");
            break;
        }
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * CachedFile::kSize));
}

const bool kRegistered = [] {
    for (const Algorithm& algorithm : algorithms()) {
        for (const Path& path : algorithm.paths) {
            if ((ChecksumIsaAvailable() & path.isa) != path.isa) {
                continue;  // the CPU lacks this path
            }
            const std::string name = std::string("checksum/") + algorithm.name + "/" + path.name;
            benchmark::RegisterBenchmark(name.c_str(), onPath, algorithm.update, path.isa)
                ->Arg(16 * 1024)
                ->Arg(1024 * 1024);
        }
    }
    const std::pair<const char*, FileChecksum> files[] = {
        {"file/CRC32 (CRC-32)", FileChecksum::Crc32},
        {"file/CRC16 (CRC-16/XMODEM)", FileChecksum::Crc16Xmodem},
        {"file/ARC-CRC (CRC-16/ARC)", FileChecksum::Crc16Arc},
    };
    for (const auto& [name, kind] : files) {
        benchmark::RegisterBenchmark(name, wholeFile, kind)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
