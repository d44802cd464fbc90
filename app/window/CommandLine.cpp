#include "app/window/CommandLine.h"

namespace tolvek::window {

namespace {

constexpr char kQuote = '"';

// Once the line is cut at its zero byte, the separators are exactly the bytes that end an
// argument: 0x01 to 0x20.
bool isBlank(char byte) {
    return static_cast<unsigned char>(byte) <= 0x20;
}

// Skips separators and empty quote pairs; gives the offset of the next argument.
std::size_t skipSeparators(std::string_view line, std::size_t offset) {
    while (offset < line.size()) {
        if (isBlank(line[offset])) {
            ++offset;
        } else if (line.substr(offset, 2) == "\"\"") {
            offset += 2;
        } else {
            break;
        }
    }
    return offset;
}

// The offset just past the argument that starts at `offset`.
std::size_t argumentEnd(std::string_view line, std::size_t offset) {
    bool quoted = false;
    for (; offset < line.size(); ++offset) {
        if (line[offset] == kQuote) {
            quoted = !quoted;
        } else if (!quoted && isBlank(line[offset])) {
            break;
        }
    }
    return offset;
}

std::string unquoted(std::string_view argument) {
    if (argument.size() > 1 && argument.front() == kQuote && argument.back() == kQuote) {
        argument = argument.substr(1, argument.size() - 2);
    }
    return std::string(argument);
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    commandLine = commandLine.substr(0, commandLine.find('\0'));
    std::vector<std::string> arguments;
    std::size_t offset = skipSeparators(commandLine, 0);
    while (offset < commandLine.size()) {
        const std::size_t end = argumentEnd(commandLine, offset);
        arguments.push_back(unquoted(commandLine.substr(offset, end - offset)));
        offset = skipSeparators(commandLine, end);
    }
    return arguments;
}

}  // namespace tolvek::window
