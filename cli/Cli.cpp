#include "cli/Cli.h"

#include <algorithm>
#include <istream>
#include <optional>
#include <ostream>

#include "app/Version.h"
#include "app/checks/ListItems.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/KnownAnswers.h"
#include "cli/AuditCommand.h"
#include "cli/CheckCommand.h"
#include "cli/EntryOptions.h"
#include "cli/HashCommand.h"
#include "cli/Messages.h"
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
            errors << MessagePrefix() << unknownAlgorithmMessage(name) << "\n";
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
        streams.errors << MessagePrefix() << "-c checks with one algorithm at most\n";
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

// The entry whose digest tool the program was called as; null for tolvek-cli itself.
const AlgorithmEntry* toolCalledAs(std::string_view programName) {
    const auto entries = hashing::AlgorithmEntries();
    const auto found = std::ranges::find(entries, programName, &AlgorithmEntry::tool);
    return programName.empty() || found == entries.end() ? nullptr : &*found;
}

int runRequest(const Request& request, const Streams& streams, const AlgorithmEntry* tool) {
    if (const std::optional<int> exitCode = runWithoutAlgorithm(request, streams.output)) {
        return *exitCode;
    }
    const AlgorithmEntry& fallback = tool != nullptr ? *tool : hashing::DefaultEntry();
    const std::optional<std::vector<const AlgorithmEntry*>> named =
        findEntries(request.algorithms.value_or(std::string(fallback.id)), streams.errors);
    if (!named) {
        return kExitUsage;
    }
    int refusal = kExitOk;
    const std::optional<OptionedEntries> optioned =
        ApplyEntryOptions(request, *named, streams.errors, refusal);
    if (!optioned) {
        return refusal;
    }
    const std::vector<const AlgorithmEntry*>* entries = &optioned->entries;
    if (request.threads) {
        engine::WorkerPool::Shared().limitThreads(*request.threads);
    }
    if (request.lists.check) {
        return checkLists(request, *entries, streams);
    }
    if (const std::optional<std::string> conflict = FormConflict(*entries, request)) {
        streams.errors << MessagePrefix() << *conflict << "\n";
        return kExitUsage;
    }
    if (request.text) {
        return HashText(*entries, *request.text, request.lists, streams.output, streams.errors);
    }
    const FileRun run{request, *entries, streams.input, streams.errors, streams.context};
    if (request.lists.audit) {
        return AuditFolder(run, request.algorithms ? entries->front() : nullptr, streams.output);
    }
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
    const AlgorithmEntry* tool = toolCalledAs(context.programName);
    SetProgramName(tool != nullptr ? context.programName : "tolvek-cli");
    std::optional<Request> request = ParseArguments(arguments, errors);
    if (!request) {
        return kExitUsage;
    }
    if (tool != nullptr && tool->toolLengthInBytes && request->lengthBits) {
        *request->lengthBits *= 8;
    }
    if (const std::optional<std::string_view> misplaced = MisplacedListOption(request->lists)) {
        errors << MessagePrefix() << *misplaced
               << "\nTry '" << ProgramName() << " --help' for more information.\n";
        return kExitFailure;
    }
    const int exitCode = runRequest(*request, {input, output, errors, context}, tool);
    // A full disk or a closed pipe must not pass for success.
    if (!output.flush()) {
        errors << MessagePrefix() << "cannot write to standard output\n";
        return exitCode == kExitInterrupted ? exitCode : kExitFailure;
    }
    return exitCode;
}

}  // namespace tolvek::cli
