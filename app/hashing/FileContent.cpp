#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "app/hashing/FileReader.h"
#include "app/hashing/ReadSteps.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::hashing {

namespace {

// A file whose size reads 0 is read whole when it ends within this many bytes: most such files
// are empty, and an empty one then costs one read, no allocation and no thread.
constexpr std::size_t kProbeBytes = 4096;

}  // namespace

FileContent FileContent::Open(const std::string& name, const ReadControl& control,
                              std::span<std::uint8_t> scratch, platform::Opener* opener) {
    FileContent content;
    const platform::FileKinds kinds =
        control.readStreams ? platform::FileKinds::WithStreams : platform::FileKinds::Seekable;
    std::optional<platform::ReadOnlyFile> file =
        opener != nullptr ? opener->open(name, kinds, &content.m_systemError)
                          : platform::ReadOnlyFile::open(name, kinds, &content.m_systemError);
    const std::optional<std::int64_t> size = file ? file->sizeAtOpen() : std::nullopt;
    if (!size || *size < 0) {
        content.m_failure = ReadStatus::OpenFailed;
        content.m_systemError = file ? file->lastError() : content.m_systemError;
        return content;
    }
    const auto bytes = static_cast<std::uint64_t>(*size);
    if (bytes > 0 && bytes <= control.tuning.chunkBytes) {
        content.loadExactly(*file, static_cast<std::size_t>(bytes), scratch,
                            bytes > control.tuning.keepCachedUpTo);
        return content;
    }
    // A size of 0 may still hide content, as /proc files do: such a file is read to its end.
    if (bytes == 0 && !file->isStream() && content.loadToEnd(*file, scratch)) {
        return content;
    }
    content.m_total = bytes > 0 ? std::optional<std::uint64_t>(bytes) : std::nullopt;
    content.m_rewinds = !content.m_total && file->seek(0);
    file->adviseSequential();
    content.m_file = std::make_unique<platform::ReadOnlyFile>(std::move(*file));
    return content;
}

std::span<std::uint8_t> FileContent::target(std::size_t bytes, std::span<std::uint8_t> scratch) {
    if (scratch.size() >= bytes) {
        return scratch.first(bytes);
    }
    m_bytes = platform::ReadBuffer(bytes);
    return m_bytes.bytes();
}

void FileContent::loadExactly(platform::ReadOnlyFile& file, std::size_t bytes,
                              std::span<std::uint8_t> scratch, bool dropCached) {
    const std::span<std::uint8_t> whole = target(bytes, scratch);
    const std::optional<std::size_t> count = ReadFully(file, whole);
    m_loaded = whole.first(count.value_or(0));
    if (dropCached) {
        file.dropCached(0, 0);
    }
    if (!count || *count < bytes) {
        failed(ReadStatus::ReadFailed, file.lastError());
    }
}

bool FileContent::loadToEnd(platform::ReadOnlyFile& file, std::span<std::uint8_t> scratch) {
    std::array<std::uint8_t, kProbeBytes> probe;
    const std::optional<std::size_t> count = ReadFully(file, probe);
    if (!count) {
        failed(ReadStatus::ReadFailed, file.lastError());
        return true;
    }
    if (*count == probe.size()) {
        return false;
    }
    if (*count > 0) {
        const std::span<std::uint8_t> whole = target(*count, scratch);
        std::memcpy(whole.data(), probe.data(), *count);
        m_loaded = whole;
    }
    return true;
}

void FileContent::failed(ReadStatus status, int systemError) {
    m_failure = status;
    m_systemError = systemError;
}

FileContent::FileContent(FileContent&& other) noexcept = default;
FileContent& FileContent::operator=(FileContent&& other) noexcept = default;
FileContent::~FileContent() = default;

ReadStatus FileContent::feed(std::span<Digester* const> digesters, const ReadControl& control) {
    if (m_failure) {
        return *m_failure;
    }
    const bool again = std::exchange(m_fed, true);
    if (const std::optional<std::uint64_t> known = size()) {
        for (Digester* digester : digesters) {
            digester->expectSize(*known);
        }
    }
    if (m_file == nullptr) {
        return FeedFromMemory(m_loaded, digesters, control);
    }
    // A file of known size is read at offsets, so only one without a size needs rewinding.
    if (again && !m_total && !(m_rewinds && m_file->seek(0))) {
        m_systemError = ESPIPE;
        return ReadStatus::ReadFailed;
    }
    const ReadStatus status = ReadShared(*m_file, m_total, digesters, control);
    m_systemError = m_file->lastError();
    return status;
}

}  // namespace tolvek::hashing
