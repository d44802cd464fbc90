#include "app/window/SystemPaths.h"

#include <cstdlib>
#include <string_view>

namespace tolvek::window {

namespace {

constexpr std::string_view kConfigSubfolder = "tolvek";
constexpr std::string_view kInstalledProgramsFolder = "bin";
constexpr std::string_view kInstalledMenuEntry = "share/applications/tolvek.desktop";

}  // namespace

std::string FileNameOf(const std::string& name) {
    const std::string last = std::filesystem::path(name).filename().string();
    return last.empty() ? name : last;
}

bool IsExistingFile(const std::string& name) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : executable.parent_path();
}

bool IsInstalledCopy(const std::filesystem::path& executableFolder) {
    if (executableFolder.filename() != kInstalledProgramsFolder) {
        return false;
    }
    std::error_code ignored;
    return std::filesystem::exists(executableFolder.parent_path() / kInstalledMenuEntry, ignored);
}

std::filesystem::path ConfigFolderFrom(const char* xdgConfigHome, const char* home) {
    // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
    if (xdgConfigHome != nullptr && std::filesystem::path(xdgConfigHome).is_absolute()) {
        return std::filesystem::path(xdgConfigHome) / kConfigSubfolder;
    }
    if (home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".config" / kConfigSubfolder;
    }
    return {};
}

std::filesystem::path ConfigFolder() {
    return ConfigFolderFrom(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

}  // namespace tolvek::window
