// Files the system provides whose size reads as 0 although they have content, reading any
// file's bytes with the standard library, as an independent way to the same bytes, a folder's
// names, how much of a file the page cache holds, and what a file saved holds.
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
// The same, but "<none>" when it cannot be opened, so that a missing file differs from an empty
// one.
std::string SavedBytes(const std::filesystem::path& name);

// The pages of the file `name` in the page cache, asked through mincore over a mapping of it.
// The file is written to disk first, since pages not written back cannot leave the cache.
std::size_t CachedPages(const std::string& name);

// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);

}  // namespace tolvek::testing
