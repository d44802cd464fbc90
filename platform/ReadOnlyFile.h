// Read-only access to a named file that never blocks and never reads forever: only regular
// files and block devices are opened; FIFOs, sockets, terminals, character devices and
// directories are refused before any read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace tolvek::platform {

class ReadOnlyFile {
public:
    // Opens `name` for reading. Gives nothing when the name does not exist, cannot be opened,
    // or is not a regular file or a block device.
    static std::optional<ReadOnlyFile> open(const std::string& name);

    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    // Size in bytes, or nothing when the system cannot tell.
    std::optional<std::int64_t> size() const;

    // Moves the read position to `offset` bytes from the start.
    bool seek(std::int64_t offset);

    // Reads up to buffer.size() bytes, retrying interrupted reads. Gives the count read
    // (0 at the end of the file), or nothing on a read error.
    std::optional<std::size_t> read(std::span<std::uint8_t> buffer);

    // Reads up to buffer.size() bytes from `offset` without moving the read position, so that
    // several threads may read one file at once; otherwise as read().
    std::optional<std::size_t> readAt(std::int64_t offset, std::span<std::uint8_t> buffer) const;

private:
    explicit ReadOnlyFile(int descriptor) : m_descriptor(descriptor) {}

    int m_descriptor = -1;
};

// Hands the file's bytes from its read position to `consume`, in pieces of at most
// buffer.size() bytes: exactly `count` bytes when a count is given, else everything up to the
// file's end (for files whose size reads as 0 but which still have content, such as those under
// /proc). False when a read fails or the file ends before `count` bytes.
bool ReadPieces(ReadOnlyFile& file, std::span<std::uint8_t> buffer,
                std::optional<std::int64_t> count,
                const std::function<void(std::span<const std::uint8_t>)>& consume);

}  // namespace tolvek::platform
