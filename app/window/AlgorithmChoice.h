// The algorithms the user last chose in the files window's picker, kept between runs in a small
// file of the configuration folder: one id per line, so that a later version reading it skips
// the ids it does not have and keeps the rest.
#pragma once

#include <filesystem>
#include <vector>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::window {

// The file's entries in its order; empty when there is no file, it cannot be read, or it names
// no entry this program has.
std::vector<const hashing::AlgorithmEntry*> ReadAlgorithmChoice(const std::filesystem::path& file);

// Replaces the file atomically, creating its folder; false when that fails.
bool SaveAlgorithmChoice(const std::filesystem::path& file,
                         const std::vector<const hashing::AlgorithmEntry*>& entries);

}  // namespace tolvek::window
