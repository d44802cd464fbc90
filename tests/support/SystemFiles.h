// Files the system provides whose size reads as 0 although they have content, and reading any
// file's bytes with the standard library, as an independent way to the same bytes, and the
// output of a command that judges what we wrote.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace tolvek::testing {

// Stable between two reads within one test: the kernel's version line and this process's
// own arguments.
inline constexpr std::array<const char*, 2> kZeroSizeFiles = {"/proc/version",
                                                              "/proc/self/cmdline"};

// The whole file through std::ifstream.
std::string FileContents(const std::filesystem::path& name);

// What a shell command writes on its standard output.
std::string CommandOutput(const std::string& command);

// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);

}  // namespace tolvek::testing
