// tolvek-files --install-menus and --remove-menus: the shims go into the user's XDG folders,
// except where the system's data folders already hold them (as the package installs them), and
// Thunar's actions into the user's uca.xml. Removing takes out only files that carry our marker
// and actions with our unique ids; a file of the user's that has the same name is left alone.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tolvek::integration {

struct MenuFolders {
    std::filesystem::path dataHome;                // $XDG_DATA_HOME, else ~/.local/share
    std::vector<std::filesystem::path> dataDirs;   // $XDG_DATA_DIRS, else /usr/local/share, /usr/share
    std::filesystem::path configHome;              // $XDG_CONFIG_HOME, else ~/.config
    std::vector<std::filesystem::path> configDirs; // $XDG_CONFIG_DIRS, else /etc/xdg
};

// The folders from the variables' values, any of which may be null (unset); relative entries
// are ignored, as the XDG rules say. Empty homes when neither they nor HOME are usable.
MenuFolders MenuFoldersFrom(const char* dataHome, const char* dataDirs, const char* configHome,
                            const char* configDirs, const char* home);
// MenuFoldersFrom over this process's environment.
MenuFolders MenuFoldersOfThisProcess();

// What was done, a line per file, and whether anything failed.
struct MenuReport {
    std::vector<std::string> lines;
    bool failed = false;
};

// Installs every shim, each running `command` (see IsPlainCommand), and merges Thunar's actions;
// running it again replaces what it installed.
MenuReport InstallMenus(const MenuFolders& folders, const std::string& command);
MenuReport RemoveMenus(const MenuFolders& folders);

}  // namespace tolvek::integration
