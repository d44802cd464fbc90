// The byte streams that whole-stream hashing reads, the file stream behind HashFile, and the
// errors of both.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "platform/ReadOnlyFile.h"

namespace tolvek::framework {

// A failure of the stream under a hash, not of the hash itself (that is EDigestException).
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file could not be opened for hashing: missing, unreadable, or not a regular file or a
// block device (directories, FIFOs, sockets, terminals and other devices are refused).
class EFileOpenError final : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// The stream failed or ended before the bytes asked for had arrived.
class EStreamReadError final : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// What whole-stream hashing needs of a stream: position, size and reading an exact count.
class ByteStream {
public:
    virtual ~ByteStream() = default;

    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;
    // Reads exactly buffer.size() bytes; raises EStreamReadError when fewer arrive.
    virtual void ReadExactly(std::span<std::uint8_t> buffer) = 0;
    // Reads up to buffer.size() bytes and gives the count, 0 at the end. This default trusts
    // Size(); a stream whose size may read as 0 while it has content reads for itself.
    virtual std::size_t ReadAvailable(std::span<std::uint8_t> buffer);
};

// A named file, opened read-only, positioned at its start.
class FileStream final : public ByteStream {
public:
    // Raises EFileOpenError when the file cannot be opened or its size cannot be told.
    explicit FileStream(const std::string& fileName);

    std::int64_t Position() const override { return m_position; }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return m_size; }
    void ReadExactly(std::span<std::uint8_t> buffer) override;
    std::size_t ReadAvailable(std::span<std::uint8_t> buffer) override;

private:
    platform::ReadOnlyFile m_file;
    std::int64_t m_size;
    std::int64_t m_position = 0;
};

}  // namespace tolvek::framework
