#include "app/core/LanguageFile.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::app {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Only two short lines matter; a bigger file is read no further than this.
constexpr std::size_t kReadLimit = 4096;

// Splits off the line at the start of `rest`, dropping its LF and a CR before it.
std::string takeLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (end != std::string_view::npos && line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return std::string(line);
}

std::optional<std::string> readHead(const std::filesystem::path& name) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(name.string());
    if (!file) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kReadLimit> buffer{};
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const std::optional<std::size_t> count = file->read(std::span(buffer).subspan(filled));
        if (!count) {
            return std::nullopt;
        }
        if (*count == 0) {
            break;
        }
        filled += *count;
    }
    return std::string(reinterpret_cast<const char*>(buffer.data()), filled);
}

bool canWrite(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace

std::string FormatLanguageFile(std::string_view writtenName, int algorithmPosition) {
    std::string contents(writtenName);
    contents.append(kLineEnd).append(std::to_string(algorithmPosition)).append(kLineEnd);
    return contents;
}

LanguageFileLines ParseLanguageFile(std::string_view contents) {
    LanguageFileLines lines;
    lines.language = takeLine(contents);
    lines.position = takeLine(contents);
    return lines;
}

int PositionValue(std::string_view line) {
    const bool negative = line.starts_with('-');
    if (negative || line.starts_with('+')) {
        line.remove_prefix(1);
    }
    constexpr std::int64_t kBeyondInt = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char digit : line) {
        if (digit < '0' || digit > '9') {
            break;
        }
        magnitude = std::min(magnitude * 10 + (digit - '0'), kBeyondInt);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

LanguageFile::LanguageFile(std::filesystem::path executableFolder,
                           std::filesystem::path configFolder)
    : m_executableFolder(std::move(executableFolder)), m_configFolder(std::move(configFolder)) {}

std::vector<std::filesystem::path> LanguageFile::foldersInOrder() const {
    std::vector<std::filesystem::path> folders;
    if (m_configFolder.empty() || canWrite(m_executableFolder)) {
        folders = {m_executableFolder, m_configFolder};
    } else {
        folders = {m_configFolder, m_executableFolder};
    }
    std::erase_if(folders, [](const std::filesystem::path& folder) { return folder.empty(); });
    return folders;
}

LanguageFileLines LanguageFile::read() const {
    for (const std::filesystem::path& folder : foldersInOrder()) {
        if (const std::optional<std::string> contents = readHead(folder / kLanguageFileName)) {
            return ParseLanguageFile(*contents);
        }
    }
    return {};
}

bool LanguageFile::write(std::string_view writtenName, int algorithmPosition) const {
    const std::string contents = FormatLanguageFile(writtenName, algorithmPosition);
    for (const std::filesystem::path& folder : foldersInOrder()) {
        if (folder == m_configFolder) {
            std::error_code ignored;
            std::filesystem::create_directories(folder, ignored);
        }
        if (platform::WriteFileAtomically(folder / kLanguageFileName, contents)) {
            return true;
        }
    }
    return false;
}

}  // namespace tolvek::app
