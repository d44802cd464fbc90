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
    std::vector<std::string> files;     // "-" when none is given and no -s nor names file
    // --files0-from F (names ended by NUL) or --files-from F (by line feeds): the file, "-"
    // for standard input, whose names are hashed instead of the files given.
    std::optional<std::string> namesFrom;
    char namesEnd = '\0';
    ProgressMode progress = ProgressMode::Automatic;
    std::optional<std::size_t> threads;
    // -l/--length BITS (bytes when called as b3sum, turned into bits before the run).
    std::optional<std::size_t> lengthBits;
    std::optional<std::string> keyFile;       // --key-file FILE
    std::optional<std::string> deriveKey;     // --derive-key CONTEXT
    std::optional<std::string> hmacKeyFile;   // --hmac KEYFILE
    ListOptions lists;
};

// Reads the arguments (without the program name); nothing, after saying why and how to use the
// program on `errors`, for a usage error.
std::optional<Request> ParseArguments(const std::vector<std::string>& arguments,
                                      std::ostream& errors);

// What --help prints.
std::string HelpText();

}  // namespace tolvek::cli
