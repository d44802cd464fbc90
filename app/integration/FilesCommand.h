// tolvek-files' command line: names to open in the files window, or one of its options.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvek::integration {

struct FilesCommand {
    enum class Kind { Open, InstallMenus, RemoveMenus, Help, Version, UsageError } kind;
    std::vector<std::string> names;  // Open: the names as given; UsageError: the bad option
};

// The arguments without argument 0. Options come alone; "--" ends them, so that a name may begin
// with "-"; a lone "-" is a name.
FilesCommand ParseFilesCommand(const std::vector<std::string>& arguments);

inline constexpr std::string_view kFilesUsage =
    "usage: tolvek-files [FILE|FOLDER|LIST]...\n"
    "       tolvek-files --install-menus | --remove-menus | --help | --version\n"
    "Opens the files window with the names given: lists are checked, files and folders hashed.\n"
    "While a files window runs, the names go to it instead.\n"
    "  --install-menus  add Compute digests and Check checksums to the file managers' menus\n"
    "  --remove-menus   take out again what --install-menus added\n";

}  // namespace tolvek::integration
