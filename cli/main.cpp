#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int exitCode = tolvek::cli::RunCli(arguments, std::cin, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? exitCode : tolvek::cli::kExitFailure;
}
