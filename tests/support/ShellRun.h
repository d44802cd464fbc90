// Shell commands run in a folder, their output, errors and exit status kept apart.
#pragma once

#include <filesystem>
#include <string>

namespace tolvek::testing {

struct Outcome {
    std::string output;
    std::string errors;
    int exitCode = -1;
};

// Runs `command` with sh in `folder`; standard error goes through a file.
Outcome RunIn(const std::filesystem::path& folder, const std::string& command);

// `text` with every `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to);

}  // namespace tolvek::testing
