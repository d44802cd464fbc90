#include "cli/ListOptions.h"

#include <algorithm>
#include <utility>

namespace tolvek::cli {

namespace {

using Flag = bool ListOptions::*;

constexpr std::pair<std::string_view, Flag> kLongFlags[] = {
    {"--check", &ListOptions::check},
    {"--quiet", &ListOptions::quiet},
    {"--status", &ListOptions::status},
    {"--strict", &ListOptions::strict},
    {"--warn", &ListOptions::warn},
    {"--ignore-missing", &ListOptions::ignoreMissing},
    {"--tag", &ListOptions::tag},
    {"--binary", &ListOptions::binary},
    {"--recursive", &ListOptions::recursive},
    {"--dereference", &ListOptions::followLinks},
    {"--zero", &ListOptions::zero},
};

constexpr std::pair<char, Flag> kShortFlags[] = {
    {'c', &ListOptions::check},     {'w', &ListOptions::warn},        {'b', &ListOptions::binary},
    {'r', &ListOptions::recursive}, {'L', &ListOptions::followLinks}, {'z', &ListOptions::zero},
};

Flag shortFlag(char letter) {
    const auto found = std::ranges::find(kShortFlags, letter, &std::pair<char, Flag>::first);
    return found == std::end(kShortFlags) ? nullptr : found->second;
}

// --quiet, --status and --warn each undo the others: the last one given counts.
void set(ListOptions& options, Flag flag) {
    constexpr Flag kExclusive[] = {&ListOptions::quiet, &ListOptions::status, &ListOptions::warn};
    if (std::ranges::find(kExclusive, flag) != std::end(kExclusive)) {
        for (const Flag other : kExclusive) {
            options.*other = false;
        }
    }
    options.*flag = true;
}

}  // namespace

const std::string_view kListOptionsHelp =
    "Checking lists:\n"
    "  -c, --check LIST...   check the files each list names ('-' is standard input): GNU\n"
    "                        lines 'digest  name', BSD lines 'ALG (name) = digest', SFV lines,\n"
    "                        or a lone digest in a file 'name.alg'; names are relative to the\n"
    "                        list's folder. The algorithm is -a's, else the BSD line's, else\n"
    "                        the list's name's (.md5, .sha256, SHA256SUMS, .sfv ...), else the\n"
    "                        digest's length (the line matches when one of them does)\n"
    "      --quiet           no line for a file that is OK\n"
    "      --status          nothing on standard output: the exit status tells (of --quiet,\n"
    "                        --status and --warn the last one given counts)\n"
    "      --strict          fail on improperly formatted lines\n"
    "  -w, --warn            name each improperly formatted line\n"
    "      --ignore-missing  say nothing of listed files that do not exist\n"
    "Writing lists:\n"
    "      --tag             BSD lines 'ALG (name) = digest' also for one algorithm\n"
    "  -b, --binary          GNU lines 'digest *name'\n"
    "  -r, --recursive       the files in folders and below, in sorted order\n"
    "  -L, --dereference     with -r, also into symbolic links to folders\n"
    "  -z, --zero            end each line with NUL instead of a line feed; names unescaped\n";

bool ReadListOption(std::string_view argument, ListOptions& options) {
    for (const auto& [name, flag] : kLongFlags) {
        if (argument == name) {
            set(options, flag);
            return true;
        }
    }
    if (argument.size() < 2 || argument[0] != '-' || argument[1] == '-') {
        return false;
    }
    const std::string_view letters = argument.substr(1);
    if (!std::ranges::all_of(letters, [](char letter) { return shortFlag(letter) != nullptr; })) {
        return false;
    }
    for (const char letter : letters) {
        set(options, shortFlag(letter));
    }
    return true;
}

}  // namespace tolvek::cli
