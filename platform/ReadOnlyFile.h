// Read-only access to a named file that never blocks and never reads forever: only regular
// files and block devices are opened; FIFOs, sockets, terminals, character devices and
// directories are refused before any read, unless the caller asks for streams as well.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace tolvek::platform {

// What may be opened: files with an end, or also FIFOs and character devices, which a command
// line names on purpose (`<(cmd)`, /dev/stdin) and which are read until they end. Opening never
// waits, not even for a FIFO's writer: a stream's first read does (see read()).
enum class FileKinds { Seekable, WithStreams };

// What a look at a name tells without opening it: opening a FIFO lets its waiting writer go on,
// which then fails if the FIFO is closed unread.
struct NameLook {
    bool stream = false;               // a FIFO or character device
    std::optional<std::int64_t> size;  // a regular file's size
};

class ReadOnlyFile {
public:
    // Opens `name` for reading. Gives nothing when the name does not exist, cannot be opened,
    // or is not of the `kinds` asked for; `failure` then receives the system's error number
    // (EISDIR for a directory, ENXIO for any other kind refused).
    static std::optional<ReadOnlyFile> open(const std::string& name,
                                            FileKinds kinds = FileKinds::Seekable,
                                            int* failure = nullptr);

    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    // Size in bytes, or nothing when the system cannot tell.
    std::optional<std::int64_t> size() const;
    // The size as it was when the file was opened, which costs no second look.
    std::optional<std::int64_t> sizeAtOpen() const { return m_sizeAtOpen; }
    // A FIFO or character device: read in order only, once.
    bool isStream() const { return m_stream; }

    // Moves the read position to `offset` bytes from the start.
    bool seek(std::int64_t offset);

    // Reads up to buffer.size() bytes, retrying interrupted reads. Gives the count read
    // (0 at the end of the file), or nothing on a read error, whose error number
    // lastError() then gives. A stream's first read waits until a writer has written or come
    // and gone, as opening it waiting would have, and every read of it waits from then on.
    std::optional<std::size_t> read(std::span<std::uint8_t> buffer);
    int lastError() const { return m_lastError.load(std::memory_order_relaxed); }

    // Whether a read would wait for a stream's writer: nothing to read yet, the stream not ended.
    bool readWouldWait() const;

    // Reads up to buffer.size() bytes from `offset` without moving the read position, so that
    // several threads may read one file at once; otherwise as read().
    std::optional<std::size_t> readAt(std::int64_t offset, std::span<std::uint8_t> buffer) const;

    // Tells the system the file will be read from start to end, so that it reads further ahead.
    void adviseSequential() const;
    // Whether the byte at `offset` is in the page cache, so that reading it waits for no device;
    // true when the system cannot tell.
    bool cachedAt(std::int64_t offset) const;
    // Tells the system the bytes from `offset` are read and need not stay in the page cache
    // (`length` 0: to the end). Pages not yet written back stay.
    void dropCached(std::int64_t offset, std::int64_t length) const;

private:
    friend class Opener;

    explicit ReadOnlyFile(int descriptor) : m_descriptor(descriptor) {}
    // `name` within the folder `folder` (a descriptor, or AT_FDCWD). A name that `look` found to
    // be a regular file is taken to be one still, of the size found, with no second look: one
    // replaced since by a FIFO or folder fails its reads, unwaited.
    static std::optional<ReadOnlyFile> openIn(int folder, const char* name, FileKinds kinds,
                                              int* failure, const NameLook* look);
    bool awaitWriter();

    int m_descriptor = -1;
    std::optional<std::int64_t> m_sizeAtOpen;
    bool m_stream = false;
    bool m_awaitsWriter = false;  // a stream not read yet, still opened without waiting
    // Written by the threads that readAt() at once.
    mutable std::atomic<int> m_lastError = 0;
};

// Opens many files one after another, as each thread of a many-file run does. The folder of the
// last name stays open, so that the system looks up the files of one folder by their last part
// alone, however long the path; and a regular file that look() has just found is opened with no
// second look. Meant to live no longer than a batch of names: a folder renamed meanwhile would
// stay the one opened.
class Opener {
public:
    Opener() = default;
    Opener(const Opener&) = delete;
    Opener& operator=(const Opener&) = delete;
    ~Opener();

    // Nothing when `name` cannot be looked at; opening it then tells why.
    std::optional<NameLook> look(const std::string& name);
    // As ReadOnlyFile::open.
    std::optional<ReadOnlyFile> open(const std::string& name, FileKinds kinds, int* failure);

private:
    // The descriptor of `name`'s folder (AT_FDCWD for a name without one, or a folder that
    // cannot be opened, when the name is used whole) and the part of `name` to use within it.
    std::pair<int, const char*> place(const std::string& name);

    std::string m_folderName;
    int m_folder = -1;
    std::string m_lookedAt;
    std::optional<NameLook> m_look;
};

// Hands the file's bytes from its read position to `consume`, in pieces of at most
// buffer.size() bytes: exactly `count` bytes when a count is given, else everything up to the
// file's end (for files whose size reads as 0 but which still have content, such as those under
// /proc). False when a read fails or the file ends before `count` bytes.
bool ReadPieces(ReadOnlyFile& file, std::span<std::uint8_t> buffer,
                std::optional<std::int64_t> count,
                const std::function<void(std::span<const std::uint8_t>)>& consume);

}  // namespace tolvek::platform
