// Replacing a small file so that a reader, or a crash at any moment, sees either the old or the
// whole new contents: the bytes go to a fresh file in the same folder, which is then renamed
// over the old one.
#pragma once

#include <filesystem>
#include <string_view>

namespace tolvek::platform {

// True when this process may write `name` (a file, or a folder to create files in) and its mode
// lets anyone write it. The superuser passes every permission check, so for it too a name
// without any write bit counts as read-only, as whoever took the bits away meant.
bool CanBeWritten(const std::filesystem::path& name);

// Writes `contents` as the file `name`, creating or replacing it. A symbolic link is followed:
// its final target is replaced, beside itself, and the link stays. An existing file that
// cannot be written (see CanBeWritten) is left alone, and a replaced file keeps its mode.
// Temporary files that an earlier save left behind when its program died are removed. False,
// with the old file left as it was and no temporary file left behind, when the file is
// read-only, the folder cannot be written or any step fails.
bool WriteFileAtomically(const std::filesystem::path& name, std::string_view contents);

}  // namespace tolvek::platform
