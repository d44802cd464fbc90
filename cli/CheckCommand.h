// tolvek-cli -c: checks the files that checksum lists name and reports as sha256sum -c does.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "cli/Cli.h"
#include "cli/ListOptions.h"

namespace tolvek::cli {

struct CheckRun {
    const std::vector<std::string>& lists;  // "-" is standard input
    const ListOptions& options;
    const hashing::AlgorithmEntry* forced;  // from -a, or null
    std::istream& input;
    std::ostream& output;
    std::ostream& errors;
    const CliContext& context;
};

// Gives kExitOk only when every listed file was read and matched (and, with --strict, every
// line was well formed); kExitInterrupted on Ctrl+C.
int CheckLists(const CheckRun& run);

}  // namespace tolvek::cli
