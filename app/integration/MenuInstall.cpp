#include "app/integration/MenuInstall.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "app/integration/MenuShims.h"
#include "app/integration/ThunarActions.h"
#include "platform/AtomicFile.h"

namespace tolvek::integration {

namespace fs = std::filesystem;

namespace {

const fs::path kThunarFile = fs::path("Thunar") / "uca.xml";

fs::path homeOr(const char* value, const char* home, const char* underHome) {
    if (value != nullptr && fs::path(value).is_absolute()) {
        return value;
    }
    if (home != nullptr && fs::path(home).is_absolute()) {
        return fs::path(home) / underHome;
    }
    return {};
}

std::vector<fs::path> dirsOr(const char* value, std::vector<fs::path> fallback) {
    std::vector<fs::path> dirs;
    std::stringstream list(value != nullptr ? value : "");
    for (std::string entry; std::getline(list, entry, ':');) {
        if (fs::path(entry).is_absolute()) {
            dirs.emplace_back(entry);
        }
    }
    return dirs.empty() ? fallback : dirs;
}

std::optional<std::string> readFile(const fs::path& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

bool isOurs(const fs::path& name) {
    const std::optional<std::string> contents = readFile(name);
    return contents && contents->find("# " + std::string(kShimMarker)) != std::string::npos;
}

std::optional<fs::path> systemCopy(const MenuFolders& folders, const fs::path& relative) {
    for (const fs::path& dir : folders.dataDirs) {
        std::error_code ignored;
        if (fs::exists(dir / relative, ignored)) {
            return dir / relative;
        }
    }
    return std::nullopt;
}

bool writeShim(const fs::path& target, const ShimFile& shim) {
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error || !platform::WriteFileAtomically(target, shim.contents)) {
        return false;
    }
    using fs::perms;
    const perms mode = perms::owner_read | perms::owner_write | perms::group_read |
                       perms::others_read |
                       (shim.executable ? perms::owner_exec | perms::group_exec | perms::others_exec
                                        : perms::none);
    fs::permissions(target, mode, error);
    return !error;
}

void installShim(const MenuFolders& folders, const ShimFile& shim, MenuReport& report) {
    const fs::path target = folders.dataHome / shim.relative;
    if (const std::optional<fs::path> provided = shim.systemWide ? systemCopy(folders, shim.relative)
                                                                 : std::nullopt) {
        report.lines.push_back("Already installed for every user: " + provided->string());
        return;
    }
    std::error_code ignored;
    if (fs::exists(target, ignored) && !isOurs(target)) {
        report.lines.push_back("Left alone, not written by tolvek-files: " + target.string());
        return;
    }
    if (!writeShim(target, shim)) {
        report.lines.push_back("Could not write " + target.string());
        report.failed = true;
        return;
    }
    report.lines.push_back("Installed " + target.string());
}

// The user's uca.xml, else the one the system gives users who have none (which Thunar stops
// reading once the user has one, so its actions must come along), else an empty one.
std::string thunarBase(const MenuFolders& folders) {
    if (std::optional<std::string> own = readFile(folders.configHome / kThunarFile)) {
        return *own;
    }
    for (const fs::path& dir : folders.configDirs) {
        if (std::optional<std::string> system = readFile(dir / kThunarFile)) {
            return *system;
        }
    }
    return std::string(kEmptyUcaFile);
}

void mergeThunar(const std::string& base, const std::string& actions, MenuReport& report,
                 const fs::path& target, const std::string& done) {
    const std::optional<std::string> merged = MergeThunarActions(base, actions);
    if (!merged) {
        report.lines.push_back("Left alone, no <actions> element: " + target.string());
        report.failed = true;
        return;
    }
    if (*merged == base && fs::exists(target)) {
        if (!actions.empty()) {
            report.lines.push_back("Thunar's custom actions are already in " + target.string());
        }
        return;
    }
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error || !platform::WriteFileAtomically(target, *merged)) {
        report.lines.push_back("Could not write " + target.string());
        report.failed = true;
        return;
    }
    report.lines.push_back(done + target.string());
}

}  // namespace

MenuFolders MenuFoldersFrom(const char* dataHome, const char* dataDirs, const char* configHome,
                            const char* configDirs, const char* home) {
    return {homeOr(dataHome, home, ".local/share"),
            dirsOr(dataDirs, {"/usr/local/share", "/usr/share"}),
            homeOr(configHome, home, ".config"), dirsOr(configDirs, {"/etc/xdg"})};
}

MenuFolders MenuFoldersOfThisProcess() {
    return MenuFoldersFrom(std::getenv("XDG_DATA_HOME"), std::getenv("XDG_DATA_DIRS"),
                           std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_CONFIG_DIRS"),
                           std::getenv("HOME"));
}

MenuReport InstallMenus(const MenuFolders& folders, const std::string& command) {
    MenuReport report;
    if (folders.dataHome.empty() || folders.configHome.empty()) {
        return {{"No home folder: set HOME or XDG_DATA_HOME and XDG_CONFIG_HOME"}, true};
    }
    if (!IsPlainCommand(command)) {
        return {{"The program's name holds characters the menus cannot carry (only letters, "
                 "digits and / . _ + - can stand there): " + command},
                true};
    }
    for (const ShimFile& shim : MenuShims(command)) {
        installShim(folders, shim, report);
    }
    mergeThunar(thunarBase(folders), ThunarActions(command), report,
                folders.configHome / kThunarFile, "Added Thunar's custom actions to ");
    return report;
}

MenuReport RemoveMenus(const MenuFolders& folders) {
    MenuReport report;
    for (const ShimFile& shim : MenuShims("tolvek-files")) {
        const fs::path target = folders.dataHome / shim.relative;
        std::error_code error;
        if (!fs::exists(target, error) || !isOurs(target)) {
            continue;
        }
        if (!fs::remove(target, error)) {
            report.lines.push_back("Could not remove " + target.string());
            report.failed = true;
            continue;
        }
        report.lines.push_back("Removed " + target.string());
    }
    const fs::path thunar = folders.configHome / kThunarFile;
    if (std::optional<std::string> own = readFile(thunar)) {
        mergeThunar(*own, "", report, thunar, "Removed Thunar's custom actions from ");
        // A file that only the install made holds nothing now: without it Thunar reads the
        // system's actions again, as before.
        std::error_code ignored;
        if (readFile(thunar) == std::string(kEmptyUcaFile)) {
            fs::remove(thunar, ignored);
        }
    }
    return report;
}

}  // namespace tolvek::integration
