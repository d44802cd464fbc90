#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <string>

namespace tolvek::platform {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr unsigned kNameAttempts = 16;
// As many links as the kernel follows in one path.
constexpr int kMostLinks = 40;

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
fs::path temporaryNameFor(const fs::path& name, unsigned attempt) {
    fs::path temporary = name;
    temporary += std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" +
                 std::to_string(attempt);
    return temporary;
}

// The file a name stands for once its symbolic links are followed; nothing for a loop.
std::optional<fs::path> finalTarget(fs::path name) {
    for (int link = 0; link < kMostLinks; ++link) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(name, error))) {
            return name;
        }
        const fs::path target = fs::read_symlink(name, error);
        if (error) {
            return std::nullopt;
        }
        name = target.is_absolute() ? target : name.parent_path() / target;
    }
    return std::nullopt;
}

// The process id in a temporary name of `name`'s saves; nothing for any other name.
std::optional<pid_t> saverOf(const fs::path& candidate, const fs::path& name) {
    const std::string prefix = name.filename().string() + std::string(kTemporaryMark);
    const std::string file = candidate.filename().string();
    if (!file.starts_with(prefix)) {
        return std::nullopt;
    }
    pid_t saver = 0;
    const char* const first = file.data() + prefix.size();
    const auto [end, error] = std::from_chars(first, file.data() + file.size(), saver);
    if (error != std::errc{} || end == first || *end != '-') {
        return std::nullopt;
    }
    return saver;
}

// A save runs to its end or its program dies; a program that is gone (or this one, which is not
// saving now) leaves no save in progress behind its temporary file.
bool saveInProgress(pid_t saver) {
    return saver != ::getpid() && (::kill(saver, 0) == 0 || errno == EPERM);
}

void removeLeftTemporaries(const fs::path& name) {
    std::error_code error;
    for (fs::directory_iterator entry(name.parent_path(), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::optional<pid_t> saver = saverOf(entry->path(), name);
        if (saver && !saveInProgress(*saver)) {
            ::unlink(entry->path().c_str());
        }
    }
}

// The mode for the new file: the replaced file's, or the usual one for a new file.
std::optional<mode_t> keptMode(const fs::path& name) {
    struct stat status {};
    if (::stat(name.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return status.st_mode & 07777;
}

bool replaceThroughTemporary(const fs::path& name, std::string_view contents) {
    const std::optional<mode_t> mode = keptMode(name);
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        const fs::path temporary = temporaryNameFor(name, attempt);
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
        bool saved = (!mode || ::fchmod(descriptor, *mode) == 0) &&
                     writeAll(descriptor, contents) && ::fsync(descriptor) == 0;
        saved = ::close(descriptor) == 0 && saved;
        if (saved && ::rename(temporary.c_str(), name.c_str()) == 0) {
            return true;
        }
        ::unlink(temporary.c_str());
        return false;
    }
    return false;
}

}  // namespace

bool CanBeWritten(const fs::path& name) {
    struct stat status {};
    constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
    return ::stat(name.c_str(), &status) == 0 && (status.st_mode & kAnyWrite) != 0 &&
           ::access(name.c_str(), W_OK) == 0;
}

bool WriteFileAtomically(const fs::path& name, std::string_view contents) {
    const std::optional<fs::path> target = finalTarget(name);
    std::error_code ignored;
    if (!target || (fs::exists(*target, ignored) && !CanBeWritten(*target))) {
        return false;
    }
    removeLeftTemporaries(*target);
    return replaceThroughTemporary(*target, contents);
}

}  // namespace tolvek::platform
