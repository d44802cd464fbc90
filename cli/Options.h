// tolvek-cli's command line, read into a request without running anything.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/ListOptions.h"

namespace tolvek::cli {

enum class ProgressMode { Automatic, Always, Never };

struct Request {
    bool list = false;
    bool help = false;
    bool selfTest = false;
    bool version = false;
    std::optional<std::string> algorithms;
    std::optional<std::string> text;
    std::optional<std::string> match;   // --match EXPECTED
    std::optional<std::string> expect;  // --expect EXPECTED
    std::vector<std::string> files;     // "-" when none is given and no -s
    ProgressMode progress = ProgressMode::Automatic;
    std::optional<std::size_t> threads;
    ListOptions lists;
};

// Reads the arguments (without the program name); nothing, after saying why and how to use the
// program on `errors`, for a usage error.
std::optional<Request> ParseArguments(const std::vector<std::string>& arguments,
                                      std::ostream& errors);

// What --help prints.
std::string HelpText();

}  // namespace tolvek::cli
