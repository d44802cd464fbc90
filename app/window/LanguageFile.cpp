#include "app/window/LanguageFile.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "app/window/SystemPaths.h"
#include "platform/AtomicFile.h"
#include "platform/LineReader.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::window {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The longest line kept: far beyond any written name or position. The rest of a longer line
// is skipped unkept, so that line 2 is found after a line 1 of any length.
constexpr std::size_t kLineLimit = 4096;
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
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(readName().string());
    if (!file) {
        return {};
    }
    // Read no further than line 2, each line cut to kLineLimit bytes; a last line without a line
    // feed stays without one, so that a CR at the file's end stays part of its line.
    platform::LineReader lines(std::move(*file));
    std::string head;
    std::string line;
    for (int count = 0; count < kLinesRead && lines.next(line, kLineLimit); ++count) {
        head.append(line).append(lines.lineFeedEnded() ? "\n" : "");
    }
    return lines.systemError() == 0 ? ParseLanguageFile(head) : LanguageFileLines{};
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
