// The reader's steps that FileContent (app/hashing/FileContent.cpp) shares with the read of a
// large file (app/hashing/FileReader.cpp); not for use outside the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "app/hashing/FileReader.h"

namespace tolvek::platform {
class ReadOnlyFile;
}

namespace tolvek::hashing {

// Reads until `buffer` is full or the file ends; nothing on a read error. From `offset` when one
// is given, else from the read position.
std::optional<std::size_t> ReadFully(platform::ReadOnlyFile& file, std::span<std::uint8_t> buffer,
                                     std::optional<std::uint64_t> offset = std::nullopt);

// Reads `file` from its start (`total` bytes, or to its end when nothing is given) and feeds it
// to every digester on up to `control.tuning.threads` threads.
ReadStatus ReadShared(platform::ReadOnlyFile& file, std::optional<std::uint64_t> total,
                      std::span<Digester* const> digesters, const ReadControl& control);

// Feeds bytes held in memory to every digester and reports the progress of a complete read.
ReadStatus FeedFromMemory(std::span<const std::uint8_t> bytes,
                          std::span<Digester* const> digesters, const ReadControl& control);

}  // namespace tolvek::hashing
