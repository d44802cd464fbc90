#include "cli/Options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ostream>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/AsciiText.h"
#include "cli/Messages.h"

namespace tolvek::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: tolvek-cli [OPTION]... [-a ALGORITHMS] [FILE]...  digests of files\n"
    "                                      (none or '-' is standard input)\n"
    "       tolvek-cli [-a ALGORITHMS] -s TEXT             digests of TEXT\n"
    "       tolvek-cli -c [OPTION]... [-a ALGORITHM] LIST... check the lists' files\n"
    "       tolvek-cli --match EXPECTED FILE...   the algorithms that give EXPECTED\n"
    "       tolvek-cli -a ALGORITHM --expect EXPECTED FILE...  OK or FAILED for each\n"
    "       tolvek-cli --audit [--update] LIST FOLDER   the folder against the list\n"
    "       tolvek-cli --list                     the algorithm names\n"
    "       tolvek-cli --self-test                every known-answer test\n"
    "ALGORITHMS is a short name or a list caption, ignoring case, or several joined\n"
    "by commas (each file is then read once, and every digest printed as\n"
    "'MD5 (FILE) = digest'); the default is %1. Called as md5sum, sha1sum,\n"
    "sha224sum, sha256sum, sha384sum, sha512sum, b2sum or b3sum (a link), the\n"
    "default is that tool's.\n";

constexpr std::string_view kGeneralHelp =
    "Options:\n"
    "  -a ALGORITHMS         the algorithms, as above\n"
    "  -s TEXT               hash TEXT instead of files\n"
    "      --progress        show each file's progress on standard error\n"
    "      --no-progress     never show it (by default a terminal shows it for\n"
    "                        files that take a while)\n"
    "      --list            print the algorithm names\n"
    "      --self-test       run the engine's known-answer test, then each\n"
    "                        algorithm's\n"
    "      --match EXPECTED  print, for each file, the algorithms whose digest is\n"
    "                        EXPECTED (spaces, colons, 0x, base64, 'sha384-...',\n"
    "                        'sha-256=:...:' or a whole list line are fine)\n"
    "      --expect EXPECTED with one -a algorithm: OK or FAILED for each file\n"
    "  -l, --length BITS     output BITS bits long (blake2b, blake2s: up to the\n"
    "                        full digest; blake3, shake128, shake256, k12: any\n"
    "                        multiple of 8); called as b3sum, BYTES\n"
    "      --key-file FILE   the keyed mode of blake3 (a 32-byte key) or blake2b,\n"
    "                        blake2s (1 to 64, 32 bytes): the key is FILE's bytes\n"
    "      --derive-key CONTEXT  blake3's key derivation mode: the input is the\n"
    "                        key material\n"
    "      --hmac KEYFILE    HMAC (RFC 2104) with any hash, the key being KEYFILE's\n"
    "                        bytes\n"
    "      --files0-from F   hash the files whose names F holds, each ended by\n"
    "                        NUL as find -print0 writes them ('-': standard input)\n"
    "      --files-from F    the same with a name a line\n"
    "      --threads N       let an algorithm that can (BLAKE3) use at most N\n"
    "                        threads; the default is one per core\n"
    "  -h, --help            print this help\n"
    "      --version         print the version\n"
    "  --                    the arguments after it are files\n";

constexpr std::string_view kExitHelp =
    "Exit status: 0 when every file was read (and, with -c, matched), 1 when any\n"
    "was not, 2 for a usage error, 130 when interrupted.\n";

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
    if (request.namesFrom && (!request.files.empty() || request.text || request.lists.check ||
                              request.match || request.expect)) {
        return "--files0-from and --files-from take the place of files, -s, -c, --match and "
               "--expect";
    }
    if (request.text && (request.lists.check || request.lists.recursive)) {
        return "-s TEXT does not go with -c or -r";
    }
    if (request.lists.audit && (request.files.size() != 2 || request.text || request.lists.check ||
                                request.match || request.expect)) {
        return "--audit takes a list and a folder, and no -s, -c, --match or --expect";
    }
    if (request.lists.update && !request.lists.audit) {
        return "--update goes with --audit";
    }
    if (request.hmacKeyFile && (request.keyFile || request.deriveKey)) {
        return "--hmac does not go with --key-file or --derive-key";
    }
    if (request.lists.check && request.lists.recursive) {
        return "-c does not go with -r";
    }
    if ((request.match || request.expect) && (request.text || request.lists.check)) {
        return "--match and --expect check files";
    }
    return std::nullopt;
}

// The options that take a value, as the next argument or after "=".
constexpr std::array<std::string_view, 12> kValueOptions = {
    "-a",       "-s",         "--match",      "--expect",       "--threads",    "-l",
    "--length", "--key-file", "--derive-key", "--hmac",         "--files0-from", "--files-from"};

// The arguments with each "--option=value" of an option that takes a value split in two, up to
// a "--".
std::vector<std::string> withValuesApart(const std::vector<std::string>& arguments) {
    std::vector<std::string> apart;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        const std::size_t equals = argument.find('=');
        const bool split = !optionsEnded && argument.starts_with("--") &&
                           equals != std::string::npos &&
                           std::ranges::find(kValueOptions, argument.substr(0, equals)) !=
                               kValueOptions.end();
        optionsEnded = optionsEnded || argument == "--";
        if (split) {
            apart.push_back(argument.substr(0, equals));
            apart.push_back(argument.substr(equals + 1));
        } else {
            apart.push_back(argument);
        }
    }
    return apart;
}
}  // namespace

std::optional<Request> ParseArguments(const std::vector<std::string>& given,
                                      std::ostream& errors) {
    const std::vector<std::string> arguments = withValuesApart(given);
    Request request;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool takesValue = std::ranges::find(kValueOptions, argument) != kValueOptions.end();
        if (!optionsEnded && takesValue && index + 1 == arguments.size()) {
            errors << MessagePrefix() << argument << " needs a value\n" << usage();
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
        } else if (argument == "--files0-from" || argument == "--files-from") {
            request.namesFrom = arguments[++index];
            request.namesEnd = argument == "--files0-from" ? '\0' : '\n';
        } else if (argument == "--threads") {
            request.threads = positiveNumber(arguments[++index]);
            if (!request.threads) {
                errors << MessagePrefix() << "--threads needs a number from 1 up\n" << usage();
                return std::nullopt;
            }
        } else if (argument == "-l" || argument == "--length") {
            request.lengthBits = positiveNumber(arguments[++index]);
            if (!request.lengthBits) {
                errors << MessagePrefix() << "--length needs a number of bits from 8 up\n"
                       << usage();
                return std::nullopt;
            }
        } else if (argument == "--key-file") {
            request.keyFile = arguments[++index];
        } else if (argument == "--derive-key") {
            request.deriveKey = arguments[++index];
        } else if (argument == "--hmac") {
            request.hmacKeyFile = arguments[++index];
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
            errors << MessagePrefix() << "unknown option " << argument << "\n" << usage();
            return std::nullopt;
        }
    }
    if (const std::optional<std::string_view> conflict = conflictIn(request)) {
        errors << MessagePrefix() << *conflict << "\n" << usage();
        return std::nullopt;
    }
    if (!request.text && !request.namesFrom && request.files.empty()) {
        request.files.push_back("-");
    }
    return request;
}

std::string HelpText() {
    return usage().append(kGeneralHelp).append(kListOptionsHelp).append(kExitHelp);
}

}  // namespace tolvek::cli
