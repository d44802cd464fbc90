#include "cli/Cli.h"

#include <istream>
#include <optional>
#include <ostream>

#include "app/Version.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/KnownAnswers.h"
#include "cli/CheckCommand.h"
#include "cli/HashCommand.h"
#include "cli/Options.h"
#include "cli/VerifyCommands.h"
#include "engine/HashTests.h"
#include "engine/WorkerPool.h"

namespace tolvek::cli {

namespace {

using hashing::AlgorithmEntry;

std::string unknownAlgorithmMessage(std::string_view name) {
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        if (!entry.formerId.id.empty() && hashing::AsciiLower(name) == entry.formerId.id) {
            return std::string(entry.formerId.note);
        }
    }
    return "unknown algorithm " + std::string(name) + " (tolvek-cli --list shows the names)";
}

// The entries named by a comma-separated list; nothing, after saying why, for an unknown name.
std::optional<std::vector<const AlgorithmEntry*>> findEntries(std::string_view names,
                                                              std::ostream& errors) {
    std::vector<const AlgorithmEntry*> entries;
    for (;;) {
        const std::size_t comma = names.find(',');
        const std::string_view name = names.substr(0, comma);
        const AlgorithmEntry* entry = hashing::FindAlgorithm(name);
        if (entry == nullptr) {
            errors << "tolvek-cli: " << unknownAlgorithmMessage(name) << "\n";
            return std::nullopt;
        }
        entries.push_back(entry);
        if (comma == std::string_view::npos) {
            return entries;
        }
        names.remove_prefix(comma + 1);
    }
}

void listAlgorithms(std::ostream& output) {
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        output << entry.id << "\t" << entry.caption << "\t" << entry.description << "\n";
    }
}

// Prints the engine self-test's message ("No error" when every answer matched), then a line for
// each algorithm whose known answer was checked; success only when everything matched.
int selfTest(std::ostream& output) {
    const engine::HashResult result = engine::TestAllHashTypes();
    std::string message;
    engine::HashErrorText(result, message);
    output << message << "\n";
    bool passed = result == engine::kHashOk;
    for (const hashing::KnownAnswerCheck& check :
         hashing::CheckKnownAnswers(hashing::AlgorithmEntries())) {
        output << check.entry->id << " (" << check.entry->caption << "): ";
        if (check.passed) {
            output << "ok\n";
        } else {
            output << "FAILED, gave " << check.wrongText << "\n";
            passed = false;
        }
    }
    return passed ? kExitOk : kExitFailure;
}

struct Streams {
    std::istream& input;
    std::ostream& output;
    std::ostream& errors;
    const CliContext& context;
};

// -c takes one algorithm at most, and only when -a names it.
int checkLists(const Request& request, std::span<const AlgorithmEntry* const> entries,
               const Streams& streams) {
    if (entries.size() > 1) {
        streams.errors << "tolvek-cli: -c checks with one algorithm at most\n";
        return kExitUsage;
    }
    const AlgorithmEntry* forced = request.algorithms ? entries.front() : nullptr;
    return CheckLists({request.files, request.lists, forced, streams.input, streams.output,
                       streams.errors, streams.context});
}

// The requests that need no algorithm; nothing for any other.
std::optional<int> runWithoutAlgorithm(const Request& request, std::ostream& output) {
    if (request.help) {
        output << HelpText();
        return kExitOk;
    }
    if (request.selfTest) {
        return selfTest(output);
    }
    if (request.list) {
        listAlgorithms(output);
        return kExitOk;
    }
    if (request.version) {
        output << "tolvek-cli (" << kProductName << ") " << kProjectVersion << "\n";
        return kExitOk;
    }
    return std::nullopt;
}

int runRequest(const Request& request, const Streams& streams) {
    if (const std::optional<int> exitCode = runWithoutAlgorithm(request, streams.output)) {
        return *exitCode;
    }
    const std::optional<std::vector<const AlgorithmEntry*>> entries =
        findEntries(request.algorithms.value_or(std::string(hashing::DefaultEntry().id)),
                    streams.errors);
    if (!entries) {
        return kExitUsage;
    }
    if (request.threads) {
        engine::WorkerPool::Shared().limitThreads(*request.threads);
    }
    if (request.lists.check) {
        return checkLists(request, *entries, streams);
    }
    if (request.text) {
        return HashText(*entries, *request.text, streams.output, streams.errors);
    }
    const FileRun run{request, *entries, streams.input, streams.errors, streams.context};
    if (request.match) {
        return MatchFiles(run, *request.match, streams.output);
    }
    if (request.expect) {
        return ExpectInFiles(run, *request.expect, streams.output);
    }
    return HashFiles(run, streams.output);
}

}  // namespace

bool CheckArguments(const std::vector<std::string>& arguments, std::ostream& errors) {
    return ParseArguments(arguments, errors).has_value();
}

int RunCli(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output,
           std::ostream& errors, const CliContext& context) {
    const std::optional<Request> request = ParseArguments(arguments, errors);
    if (!request) {
        return kExitUsage;
    }
    if (const std::optional<std::string_view> misplaced = MisplacedListOption(request->lists)) {
        errors << "tolvek-cli: " << *misplaced
               << "\nTry 'tolvek-cli --help' for more information.\n";
        return kExitFailure;
    }
    const int exitCode = runRequest(*request, {input, output, errors, context});
    // A full disk or a closed pipe must not pass for success.
    if (!output.flush()) {
        errors << "tolvek-cli: cannot write to standard output\n";
        return exitCode == kExitInterrupted ? exitCode : kExitFailure;
    }
    return exitCode;
}

}  // namespace tolvek::cli
