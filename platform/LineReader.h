// A text file read line by line as its lines arrive, in pieces of bounded size, whatever its
// length: the checksum lists that tolvek-cli and the windows check, the sidecar files beside a
// file, sha.lng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/ReadOnlyFile.h"

namespace tolvek::platform {

class LineReader {
public:
    static constexpr std::size_t kWholeLine = std::numeric_limits<std::size_t>::max();

    // Reads `file` from its read position; reading more than `limit` bytes fails (EFBIG).
    explicit LineReader(ReadOnlyFile file,
                        std::uint64_t limit = std::numeric_limits<std::uint64_t>::max());

    // The next line without its line feed, a last line without one included. Of a line longer
    // than `longest` bytes the first `longest` are kept and the rest is skipped. False at the
    // end, and when a read failed (systemError() then says why).
    bool next(std::string& line, std::size_t longest = kWholeLine);
    // Whether the line next() gave last ended with a line feed (a file's last line may not).
    bool lineFeedEnded() const { return m_lineFeedEnded; }
    // Whether reading the next line would wait for the writer of a stream.
    bool waits() const;
    // The system's error number of a failed read, else 0.
    int systemError() const { return m_systemError; }

private:
    bool fill();

    ReadOnlyFile m_file;
    std::uint64_t m_limit;
    std::uint64_t m_read = 0;
    std::vector<std::uint8_t> m_piece;
    std::size_t m_start = 0;
    std::size_t m_end = 0;
    bool m_ended = false;
    bool m_lineFeedEnded = false;
    int m_systemError = 0;
};

// The lines of a regular file of at most `limit` bytes; nothing for a name that is missing,
// unreadable, not a regular file (a FIFO, a device, a folder) or larger, so that a huge file or
// a FIFO where a small text file was expected never stalls the caller.
std::optional<LineReader> OpenSmallTextFile(const std::string& name, std::uint64_t limit);

}  // namespace tolvek::platform
