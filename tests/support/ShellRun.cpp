#include "tests/support/ShellRun.h"

#include <cstdio>
#include <memory>

namespace tolvek::testing {

namespace fs = std::filesystem;

Outcome RunIn(const fs::path& folder, const std::string& command) {
    const std::string errorsFile = (folder / ".errors").string();
    const std::string line =
        "cd '" + folder.string() + "' && (" + command + ") 2>'" + errorsFile + "'; echo \"$?\"";
    std::string output;
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(line.c_str(), "r"), ::pclose);
    char buffer[4096];
    for (std::size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
        output.append(buffer, got);
    }
    Outcome outcome;
    const std::size_t status = output.rfind('\n', output.size() - 2);
    const std::size_t statusStart = status == std::string::npos ? 0 : status + 1;
    outcome.exitCode = std::stoi(output.substr(statusStart));
    outcome.output = output.substr(0, statusStart);
    std::FILE* errors = std::fopen(errorsFile.c_str(), "rb");
    for (std::size_t got; errors && (got = std::fread(buffer, 1, sizeof buffer, errors)) > 0;) {
        outcome.errors.append(buffer, got);
    }
    if (errors != nullptr) {
        std::fclose(errors);
    }
    fs::remove(errorsFile);
    return outcome;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace tolvek::testing
