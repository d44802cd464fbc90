#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace tolvek::platform {

namespace {

bool writeAll(int descriptor, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(descriptor, contents.data(), contents.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Several programs may save beside each other; the process id and a counter keep their
// temporary names apart, and O_EXCL makes sure no existing file is ever written.
std::filesystem::path temporaryNameFor(const std::filesystem::path& name, unsigned attempt) {
    std::filesystem::path temporary = name;
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    return temporary;
}

constexpr unsigned kNameAttempts = 16;

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& name, std::string_view contents) {
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path temporary = temporaryNameFor(name, attempt);
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno == EEXIST) {
            continue;
        }
        if (descriptor < 0) {
            return false;
        }
        // fsync before the rename, so that after a power loss the new name never points at
        // a file whose bytes did not reach the disk.
        bool saved = writeAll(descriptor, contents) && ::fsync(descriptor) == 0;
        saved = ::close(descriptor) == 0 && saved;
        if (saved && ::rename(temporary.c_str(), name.c_str()) == 0) {
            return true;
        }
        ::unlink(temporary.c_str());
        return false;
    }
    return false;
}

}  // namespace tolvek::platform
