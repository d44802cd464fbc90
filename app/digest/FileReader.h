// The one file reader of every route: a named file read once, sequentially, in large chunks,
// each chunk handed to any number of digesters, each digester on its own worker thread while
// the next chunk is read. Memory stays bounded whatever the file's size.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stop_token>
#include <string>

#include "app/digest/Digester.h"

namespace tolvek::digest {

// Bytes per read. Measured with bench/ReaderBench: 1 MiB chunks stay in the L2/L3 cache between
// the read and the hashing and make system calls negligible.
inline constexpr std::size_t kReadChunk = std::size_t{1} << 20;

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
    // Called on the reading thread at most once per `progressInterval`, and once at the end of
    // a complete read with done equal to the total.
    std::function<void(const ReadProgress&)> progress;
    std::chrono::steady_clock::duration progressInterval = std::chrono::milliseconds(100);
    // FIFOs and character devices are read to their end too: the command line reads what its
    // user names there (`<(cmd)`), while the window refuses them rather than block.
    bool readStreams = false;
};

// Reads the file `name` once and feeds all of it to every digester. The size is taken once:
// bytes appended later are not read. Returns when no worker is left running; a stop request is
// answered between chunks, and within a chunk every 64 KiB. On OpenFailed and ReadFailed,
// `systemError` receives the system's error number, 0 for a file that ended early.
ReadStatus ReadFile(const std::string& name, std::span<Digester* const> digesters,
                    const ReadControl& control = {}, int* systemError = nullptr);

}  // namespace tolvek::digest
