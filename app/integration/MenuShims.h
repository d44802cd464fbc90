// The file managers' ways to the files window, as text files written from one table of texts:
// a KDE service menu, a Nautilus script and a nautilus-python extension, a Nemo action, a
// file-manager-actions entry (Caja), Thunar custom actions, and the files window's desktop entry
// with its actions and the checksum-list types it opens. Each runs `command` with the selected
// names; "Check checksums" appears only on checksum lists.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvek::integration {

// The first line after a file's header, by which --remove-menus knows a file as its own.
inline constexpr std::string_view kShimMarker = "tolvek-files --remove-menus removes this file";

// A shim file, named relative to the data folder it belongs in ($XDG_DATA_HOME for the user,
// /usr/share for the package).
struct ShimFile {
    std::filesystem::path relative;
    std::string contents;
    bool executable;  // KDE reads a user's service menu only when it may be run
    bool systemWide;  // the file manager also looks for it in the system's data folders
};

// The checksum-list types the window checks, and the file names each covers.
struct ListType {
    std::string_view mimeType;
    std::vector<std::string_view> globs;
};
std::span<const ListType> ChecksumListTypes();

// Every shim file, each running `command` (a program name or an absolute path without
// characters a shell or a desktop entry would read as special; see IsPlainCommand).
std::vector<ShimFile> MenuShims(const std::string& command);

// Thunar's two <action> elements, each line ending in a line feed, for its uca.xml.
std::string ThunarActions(const std::string& command);
// Their unique ids, by which a merge finds them again.
inline constexpr std::string_view kThunarIdPrefix = "tolvek-files-";

// True when `command` can stand as it is in every shim: letters, digits and / . _ + -.
bool IsPlainCommand(std::string_view command);

}  // namespace tolvek::integration
