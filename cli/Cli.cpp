#include "cli/Cli.h"

#include <charconv>
#include <istream>
#include <optional>
#include <ostream>

#include "app/core/ChecksumList.h"
#include "app/core/ExpectedDigest.h"
#include "app/digest/AlgorithmTable.h"
#include "app/digest/AsciiText.h"
#include "app/digest/DigestSize.h"
#include "app/digest/Hashing.h"
#include "app/digest/KnownAnswers.h"
#include "app/digest/ProgressText.h"
#include "engine/HashTests.h"
#include "engine/WorkerPool.h"

namespace tolvek::cli {

namespace {

using digest::AlgorithmEntry;
using digest::DigestOutcome;

constexpr std::string_view kDefaultAlgorithm = "sha1";

// A terminal shows progress for a file only once it has taken this long.
constexpr std::chrono::seconds kProgressAfter{1};

constexpr std::string_view kUsage =
    "usage: tolvek-cli [-a ALGORITHMS] FILE...    digests of each file ('-' is standard input)\n"
    "       tolvek-cli [-a ALGORITHMS] -s TEXT    digests of TEXT\n"
    "       tolvek-cli --match EXPECTED FILE...   the algorithms that give EXPECTED for each file\n"
    "       tolvek-cli -a ALGORITHM --expect EXPECTED FILE...   OK or FAILED for each file\n"
    "       tolvek-cli --list                     the algorithm names\n"
    "       tolvek-cli --self-test                the known-answer tests of every algorithm\n"
    "ALGORITHMS is a short name or a list caption, ignoring case, or several joined by commas\n"
    "(each file is then read once, and every digest printed as 'MD5 (FILE) = digest'); the\n"
    "default is sha1. --progress shows the progress of each file on standard error,\n"
    "--no-progress never does; by default a terminal shows it for files that take a while.\n"
    "--threads N lets an algorithm that can (BLAKE3) use at most N threads; the default is\n"
    "one per core.\n";

enum class ProgressMode { Automatic, Always, Never };

struct Request {
    bool list = false;
    bool help = false;
    bool selfTest = false;
    std::string algorithms{kDefaultAlgorithm};
    std::optional<std::string> text;
    std::optional<std::string> match;   // --match EXPECTED
    std::optional<std::string> expect;  // --expect EXPECTED
    std::vector<std::string> files;
    ProgressMode progress = ProgressMode::Automatic;
    std::optional<std::size_t> threads;
};

// A whole positive number; nothing for anything else.
std::optional<std::size_t> positiveNumber(const std::string& text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0) {
        return std::nullopt;
    }
    return value;
}

// Reads the arguments; gives nothing, after saying why on `errors`, for a usage error.
std::optional<Request> parse(const std::vector<std::string>& arguments, std::ostream& errors) {
    Request request;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool takesValue = argument == "-a" || argument == "-s" || argument == "--match" ||
                                argument == "--expect" || argument == "--threads";
        if (!optionsEnded && takesValue && index + 1 == arguments.size()) {
            errors << "tolvek-cli: " << argument << " needs a value\n" << kUsage;
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
                errors << "tolvek-cli: --threads needs a number from 1 up\n" << kUsage;
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
        } else {
            errors << "tolvek-cli: unknown option " << argument << "\n" << kUsage;
            return std::nullopt;
        }
    }
    const bool standsAlone = request.list || request.help || request.selfTest;
    if ((request.match || request.expect) && (request.text || request.files.empty())) {
        errors << "tolvek-cli: --match and --expect check files\n" << kUsage;
        return std::nullopt;
    }
    if (!standsAlone && request.text.has_value() == !request.files.empty()) {
        errors << "tolvek-cli: give either -s TEXT or files\n" << kUsage;
        return std::nullopt;
    }
    return request;
}

// Ids that named another entry before: each says which ids to use now.
constexpr std::pair<std::string_view, std::string_view> kRetiredIds[] = {
    {"whirlpool1", "the id of \"Whirlpool 1\" (2001) is now whirlpoolt; whirlpool0 is the 2000 "
                   "version and whirlpool the final one"},
};

std::string unknownAlgorithmMessage(std::string_view name) {
    for (const auto& [id, message] : kRetiredIds) {
        if (digest::AsciiLower(name) == id) {
            return std::string(message);
        }
    }
    return "unknown algorithm " + std::string(name) + " (tolvek-cli --list shows the names)";
}

// The entries named by a comma-separated list; nothing, after saying why, for an unknown name.
std::optional<std::vector<const AlgorithmEntry*>> findEntries(const std::string& names,
                                                              std::ostream& errors) {
    std::vector<const AlgorithmEntry*> entries;
    std::string_view rest = names;
    for (;;) {
        const std::size_t comma = rest.find(',');
        const std::string_view name = rest.substr(0, comma);
        const AlgorithmEntry* entry = digest::FindAlgorithm(name);
        if (entry == nullptr) {
            errors << "tolvek-cli: " << unknownAlgorithmMessage(name) << "\n";
            return std::nullopt;
        }
        entries.push_back(entry);
        if (comma == std::string_view::npos) {
            return entries;
        }
        rest.remove_prefix(comma + 1);
    }
}

void listAlgorithms(std::ostream& output) {
    for (const AlgorithmEntry& entry : digest::AlgorithmEntries()) {
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
    for (const digest::KnownAnswerCheck& check :
         digest::CheckKnownAnswers(digest::AlgorithmEntries())) {
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

// The digest lines of one input: "digest  name" for one algorithm, "MD5 (name) = digest" for
// several, a leading backslash when the name had to be escaped.
class DigestPrinter {
public:
    DigestPrinter(std::span<const AlgorithmEntry* const> entries, std::ostream& output)
        : m_entries(entries), m_output(output) {}

    void print(std::size_t index, const std::string& digest, const std::string& name) {
        bool escaped = false;
        const std::string shown = EscapedName(name, escaped);
        if (escaped) {
            m_output << '\\';
        }
        if (m_entries.size() == 1) {
            m_output << digest << "  " << shown << "\n";
        } else {
            m_output << digest::AsciiUpper(m_entries[index]->id) << " (" << shown
                     << ") = " << digest << "\n";
        }
    }

private:
    std::span<const AlgorithmEntry* const> m_entries;
    std::ostream& m_output;
};

// The progress of one file on standard error, rewritten in place and cleared at the end.
class ProgressOnErrors {
public:
    ProgressOnErrors(std::ostream& errors, const std::string& name, bool afterAMoment)
        : m_errors(errors), m_afterAMoment(afterAMoment) {
        bool escaped = false;
        m_name = EscapedName(name, escaped);
    }
    ProgressOnErrors(const ProgressOnErrors&) = delete;
    ProgressOnErrors& operator=(const ProgressOnErrors&) = delete;
    ~ProgressOnErrors() {
        if (m_shown) {
            m_errors << "\r\033[K" << std::flush;
        }
    }

    void show(const digest::ReadProgress& progress) {
        if (m_afterAMoment && progress.elapsed < kProgressAfter) {
            return;
        }
        m_shown = true;
        m_errors << "\r" << m_name << ": " << digest::ProgressLine(progress, {}) << "\033[K"
                 << std::flush;
    }

private:
    std::ostream& m_errors;
    std::string m_name;
    bool m_afterAMoment;
    bool m_shown = false;
};

std::vector<const digest::Provider*> routesOf(std::span<const AlgorithmEntry* const> entries,
                                              bool strings) {
    std::vector<const digest::Provider*> routes;
    for (const AlgorithmEntry* entry : entries) {
        routes.push_back(strings ? &entry->stringRoute : &entry->fileRoute);
    }
    return routes;
}

// What stands in for the file's name in messages.
std::string escapedForMessage(const std::string& name) {
    bool escaped = false;
    return EscapedName(name, escaped);
}

struct FileRun {
    const Request& request;
    std::span<const AlgorithmEntry* const> entries;
    std::istream& input;
    std::ostream& errors;
    const CliContext& context;
};

// The outcomes of one file; nothing when the run was interrupted.
std::optional<std::vector<DigestOutcome>> hashOne(const FileRun& run, const std::string& name) {
    const std::vector<const digest::Provider*> routes = routesOf(run.entries, false);
    if (name == "-") {
        return digest::HashStreamWith(run.input, routes);
    }
    const bool showProgress =
        run.request.progress == ProgressMode::Always ||
        (run.request.progress == ProgressMode::Automatic && run.context.errorsIsTerminal);
    std::optional<ProgressOnErrors> progress;
    digest::ReadControl control;
    control.stop = run.context.interrupt;
    if (showProgress) {
        progress.emplace(run.errors, name, run.request.progress == ProgressMode::Automatic);
        control.progress = [&](const digest::ReadProgress& report) { progress->show(report); };
    }
    digest::FileDigests digests = digest::HashFileWith(name, routes, control);
    if (digests.cancelled) {
        return std::nullopt;
    }
    return std::move(digests.outcomes);
}

int hashFiles(const FileRun& run, std::ostream& output) {
    DigestPrinter printer(run.entries, output);
    int exitCode = kExitOk;
    for (const std::string& name : run.request.files) {
        const std::optional<std::vector<DigestOutcome>> outcomes = hashOne(run, name);
        if (!outcomes) {
            return kExitInterrupted;
        }
        for (std::size_t index = 0; index < outcomes->size(); ++index) {
            const DigestOutcome& outcome = (*outcomes)[index];
            if (outcome.ok) {
                printer.print(index, outcome.text, name);
            } else {
                // One read: a file that failed, failed for every algorithm alike.
                run.errors << "tolvek-cli: " << escapedForMessage(name) << ": " << outcome.text
                           << "\n";
                exitCode = kExitFailure;
                break;
            }
        }
    }
    return exitCode;
}

// The expected digest read forgivingly for digests of `entries`; nothing, after saying why,
// when it holds none.
std::optional<std::string> expectedDigest(const std::string& text,
                                          std::span<const AlgorithmEntry* const> entries,
                                          std::ostream& errors) {
    std::vector<std::size_t> lengths;
    for (const AlgorithmEntry* entry : entries) {
        lengths.push_back(digest::DigestBytes(*entry));
    }
    if (auto expected = app::ReadExpectedDigest(text, lengths)) {
        return std::move(expected->digest);
    }
    errors << "tolvek-cli: no digest of " << (entries.size() == 1 ? "this algorithm's" : "any")
           << " length in " << text << "\n";
    return std::nullopt;
}

bool gives(const AlgorithmEntry& entry, const DigestOutcome& outcome, const std::string& digest) {
    return digest::FullWidthDigest(outcome.text, digest::DigestBytes(entry)) == digest;
}

// --match: for each file, the ids of the entries that give the expected digest, from one read
// of the file by every entry of its length.
int matchFiles(const FileRun& run, const std::string& expectedText, std::ostream& output) {
    std::vector<const AlgorithmEntry*> all;
    for (const AlgorithmEntry& entry : digest::AlgorithmEntries()) {
        all.push_back(&entry);
    }
    const std::optional<std::string> expected = expectedDigest(expectedText, all, run.errors);
    if (!expected) {
        return kExitUsage;
    }
    std::erase_if(all, [&](const AlgorithmEntry* entry) {
        return 2 * digest::DigestBytes(*entry) != expected->size();
    });
    const FileRun sameLength{run.request, all, run.input, run.errors, run.context};
    int exitCode = kExitOk;
    for (const std::string& name : run.request.files) {
        const std::optional<std::vector<DigestOutcome>> outcomes = hashOne(sameLength, name);
        if (!outcomes) {
            return kExitInterrupted;
        }
        if (!outcomes->front().ok) {
            run.errors << "tolvek-cli: " << escapedForMessage(name) << ": "
                       << outcomes->front().text << "\n";
            exitCode = kExitFailure;
            continue;
        }
        std::string matches;
        for (std::size_t index = 0; index < all.size(); ++index) {
            if (gives(*all[index], (*outcomes)[index], *expected)) {
                matches.append(matches.empty() ? "" : " ").append(all[index]->id);
            }
        }
        output << app::NameForMessage(name) << ": " << (matches.empty() ? "no match" : matches)
               << "\n";
        exitCode = matches.empty() ? kExitFailure : exitCode;
    }
    return exitCode;
}

// --expect: "name: OK" or "name: FAILED" for each file, as sha256sum -c says it; a match of a
// checksum or broken hash adds a note on what it proves.
int expectInFiles(const FileRun& run, const std::string& expectedText, std::ostream& output) {
    if (run.entries.size() != 1) {
        run.errors << "tolvek-cli: --expect checks one algorithm\n";
        return kExitUsage;
    }
    const AlgorithmEntry& entry = *run.entries.front();
    const std::optional<std::string> expected = expectedDigest(expectedText, run.entries, run.errors);
    if (!expected) {
        return kExitUsage;
    }
    int exitCode = kExitOk;
    bool matchedWeak = false;
    for (const std::string& name : run.request.files) {
        const std::optional<std::vector<DigestOutcome>> outcomes = hashOne(run, name);
        if (!outcomes) {
            return kExitInterrupted;
        }
        const DigestOutcome& outcome = outcomes->front();
        const std::string shown = app::NameForMessage(name);
        if (!outcome.ok) {
            run.errors << "tolvek-cli: " << shown << ": " << outcome.text << "\n";
            output << shown << ": FAILED open or read\n";
            exitCode = kExitFailure;
        } else if (gives(entry, outcome, *expected)) {
            output << shown << ": OK\n";
            matchedWeak = !entry.weakness.empty();
        } else {
            output << shown << ": FAILED\n";
            exitCode = kExitFailure;
        }
    }
    if (matchedWeak) {
        run.errors << "tolvek-cli: note: " << entry.id << ": " << entry.weakness
                   << "; a match rules out accidental damage, not deliberate tampering\n";
    }
    return exitCode;
}

int hashText(std::span<const AlgorithmEntry* const> entries, const std::string& text,
             std::ostream& output, std::ostream& errors) {
    int exitCode = kExitOk;
    for (const AlgorithmEntry* entry : entries) {
        const DigestOutcome outcome = digest::HashText(entry->stringRoute, text);
        if (!outcome.ok) {
            errors << "tolvek-cli: " << outcome.text << "\n";
            exitCode = kExitFailure;
        } else if (entries.size() == 1) {
            output << outcome.text << "\n";
        } else {
            output << digest::AsciiUpper(entry->id) << " (\"" << text << "\") = " << outcome.text
                   << "\n";
        }
    }
    return exitCode;
}

int runRequest(const Request& request, std::istream& input, std::ostream& output,
               std::ostream& errors, const CliContext& context) {
    if (request.help) {
        output << kUsage;
        return kExitOk;
    }
    if (request.selfTest) {
        return selfTest(output);
    }
    if (request.list) {
        listAlgorithms(output);
        return kExitOk;
    }
    const std::optional<std::vector<const AlgorithmEntry*>> entries =
        findEntries(request.algorithms, errors);
    if (!entries) {
        return kExitUsage;
    }
    if (request.threads) {
        engine::WorkerPool::Shared().limitThreads(*request.threads);
    }
    if (request.text) {
        return hashText(*entries, *request.text, output, errors);
    }
    const FileRun run{request, *entries, input, errors, context};
    if (request.match) {
        return matchFiles(run, *request.match, output);
    }
    if (request.expect) {
        return expectInFiles(run, *request.expect, output);
    }
    return hashFiles(run, output);
}

}  // namespace

std::string EscapedName(const std::string& name, bool& escaped) {
    std::string shown;
    escaped = false;
    for (const char byte : name) {
        if (byte == '\\') {
            shown += "\\\\";
            escaped = true;
        } else if (byte == '\n') {
            shown += "\\n";
            escaped = true;
        } else {
            shown += byte;
        }
    }
    return shown;
}

int RunCli(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output,
           std::ostream& errors, const CliContext& context) {
    const std::optional<Request> request = parse(arguments, errors);
    if (!request) {
        return kExitUsage;
    }
    const int exitCode = runRequest(*request, input, output, errors, context);
    // A full disk or a closed pipe must not pass for success.
    if (!output.flush()) {
        errors << "tolvek-cli: cannot write to standard output\n";
        return exitCode == kExitInterrupted ? exitCode : kExitFailure;
    }
    return exitCode;
}

}  // namespace tolvek::cli
