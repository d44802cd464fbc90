// Replacing a small file so that a reader, or a crash at any moment, sees either the old or the
// whole new contents: the bytes go to a fresh file in the same folder, which is then renamed
// over the old one.
#pragma once

#include <filesystem>
#include <string_view>

namespace tolvek::platform {

// Writes `contents` as the file `name`, creating or replacing it. False, with the old file left
// as it was and no temporary file left behind, when the folder cannot be written or any step
// fails.
bool WriteFileAtomically(const std::filesystem::path& name, std::string_view contents);

}  // namespace tolvek::platform
