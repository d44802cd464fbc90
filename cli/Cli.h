// tolvek-cli: hashes files, strings or standard input by algorithm name and prints what the
// window would show.
#pragma once

#include <iosfwd>
#include <stop_token>
#include <string>
#include <vector>

namespace tolvek::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// As a shell reports a program ended by SIGINT.
inline constexpr int kExitInterrupted = 130;

// What the program learns from its surroundings rather than from its arguments.
struct CliContext {
    // Triggered by Ctrl+C: the file being hashed is abandoned and the run ends.
    std::stop_token interrupt;
    // Standard error is a terminal: a file that takes more than about a second shows progress
    // there unless --no-progress is given.
    bool errorsIsTerminal = false;
    // The last part of the name it was called through: as "sha256sum", "b2sum" ... (a link of
    // a digest tool's name) it acts as that tool.
    std::string programName = "tolvek-cli";
};

// Reads the command line `arguments` without running it: true when RunCli would run it, false
// after saying why on `errors` when it is a usage error.
bool CheckArguments(const std::vector<std::string>& arguments, std::ostream& errors);

// Runs the command line `arguments` (without the program name) and gives the exit code.
int RunCli(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output,
           std::ostream& errors, const CliContext& context = {});

}  // namespace tolvek::cli
