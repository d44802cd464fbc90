#include "cli/Cli.h"

#include <istream>
#include <optional>
#include <ostream>

#include "app/digest/AlgorithmTable.h"
#include "app/digest/Hashing.h"
#include "engine/HashTests.h"

namespace tolvek::cli {

namespace {

constexpr std::string_view kDefaultAlgorithm = "sha1";

constexpr std::string_view kUsage =
    "usage: tolvek-cli [-a ALGORITHM] FILE...     digest of each file ('-' is standard input)\n"
    "       tolvek-cli [-a ALGORITHM] -s TEXT     digest of TEXT\n"
    "       tolvek-cli --list                     the algorithm names\n"
    "       tolvek-cli --self-test                the engine's known-answer test\n"
    "ALGORITHM is a short name or a list caption, ignoring case; the default is sha1.\n";

struct Request {
    bool list = false;
    bool help = false;
    bool selfTest = false;
    std::string algorithm{kDefaultAlgorithm};
    std::optional<std::string> text;
    std::vector<std::string> files;
};

// Reads the arguments; gives nothing, after saying why on `errors`, for a usage error.
std::optional<Request> parse(const std::vector<std::string>& arguments, std::ostream& errors) {
    Request request;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool takesValue = argument == "-a" || argument == "-s";
        if (!optionsEnded && takesValue && index + 1 == arguments.size()) {
            errors << "tolvek-cli: " << argument << " needs a value\n" << kUsage;
            return std::nullopt;
        }
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            request.files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-a") {
            request.algorithm = arguments[++index];
        } else if (argument == "-s") {
            request.text = arguments[++index];
        } else if (argument == "--list") {
            request.list = true;
        } else if (argument == "--self-test") {
            request.selfTest = true;
        } else if (argument == "-h" || argument == "--help") {
            request.help = true;
        } else {
            errors << "tolvek-cli: unknown option " << argument << "\n" << kUsage;
            return std::nullopt;
        }
    }
    const bool standsAlone = request.list || request.help || request.selfTest;
    if (!standsAlone && request.text.has_value() == !request.files.empty()) {
        errors << "tolvek-cli: give either -s TEXT or files\n" << kUsage;
        return std::nullopt;
    }
    return request;
}

void listAlgorithms(std::ostream& output) {
    for (const digest::AlgorithmEntry& entry : digest::AlgorithmEntries()) {
        output << entry.id << "\t" << entry.caption << "\n";
    }
}

// Prints the self-test's message ("No error" when every answer matched).
int selfTest(std::ostream& output) {
    const engine::HashResult result = engine::TestAllHashTypes();
    std::string message;
    engine::HashErrorText(result, message);
    output << message << "\n";
    return result == engine::kHashOk ? kExitOk : kExitFailure;
}

int hashFiles(const digest::AlgorithmEntry& entry, const std::vector<std::string>& files,
              std::istream& input, std::ostream& output, std::ostream& errors) {
    int exitCode = kExitOk;
    for (const std::string& name : files) {
        const digest::Provider* const providers[] = {&entry.fileRoute};
        const digest::DigestOutcome outcome =
            name == "-" ? digest::HashStreamWith(input, providers).front()
                        : digest::HashFile(entry.fileRoute, name);
        if (outcome.ok) {
            output << outcome.text << "  " << name << "\n";
        } else {
            errors << "tolvek-cli: " << name << ": " << outcome.text << "\n";
            exitCode = kExitFailure;
        }
    }
    return exitCode;
}

int hashText(const digest::AlgorithmEntry& entry, const std::string& text, std::ostream& output,
             std::ostream& errors) {
    const digest::DigestOutcome outcome = digest::HashText(entry.stringRoute, text);
    if (!outcome.ok) {
        errors << "tolvek-cli: " << outcome.text << "\n";
        return kExitFailure;
    }
    output << outcome.text << "\n";
    return kExitOk;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output,
           std::ostream& errors) {
    const std::optional<Request> request = parse(arguments, errors);
    if (!request) {
        return kExitUsage;
    }
    if (request->help) {
        output << kUsage;
        return kExitOk;
    }
    if (request->selfTest) {
        return selfTest(output);
    }
    if (request->list) {
        listAlgorithms(output);
        return kExitOk;
    }
    const digest::AlgorithmEntry* entry = digest::FindAlgorithm(request->algorithm);
    if (entry == nullptr) {
        errors << "tolvek-cli: unknown algorithm " << request->algorithm
               << " (tolvek-cli --list shows the names)\n";
        return kExitUsage;
    }
    if (request->text) {
        return hashText(*entry, *request->text, output, errors);
    }
    return hashFiles(*entry, request->files, input, output, errors);
}

}  // namespace tolvek::cli
