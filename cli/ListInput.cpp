#include "cli/ListInput.h"

#include <sys/stat.h>

#include <istream>
#include <streambuf>
#include <vector>

#include "platform/ReadOnlyFile.h"

namespace tolvek::cli {

namespace {

// As much as a pipe holds: a FIFO's read gives what has arrived, a file's a piece this large.
constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

}  // namespace

// The bytes of a named list, with what its reads failed with.
class ListInput::FileBuffer final : public std::streambuf {
public:
    explicit FileBuffer(platform::ReadOnlyFile file)
        : m_file(std::move(file)), m_bytes(kPieceBytes) {}

    bool waits() const { return gptr() == egptr() && m_file.readWouldWait(); }
    int systemError() const { return m_systemError; }

private:
    int_type underflow() override {
        const std::optional<std::size_t> count =
            m_file.read({reinterpret_cast<std::uint8_t*>(m_bytes.data()), m_bytes.size()});
        if (!count || *count == 0) {
            m_systemError = count ? 0 : m_file.lastError();
            return traits_type::eof();
        }
        setg(m_bytes.data(), m_bytes.data(), m_bytes.data() + *count);
        return traits_type::to_int_type(m_bytes.front());
    }

    platform::ReadOnlyFile m_file;
    std::vector<char> m_bytes;
    int m_systemError = 0;
};

ListInput::ListInput(const std::string& listPath, std::istream& standardInput) {
    if (listPath == "-") {
        m_stream = &standardInput;
        m_isStream = true;
        return;
    }
    struct stat status {};
    m_isStream = ::stat(listPath.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
    std::optional<platform::ReadOnlyFile> file =
        platform::ReadOnlyFile::open(listPath, platform::FileKinds::WithStreams, &m_openError);
    if (file) {
        m_file = std::make_unique<FileBuffer>(std::move(*file));
        m_fileStream = std::make_unique<std::istream>(m_file.get());
        m_stream = m_fileStream.get();
    }
}

ListInput::~ListInput() = default;

bool ListInput::nextLine(std::string& line, char end) {
    return m_stream != nullptr && std::getline(*m_stream, line, end);
}

bool ListInput::waits() const {
    if (m_file) {
        return m_file->waits();
    }
    // Standard input asks the system how much is there, without reading.
    return m_stream != nullptr && m_stream->rdbuf()->in_avail() == 0;
}

int ListInput::systemError() const {
    return m_file ? m_file->systemError() : m_openError;
}

}  // namespace tolvek::cli
