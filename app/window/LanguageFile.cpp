#include "app/window/LanguageFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>

#include "app/window/SystemPaths.h"
#include "platform/AtomicFile.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::window {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The longest line kept: far beyond any written name or position. The rest of a longer line
// is skipped unkept, so that line 2 is found after a line 1 of any length.
constexpr std::size_t kLineLimit = 4096;
constexpr std::size_t kReadPiece = 4096;
constexpr int kLinesRead = 2;

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

// The file's first two lines with their line feeds, each line cut to kLineLimit bytes; the
// file is read no further than the end of line 2.
std::optional<std::string> readHead(const std::filesystem::path& name) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(name.string());
    if (!file) {
        return std::nullopt;
    }
    std::string head;
    std::size_t lineLength = 0;
    int lineEnds = 0;
    std::array<std::uint8_t, kReadPiece> buffer{};
    while (lineEnds < kLinesRead) {
        const std::optional<std::size_t> count = file->read(buffer);
        if (!count) {
            return std::nullopt;
        }
        if (*count == 0) {
            break;
        }
        for (const std::uint8_t byte : std::span(buffer).first(*count)) {
            if (byte == '\n') {
                head.push_back('\n');
                lineLength = 0;
                if (++lineEnds == kLinesRead) {
                    break;
                }
            } else if (lineLength++ < kLineLimit) {
                head.push_back(static_cast<char>(byte));
            }
        }
    }
    return head;
}

bool isPresent(const std::filesystem::path& name) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(name, ignored));
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

std::filesystem::path LanguageFile::savedName() const {
    if (!IsInstalledCopy(m_executableFolder) && platform::CanBeWritten(m_executableFolder)) {
        return m_executableFolder / kLanguageFileName;
    }
    return m_configFolder.empty() ? std::filesystem::path{} : m_configFolder / kLanguageFileName;
}

std::filesystem::path LanguageFile::readName() const {
    const std::filesystem::path saved = savedName();
    return !saved.empty() && isPresent(saved) ? saved : m_executableFolder / kLanguageFileName;
}

LanguageFileLines LanguageFile::read() const {
    const std::optional<std::string> head = readHead(readName());
    return head ? ParseLanguageFile(*head) : LanguageFileLines{};
}

bool LanguageFile::write(std::string_view writtenName, int algorithmPosition) const {
    const std::filesystem::path saved = savedName();
    if (saved.empty()) {
        return false;
    }
    if (saved.parent_path() == m_configFolder) {
        std::error_code ignored;
        std::filesystem::create_directories(m_configFolder, ignored);
    }
    return platform::WriteFileAtomically(saved, FormatLanguageFile(writtenName, algorithmPosition));
}

}  // namespace tolvek::window
