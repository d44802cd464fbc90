// The one file reader of every route: a named file read once, sequentially, in large chunks,
// each chunk handed to any number of digesters, each digester on its own worker thread while
// the next chunk is read; a digester that hashes pieces apart (a CRC) is fed by the thread that
// read the chunk. Memory stays bounded whatever the file's size.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "app/hashing/Digester.h"
#include "engine/WorkerPool.h"
#include "platform/ReadBuffer.h"

namespace tolvek::platform {
class ReadOnlyFile;
class Opener;
}

namespace tolvek::hashing {

class Provider;

// Bytes per read of a stream, and the reader's default chunk (see ReadTuning).
inline constexpr std::size_t kReadChunk = std::size_t{1} << 20;

// The machine's memory in bytes, asked of the system once.
std::uint64_t PhysicalMemory();

// How a file is read; the defaults are the best that bench/reader measured (bench/README.md has
// the figures). Reading from the page cache is a memory copy of about 12 GB/s per core, below
// the 25-50 GB/s of the fast checksums: a second thread copying beside the one that hashes lets
// them go at nearly twice that.
struct ReadTuning {
    std::size_t chunkBytes = kReadChunk;
    // Threads that read and hash, at most one per digester fed in order and one more; all of
    // them when every digester hashes pieces apart.
    std::size_t threads = engine::UsableCores();
    // A file larger than this, or the files of a sequence once they add up to more, are dropped
    // from the page cache as they are read: reading more than the memory holds would otherwise
    // push everything else out of the cache, the user's files and programs included.
    std::uint64_t keepCachedUpTo = PhysicalMemory() / 2;
};

enum class ReadStatus {
    Complete,    // every byte of the file went to every digester
    OpenFailed,  // missing, unreadable, a directory, FIFO, socket, terminal or character device
    ReadFailed,  // a read failed, or the file ended before the size taken at the start
    Cancelled,   // the stop token was triggered; the digesters hold an unfinished message
};

struct ReadProgress {
    std::uint64_t done = 0;
    // The size taken when the file was opened; nothing while a file that reports size 0 (as
    // /proc and /sys files do) is read to its end.
    std::optional<std::uint64_t> total;
    std::chrono::steady_clock::duration elapsed{};
};

struct ReadControl {
    std::stop_token stop;
    // Called on one of the reading threads, never on two at once, at most once per
    // `progressInterval`, and once at the end of a complete read with done equal to the total.
    std::function<void(const ReadProgress&)> progress;
    std::chrono::steady_clock::duration progressInterval = std::chrono::milliseconds(100);
    ReadTuning tuning;
    // FIFOs and character devices are read to their end too: the command line reads what its
    // user names there (`<(cmd)`), while the window refuses them rather than block.
    bool readStreams = false;
};

// Reads the file `name` once and feeds all of it to every digester. The size is taken once:
// bytes appended later are not read, and a file found shorter than that once read is a read
// failure. Returns when no thread is left running; a stop request is answered between chunks,
// and within a chunk every 64 KiB. On OpenFailed and ReadFailed, `systemError` receives the
// system's error number, 0 for a file that ended early.
ReadStatus ReadFile(const std::string& name, std::span<Digester* const> digesters,
                    const ReadControl& control = {}, int* systemError = nullptr);

// One file opened for hashing, whose bytes can be fed to digesters more than once. A file of one
// chunk at most is read whole as it is opened, so that hashing it later, on any thread, reads
// nothing; a larger one is read from its start each time it is fed, as ReadFile reads.
class FileContent {
public:
    // Opens `name` as ReadFile does (`control.readStreams`, `control.tuning.chunkBytes`). A file
    // that cannot be opened or read gives a content whose every feed fails so. A file read whole
    // goes into `scratch` when it is large enough, else into memory of its own; the content then
    // holds good only until `scratch` is used again. Opened through `opener` when one is given.
    static FileContent Open(const std::string& name, const ReadControl& control,
                            std::span<std::uint8_t> scratch = {},
                            platform::Opener* opener = nullptr);

    FileContent(FileContent&& other) noexcept;
    FileContent& operator=(FileContent&& other) noexcept;
    ~FileContent();

    // Feeds every byte of the file to every digester, under `control`'s stop token, progress
    // and tuning. A FIFO or device gives its bytes once: fed again, it fails.
    ReadStatus feed(std::span<Digester* const> digesters, const ReadControl& control);

    // Whether feeding reads the file (it was too large to be read whole, or has no known size);
    // a file read whole or that failed already reads nothing more.
    bool readsWhenFed() const { return m_file != nullptr; }
    // Whether a second feed gives the same bytes again: not for a FIFO or a terminal.
    bool feedsAgain() const { return m_file == nullptr || m_total || m_rewinds; }

    // The bytes held in memory: the whole file when it was read whole, else 0.
    std::size_t loadedBytes() const { return m_loaded.size(); }
    // The file's size when it is known: read whole, or taken at the open; nothing for a file
    // that failed.
    std::optional<std::uint64_t> size() const {
        if (m_failure) {
            return std::nullopt;
        }
        return m_file ? m_total : std::optional<std::uint64_t>(m_loaded.size());
    }

    // The system's error number behind the last OpenFailed or ReadFailed, 0 for none.
    int systemError() const { return m_systemError; }

    // Every byte of a file read whole; nothing for a file read as it is fed or that failed.
    std::optional<std::span<const std::uint8_t>> wholeBytes() const {
        if (m_failure || m_file) {
            return std::nullopt;
        }
        return m_loaded;
    }

    // The digest of `provider`, worked out from wholeBytes() beforehand (with other files' at
    // once), which HashContentWith then gives instead of feeding the file to that provider.
    void keepDigest(const Provider& provider, Digest digest) {
        m_kept.emplace_back(&provider, std::move(digest));
    }
    const Digest* keptDigest(const Provider& provider) const {
        for (const auto& [kept, digest] : m_kept) {
            if (kept == &provider) {
                return &digest;
            }
        }
        return nullptr;
    }

private:
    FileContent() = default;
    // Where a file of `bytes` read whole goes.
    std::span<std::uint8_t> target(std::size_t bytes, std::span<std::uint8_t> scratch);
    void loadExactly(platform::ReadOnlyFile& file, std::size_t bytes,
                     std::span<std::uint8_t> scratch, bool dropCached);
    // Reads a file whose size reads 0 whole when it is short; false when it is longer, which the
    // caller then rewinds. A failure becomes the content's.
    bool loadToEnd(platform::ReadOnlyFile& file, std::span<std::uint8_t> scratch);
    void failed(ReadStatus status, int systemError);

    std::optional<ReadStatus> m_failure;  // OpenFailed or ReadFailed, found at the open
    platform::ReadBuffer m_bytes;  // holds m_loaded unless the caller's scratch does
    std::span<const std::uint8_t> m_loaded;  // the whole file, when it was read whole
    std::unique_ptr<platform::ReadOnlyFile> m_file;  // while it is read as it is fed
    std::optional<std::uint64_t> m_total;            // the size of a file read as it is fed
    int m_systemError = 0;
    bool m_rewinds = false;  // a file without a known size that can be read again from its start
    bool m_fed = false;
    std::vector<std::pair<const Provider*, Digest>> m_kept;
};

}  // namespace tolvek::hashing
