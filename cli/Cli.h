// tolvek-cli: hashes files, strings or standard input by algorithm name and prints what the
// window would show.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tolvek::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs the command line `arguments` (without the program name) and gives the exit code.
int RunCli(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output,
           std::ostream& errors);

}  // namespace tolvek::cli
