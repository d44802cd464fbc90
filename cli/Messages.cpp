#include "cli/Messages.h"

#include <algorithm>
#include <cstring>

namespace tolvek::cli {

namespace {

// Written only by SetProgramName, before a run's threads start.
std::string programName = "tolvek-cli";

// Bytes the shell treats specially anywhere in a word, besides the apostrophe that double quotes
// may hold; "#" and "~" only at its start. The ":"
// is quoted too, since messages put one after the name.
constexpr std::string_view kSpecial = " !\"$&()*;<=>?[\\^`|:";

bool isControl(char byte) {
    const auto code = static_cast<unsigned char>(byte);
    return code < 0x20 || code == 0x7F;
}

struct Specials {
    bool apostrophe = false;
    bool other = false;
};

Specials specialsIn(std::string_view name) {
    Specials specials;
    specials.other = name.starts_with('#') || name.starts_with('~');
    for (const char byte : name) {
        if (byte == '\'') {
            specials.apostrophe = true;
        } else if (isControl(byte) || kSpecial.find(byte) != std::string_view::npos) {
            specials.other = true;
        }
    }
    return specials;
}

std::string octalEscape(unsigned code) {
    return {'\\', static_cast<char>('0' + (code >> 6)), static_cast<char>('0' + ((code >> 3) & 7U)),
            static_cast<char>('0' + (code & 7U))};
}

std::string controlEscape(char byte) {
    switch (byte) {
        case '\a':
            return "\\a";
        case '\b':
            return "\\b";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\v':
            return "\\v";
        case '\f':
            return "\\f";
        case '\r':
            return "\\r";
        default:
            return octalEscape(static_cast<unsigned char>(byte));
    }
}

// 'text', each "'" as '\'' and each control byte as $'\n' between quoted runs.
std::string singleQuoted(std::string_view name) {
    if (name.empty()) {
        return "''";
    }
    std::string quoted;
    bool open = false;
    for (const char byte : name) {
        if (isControl(byte)) {
            quoted.append(open ? "'" : "").append("$'").append(controlEscape(byte)).append("'");
            open = false;
            continue;
        }
        if (!open) {
            quoted += '\'';
            open = true;
        }
        if (byte == '\'') {
            quoted.append("'\\''");
        } else {
            quoted += byte;
        }
    }
    if (open) {
        quoted += '\'';
    }
    return quoted;
}

}  // namespace

std::string_view ProgramName() { return programName; }

void SetProgramName(std::string_view name) { programName = std::string(name); }

std::string MessagePrefix() { return programName + ": "; }

std::string QuotedName(std::string_view name) {
    const Specials specials = specialsIn(name);
    if (!name.empty() && !specials.apostrophe && !specials.other) {
        return std::string(name);
    }
    if (specials.apostrophe && !specials.other) {
        std::string quoted(1, '"');
        quoted.append(name).push_back('"');
        return quoted;
    }
    return singleQuoted(name);
}

std::string FileError(std::string_view name, int systemError, std::string_view fallback) {
    const std::string reason =
        systemError != 0 ? std::strerror(systemError) : std::string(fallback);
    return MessagePrefix() + QuotedName(name) + ": " + reason + "\n";
}

}  // namespace tolvek::cli
