#include "platform/ReadOnlyFile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace tolvek::platform {

namespace {

bool isWanted(const struct stat& status, FileKinds kinds) {
    const bool stream = S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode);
    return S_ISREG(status.st_mode) || S_ISBLK(status.st_mode) ||
           (stream && kinds == FileKinds::WithStreams);
}

int refusalOf(const struct stat& status) {
    return S_ISDIR(status.st_mode) ? EISDIR : ENXIO;
}

void report(int* failure, int error) {
    if (failure != nullptr) {
        *failure = error;
    }
}

}  // namespace

std::optional<ReadOnlyFile> ReadOnlyFile::open(const std::string& name, FileKinds kinds,
                                               int* failure) {
    // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer; the type check
    // below then refuses the FIFO before anything is read. A FIFO that is wanted is opened
    // waiting, since reading one before its writer came would see its end at once.
    const int waiting = kinds == FileKinds::WithStreams ? 0 : O_NONBLOCK;
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | waiting);
    if (descriptor < 0) {
        report(failure, errno);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !isWanted(status, kinds)) {
        report(failure, refusalOf(status));
        ::close(descriptor);
        return std::nullopt;
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0) {
        ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    }
    return ReadOnlyFile(descriptor);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)), m_lastError(other.m_lastError) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_lastError = other.m_lastError;
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
    if (S_ISBLK(status.st_mode)) {
        std::uint64_t deviceBytes = 0;
        if (::ioctl(m_descriptor, BLKGETSIZE64, &deviceBytes) != 0) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(deviceBytes);
    }
    return static_cast<std::int64_t>(status.st_size);
}

bool ReadOnlyFile::seek(std::int64_t offset) {
    return offset >= 0 && ::lseek(m_descriptor, static_cast<off_t>(offset), SEEK_SET) == offset;
}

std::optional<std::size_t> ReadOnlyFile::read(std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t count = ::read(m_descriptor, buffer.data(), buffer.size());
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            m_lastError = errno;
            return std::nullopt;
        }
    }
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
