// The system facts the WindowSystem port reports, computed without any toolkit so that every
// front end gives the same answers.
#pragma once

#include <filesystem>
#include <string>

namespace tolvek::window {

// The last part of a file name, without its folders, as the window's texts name a file; the
// whole text when it ends with a separator.
std::string FileNameOf(const std::string& name);

// True when `name` exists (following links) and is not a directory.
bool IsExistingFile(const std::string& name);

// The folder of the running executable (from /proc/self/exe); empty when the system cannot
// tell.
std::filesystem::path ExecutableFolder();

// True when `executableFolder` is the PREFIX/bin folder of an installed copy: a folder named
// bin whose prefix holds the menu entry that installing puts beside the program
// (PREFIX/share/applications/tolvek.desktop). A build tree or a copy in a folder of its own is
// not installed.
bool IsInstalledCopy(const std::filesystem::path& executableFolder);

// The program's folder in the user's configuration: $XDG_CONFIG_HOME/tolvek when that variable
// holds an absolute path, else $HOME/.config/tolvek; empty when neither is usable. Either
// argument may be null (the variable is unset).
std::filesystem::path ConfigFolderFrom(const char* xdgConfigHome, const char* home);

// ConfigFolderFrom over this process's environment.
std::filesystem::path ConfigFolder();

}  // namespace tolvek::window
