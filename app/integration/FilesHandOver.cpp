#include "app/integration/FilesHandOver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tolvek::integration {

namespace {

constexpr std::string_view kHeader = "tolvek-files 1\n";

}  // namespace

std::string EncodeNames(const std::vector<std::string>& names) {
    std::string message(kHeader);
    for (const std::string& name : names) {
        message += name;
        message += '\0';
    }
    message += '\0';
    return message;
}

DecodedNames DecodeNames(std::string_view message) {
    using State = DecodedNames::State;
    if (message.size() > kMaxMessageBytes) {
        return {State::Invalid, {}};
    }
    const std::size_t headerPart = std::min(message.size(), kHeader.size());
    if (message.substr(0, headerPart) != kHeader.substr(0, headerPart)) {
        return {State::Invalid, {}};
    }
    DecodedNames decoded{State::Incomplete, {}};
    std::size_t start = headerPart;
    while (start < message.size()) {
        const std::size_t end = message.find('\0', start);
        if (end == std::string_view::npos) {
            return {State::Incomplete, {}};
        }
        if (end == start) {
            // The empty record ends the message; nothing may follow it.
            decoded.state = end + 1 == message.size() ? State::Complete : State::Invalid;
            return decoded;
        }
        decoded.names.emplace_back(message.substr(start, end - start));
        start = end + 1;
    }
    return {State::Incomplete, {}};
}

Role ChooseRole(InstancePort& port, const std::string& message, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        switch (port.send(message)) {
            case Delivery::Delivered:
                return Role::HandedOver;
            case Delivery::Refused:
                return Role::StandAlone;
            case Delivery::NoServer:
            case Delivery::Lost:
                break;
        }
        // The lock decides between two starts at once, and outlives no process: a server that
        // died leaves a socket nobody answers on, and its lock free.
        if (port.claimServing()) {
            return Role::Serve;
        }
        port.pause();
    }
    return Role::StandAlone;
}

std::vector<std::string> AbsoluteNames(const std::vector<std::string>& names,
                                       const std::filesystem::path& workingFolder) {
    std::vector<std::string> absolute;
    absolute.reserve(names.size());
    for (const std::string& name : names) {
        const std::filesystem::path path(name);
        absolute.push_back(path.is_absolute() ? name : (workingFolder / path).string());
    }
    return absolute;
}

std::filesystem::path InstanceFolderFrom(const char* xdgRuntimeDir, const char* tmpDir,
                                         unsigned userId) {
    if (xdgRuntimeDir != nullptr && std::filesystem::path(xdgRuntimeDir).is_absolute()) {
        return xdgRuntimeDir;
    }
    const bool tmpUsable = tmpDir != nullptr && std::filesystem::path(tmpDir).is_absolute();
    return std::filesystem::path(tmpUsable ? tmpDir : "/tmp") /
           ("tolvek-" + std::to_string(userId));
}

bool PreparePrivateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    // lstat: a link planted in a shared folder would lead elsewhere.
    struct stat status{};
    return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 022) == 0;
}

}  // namespace tolvek::integration
