#include "cli/Options.h"

#include <charconv>
#include <ostream>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/AsciiText.h"

namespace tolvek::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: tolvek-cli [OPTION]... [-a ALGORITHMS] [FILE]...  digests of each file (none or '-'\n"
    "                                                         is standard input)\n"
    "       tolvek-cli [-a ALGORITHMS] -s TEXT                digests of TEXT\n"
    "       tolvek-cli -c [OPTION]... [-a ALGORITHM] LIST...  checks the files of the lists\n"
    "       tolvek-cli --match EXPECTED FILE...               the algorithms that give EXPECTED\n"
    "       tolvek-cli -a ALGORITHM --expect EXPECTED FILE... OK or FAILED for each file\n"
    "       tolvek-cli --list                                 the algorithm names\n"
    "       tolvek-cli --self-test                            every known-answer test\n"
    "ALGORITHMS is a short name or a list caption, ignoring case, or several joined by commas\n"
    "(each file is then read once, and every digest printed as 'MD5 (FILE) = digest'); the\n"
    "default is %1.\n";

constexpr std::string_view kGeneralHelp =
    "Options:\n"
    "  -a ALGORITHMS         the algorithms, as above\n"
    "  -s TEXT               hash TEXT instead of files\n"
    "      --progress        show each file's progress on standard error\n"
    "      --no-progress     never show it (by default a terminal shows it for files that\n"
    "                        take a while)\n"
    "      --list            print the algorithm names\n"
    "      --self-test       run the engine's known-answer test, then each algorithm's\n"
    "      --match EXPECTED  print, for each file, the algorithms whose digest is EXPECTED\n"
    "                        (spaces, colons, 0x, base64 or a whole list line are fine)\n"
    "      --expect EXPECTED with one -a algorithm: OK or FAILED for each file\n"
    "      --threads N       let an algorithm that can (BLAKE3) use at most N threads; the\n"
    "                        default is one per core\n"
    "  -h, --help            print this help\n"
    "      --version         print the version\n"
    "  --                    the arguments after it are files\n";

constexpr std::string_view kExitHelp =
    "Exit status: 0 when every file was read (and, with -c, matched), 1 when any was not,\n"
    "2 for a usage error, 130 when interrupted.\n";

// The usage lines, naming the default algorithm.
std::string usage() {
    return hashing::FillPlaceholders(kUsage, {hashing::DefaultEntry().id});
}

// A whole positive number; nothing for anything else.
std::optional<std::size_t> positiveNumber(const std::string& text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0) {
        return std::nullopt;
    }
    return value;
}

// A combination of options that cannot work together, or nothing.
std::optional<std::string_view> conflictIn(const Request& request) {
    if (request.text && !request.files.empty()) {
        return "give either -s TEXT or files";
    }
    if (request.text && (request.lists.check || request.lists.recursive)) {
        return "-s TEXT does not go with -c or -r";
    }
    if (request.lists.check && request.lists.recursive) {
        return "-c does not go with -r";
    }
    if ((request.match || request.expect) && (request.text || request.lists.check)) {
        return "--match and --expect check files";
    }
    return std::nullopt;
}

// Reads the arguments; gives nothing, after saying why on `errors`, for a usage error.
}  // namespace

std::optional<Request> ParseArguments(const std::vector<std::string>& arguments,
                                      std::ostream& errors) {
    Request request;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool takesValue = argument == "-a" || argument == "-s" || argument == "--match" ||
                                argument == "--expect" || argument == "--threads";
        if (!optionsEnded && takesValue && index + 1 == arguments.size()) {
            errors << "tolvek-cli: " << argument << " needs a value\n" << usage();
            return std::nullopt;
        }
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            request.files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-a") {
            request.algorithms = arguments[++index];
        } else if (argument == "-s") {
            request.text = arguments[++index];
        } else if (argument == "--match") {
            request.match = arguments[++index];
        } else if (argument == "--expect") {
            request.expect = arguments[++index];
        } else if (argument == "--threads") {
            request.threads = positiveNumber(arguments[++index]);
            if (!request.threads) {
                errors << "tolvek-cli: --threads needs a number from 1 up\n" << usage();
                return std::nullopt;
            }
        } else if (argument == "--list") {
            request.list = true;
        } else if (argument == "--self-test") {
            request.selfTest = true;
        } else if (argument == "--progress") {
            request.progress = ProgressMode::Always;
        } else if (argument == "--no-progress") {
            request.progress = ProgressMode::Never;
        } else if (argument == "-h" || argument == "--help") {
            request.help = true;
        } else if (argument == "--version") {
            request.version = true;
        } else if (ReadListOption(argument, request.lists)) {
            continue;
        } else {
            errors << "tolvek-cli: unknown option " << argument << "\n" << usage();
            return std::nullopt;
        }
    }
    if (const std::optional<std::string_view> conflict = conflictIn(request)) {
        errors << "tolvek-cli: " << *conflict << "\n" << usage();
        return std::nullopt;
    }
    if (!request.text && request.files.empty()) {
        request.files.push_back("-");
    }
    return request;
}

std::string HelpText() {
    return usage().append(kGeneralHelp).append(kListOptionsHelp).append(kExitHelp);
}

}  // namespace tolvek::cli
