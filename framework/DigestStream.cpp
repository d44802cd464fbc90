#include "framework/DigestStream.h"

#include <algorithm>
#include <optional>

namespace tolvek::framework {

namespace {

platform::ReadOnlyFile openFile(const std::string& fileName) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(fileName);
    if (!file) {
        throw EFileOpenError("Cannot open file \"" + fileName + "\"");
    }
    return std::move(*file);
}

std::int64_t sizeOf(const platform::ReadOnlyFile& file, const std::string& fileName) {
    const std::optional<std::int64_t> size = file.size();
    if (!size) {
        throw EFileOpenError("Cannot tell the size of file \"" + fileName + "\"");
    }
    return *size;
}

}  // namespace

std::size_t ByteStream::ReadAvailable(std::span<std::uint8_t> buffer) {
    const std::int64_t left = std::max<std::int64_t>(Size() - Position(), 0);
    const auto count =
        static_cast<std::size_t>(std::min(left, static_cast<std::int64_t>(buffer.size())));
    ReadExactly(buffer.first(count));
    return count;
}

FileStream::FileStream(const std::string& fileName)
    : m_file(openFile(fileName)), m_size(sizeOf(m_file, fileName)) {}

void FileStream::SetPosition(std::int64_t position) {
    if (!m_file.seek(position)) {
        throw EStreamReadError("Stream seek error");
    }
    m_position = position;
}

void FileStream::ReadExactly(std::span<std::uint8_t> buffer) {
    while (!buffer.empty()) {
        const std::optional<std::size_t> count = m_file.read(buffer);
        if (!count || *count == 0) {
            throw EStreamReadError("Stream read error");
        }
        buffer = buffer.subspan(*count);
        m_position += static_cast<std::int64_t>(*count);
    }
}

std::size_t FileStream::ReadAvailable(std::span<std::uint8_t> buffer) {
    const std::optional<std::size_t> count = m_file.read(buffer);
    if (!count) {
        throw EStreamReadError("Stream read error");
    }
    m_position += static_cast<std::int64_t>(*count);
    return *count;
}

}  // namespace tolvek::framework
