#include "platform/LineReader.h"

#include <algorithm>
#include <cerrno>

namespace tolvek::platform {

namespace {

// As much as a pipe holds: a FIFO's read gives what has arrived, a file's a piece this large.
constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

}  // namespace

LineReader::LineReader(ReadOnlyFile file, std::uint64_t limit)
    : m_file(std::move(file)), m_limit(limit), m_piece(kPieceBytes) {}

bool LineReader::fill() {
    if (m_ended) {
        return false;
    }
    const std::optional<std::size_t> count = m_file.read(m_piece);
    if (count && *count > 0 && (m_read += *count) > m_limit) {
        m_systemError = EFBIG;
    } else if (!count) {
        m_systemError = m_file.lastError();
    }
    m_start = 0;
    m_end = m_systemError == 0 ? count.value_or(0) : 0;
    m_ended = m_end == 0;
    return !m_ended;
}

bool LineReader::next(std::string& line, std::size_t longest) {
    line.clear();
    bool any = false;
    while (m_start < m_end || fill()) {
        any = true;
        const std::uint8_t* begin = m_piece.data() + m_start;
        const std::uint8_t* end = m_piece.data() + m_end;
        const std::uint8_t* lineFeed = std::find(begin, end, std::uint8_t{'\n'});
        const std::size_t room = longest - std::min(longest, line.size());
        line.append(reinterpret_cast<const char*>(begin),
                    std::min(static_cast<std::size_t>(lineFeed - begin), room));
        m_start = static_cast<std::size_t>(lineFeed - m_piece.data());
        if (lineFeed != end) {
            ++m_start;
            m_lineFeedEnded = true;
            return true;
        }
    }
    m_lineFeedEnded = false;
    return any && m_systemError == 0;
}

bool LineReader::waits() const {
    return m_start == m_end && !m_ended && m_file.readWouldWait();
}

std::optional<LineReader> OpenSmallTextFile(const std::string& name, std::uint64_t limit) {
    std::optional<ReadOnlyFile> file = ReadOnlyFile::open(name);
    if (!file) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> size = file->size();
    if (!size || *size < 0 || static_cast<std::uint64_t>(*size) > limit) {
        return std::nullopt;
    }
    return LineReader(std::move(*file), limit);
}

}  // namespace tolvek::platform
