#include "platform/ReadOnlyFile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

namespace tolvek::platform {

namespace {

bool isStreamKind(const struct stat& status) {
    return S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode);
}

bool isWanted(const struct stat& status, FileKinds kinds) {
    return S_ISREG(status.st_mode) || S_ISBLK(status.st_mode) ||
           (isStreamKind(status) && kinds == FileKinds::WithStreams);
}

int refusalOf(const struct stat& status) {
    return S_ISDIR(status.st_mode) ? EISDIR : ENXIO;
}

std::optional<std::int64_t> sizeOf(int descriptor, const struct stat& status) {
    if (S_ISBLK(status.st_mode)) {
        std::uint64_t deviceBytes = 0;
        if (::ioctl(descriptor, BLKGETSIZE64, &deviceBytes) != 0) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(deviceBytes);
    }
    return static_cast<std::int64_t>(status.st_size);
}

void report(int* failure, int error) {
    if (failure != nullptr) {
        *failure = error;
    }
}

}  // namespace

std::optional<ReadOnlyFile> ReadOnlyFile::open(const std::string& name, FileKinds kinds,
                                               int* failure) {
    return openIn(AT_FDCWD, name.c_str(), kinds, failure, nullptr);
}

std::optional<ReadOnlyFile> ReadOnlyFile::openIn(int folder, const char* name, FileKinds kinds,
                                                 int* failure, const NameLook* look) {
    // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer; the type check
    // below then refuses an unwanted FIFO before anything is read. The flag stays on the
    // regular files and block devices that pass, whose reads it does not change; a wanted
    // stream waits at its first read instead. Opening a FIFO lets its waiting writer go on,
    // which then fails if the FIFO is closed unread: one that is wanted is kept open.
    const int descriptor = ::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        report(failure, errno);
        return std::nullopt;
    }
    if (look != nullptr && look->size) {
        ReadOnlyFile file(descriptor);
        file.m_sizeAtOpen = look->size;
        return file;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !isWanted(status, kinds)) {
        report(failure, refusalOf(status));
        ::close(descriptor);
        return std::nullopt;
    }
    ReadOnlyFile file(descriptor);
    file.m_sizeAtOpen = sizeOf(descriptor, status);
    file.m_stream = isStreamKind(status);
    file.m_awaitsWriter = file.m_stream;
    return file;
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)),
      m_sizeAtOpen(other.m_sizeAtOpen),
      m_stream(other.m_stream),
      m_awaitsWriter(other.m_awaitsWriter),
      m_lastError(other.m_lastError.load()) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_sizeAtOpen = other.m_sizeAtOpen;
        m_stream = other.m_stream;
        m_awaitsWriter = other.m_awaitsWriter;
        m_lastError = other.m_lastError.load();
    }
    return *this;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

std::optional<std::int64_t> ReadOnlyFile::size() const {
    struct stat status {};
    if (::fstat(m_descriptor, &status) != 0) {
        return std::nullopt;
    }
    return sizeOf(m_descriptor, status);
}

bool ReadOnlyFile::seek(std::int64_t offset) {
    return offset >= 0 && ::lseek(m_descriptor, static_cast<off_t>(offset), SEEK_SET) == offset;
}

namespace {

// The count a read call gave, repeating it while a signal interrupts it; on a failure the
// error number goes to `error`.
template <class ReadCall>
std::optional<std::size_t> retryingInterrupts(ReadCall call, std::atomic<int>& error) {
    for (;;) {
        const ssize_t count = call();
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            error = errno;
            return std::nullopt;
        }
    }
}

}  // namespace

std::optional<std::size_t> ReadOnlyFile::read(std::span<std::uint8_t> buffer) {
    if (m_awaitsWriter && !awaitWriter()) {
        return std::nullopt;
    }
    return retryingInterrupts([&] { return ::read(m_descriptor, buffer.data(), buffer.size()); },
                              m_lastError);
}

// A FIFO opened before its writer came gives no hang-up until a writer has come and gone
// (Linux), so this waits for the first writer's bytes or its end; then the stream reads waiting.
bool ReadOnlyFile::awaitWriter() {
    pollfd readable{m_descriptor, POLLIN, 0};
    while (::poll(&readable, 1, -1) < 0) {
        if (errno != EINTR) {
            m_lastError = errno;
            return false;
        }
    }
    const int flags = ::fcntl(m_descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(m_descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        m_lastError = errno;
        return false;
    }
    m_awaitsWriter = false;
    return true;
}

bool ReadOnlyFile::readWouldWait() const {
    pollfd readable{m_descriptor, POLLIN, 0};
    return ::poll(&readable, 1, 0) == 0;
}

std::optional<std::size_t> ReadOnlyFile::readAt(std::int64_t offset,
                                                std::span<std::uint8_t> buffer) const {
    return retryingInterrupts([&] {
        return ::pread(m_descriptor, buffer.data(), buffer.size(), static_cast<off_t>(offset));
    }, m_lastError);
}

void ReadOnlyFile::adviseSequential() const {
    ::posix_fadvise(m_descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
}

// Asked of the system without reading, which would start its read-ahead at a guess before the
// reads it is meant for: cachestat(2), Linux 6.5 on, whose number and records no older kernel
// header names.
bool ReadOnlyFile::cachedAt(std::int64_t offset) const {
    constexpr long kCachestat = 451;
    struct {
        std::uint64_t offset;
        std::uint64_t length;
    } range{static_cast<std::uint64_t>(offset), 1};
    struct {
        std::uint64_t cached, dirty, writeback, evicted, recentlyEvicted;
    } pages{};
    return ::syscall(kCachestat, m_descriptor, &range, &pages, 0) != 0 || pages.cached > 0;
}

void ReadOnlyFile::dropCached(std::int64_t offset, std::int64_t length) const {
    ::posix_fadvise(m_descriptor, static_cast<off_t>(offset), static_cast<off_t>(length),
                    POSIX_FADV_DONTNEED);
}

Opener::~Opener() {
    if (m_folder >= 0) {
        ::close(m_folder);
    }
}

std::optional<NameLook> Opener::look(const std::string& name) {
    const auto [folder, part] = place(name);
    struct stat status {};
    m_lookedAt = name;
    m_look.reset();
    if (::fstatat(folder, part, &status, 0) == 0) {
        m_look.emplace();
        m_look->stream = isStreamKind(status);
        if (S_ISREG(status.st_mode)) {
            m_look->size = static_cast<std::int64_t>(status.st_size);
        }
    }
    return m_look;
}

std::optional<ReadOnlyFile> Opener::open(const std::string& name, FileKinds kinds, int* failure) {
    const auto [folder, part] = place(name);
    const std::optional<NameLook> look =
        name == m_lookedAt ? std::exchange(m_look, std::nullopt) : std::nullopt;
    return ReadOnlyFile::openIn(folder, part, kinds, failure, look ? &*look : nullptr);
}

std::pair<int, const char*> Opener::place(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    if (slash == std::string::npos || slash + 1 == name.size()) {
        return {AT_FDCWD, name.c_str()};
    }
    const std::string_view folderName(name.data(), slash == 0 ? 1 : slash);
    if (folderName != m_folderName) {
        if (m_folder >= 0) {
            ::close(m_folder);
        }
        m_folderName = folderName;
        m_folder = ::open(m_folderName.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    if (m_folder < 0) {
        return {AT_FDCWD, name.c_str()};
    }
    return {m_folder, name.c_str() + slash + 1};
}

bool ReadPieces(ReadOnlyFile& file, std::span<std::uint8_t> buffer,
                std::optional<std::int64_t> count,
                const std::function<void(std::span<const std::uint8_t>)>& consume) {
    std::int64_t left = count.value_or(0);
    while (!count || left > 0) {
        const std::size_t request =
            count ? static_cast<std::size_t>(
                        std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size())))
                  : buffer.size();
        const std::optional<std::size_t> got = file.read(buffer.first(request));
        if (!got) {
            return false;
        }
        if (*got == 0) {
            return !count;
        }
        consume(buffer.first(*got));
        left -= static_cast<std::int64_t>(*got);
    }
    return true;
}

}  // namespace tolvek::platform
