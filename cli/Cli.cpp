#include "cli/Cli.h"

#include <istream>
#include <optional>
#include <ostream>

#include "app/core/ChecksumList.h"
#include "app/core/ListCheck.h"
#include "app/core/Product.h"
#include "app/digest/AlgorithmTable.h"
#include "app/digest/AsciiText.h"
#include "app/digest/Hashing.h"
#include "app/digest/ProgressText.h"
#include "cli/CheckCommand.h"
#include "cli/FileTree.h"
#include "cli/ListOptions.h"
#include "cli/Messages.h"
#include "engine/HashTests.h"

namespace tolvek::cli {

namespace {

using digest::AlgorithmEntry;
using digest::DigestOutcome;

constexpr std::string_view kDefaultAlgorithm = "sha1";

// A terminal shows progress for a file only once it has taken this long.
constexpr std::chrono::seconds kProgressAfter{1};

constexpr std::string_view kUsage =
    "usage: tolvek-cli [OPTION]... [-a ALGORITHMS] [FILE]...  digests of each file (none or '-'\n"
    "                                                         is standard input)\n"
    "       tolvek-cli [-a ALGORITHMS] -s TEXT                digests of TEXT\n"
    "       tolvek-cli -c [OPTION]... [-a ALGORITHM] LIST...  checks the files of the lists\n"
    "       tolvek-cli --list                                 the algorithm names\n"
    "       tolvek-cli --self-test                            the engine's known-answer test\n"
    "ALGORITHMS is a short name or a list caption, ignoring case, or several joined by commas\n"
    "(each file is then read once, and every digest printed as 'MD5 (FILE) = digest'); the\n"
    "default is sha1.\n";

constexpr std::string_view kGeneralHelp =
    "Options:\n"
    "  -a ALGORITHMS         the algorithms, as above\n"
    "  -s TEXT               hash TEXT instead of files\n"
    "      --progress        show each file's progress on standard error\n"
    "      --no-progress     never show it (by default a terminal shows it for files that\n"
    "                        take a while)\n"
    "      --list            print the algorithm names\n"
    "      --self-test       run the engine's known-answer test\n"
    "  -h, --help            print this help\n"
    "      --version         print the version\n"
    "  --                    the arguments after it are files\n";

constexpr std::string_view kExitHelp =
    "Exit status: 0 when every file was read (and, with -c, matched), 1 when any was not,\n"
    "2 for a usage error, 130 when interrupted.\n";

enum class ProgressMode { Automatic, Always, Never };

struct Request {
    bool list = false;
    bool help = false;
    bool selfTest = false;
    bool version = false;
    std::optional<std::string> algorithms;
    std::optional<std::string> text;
    std::vector<std::string> files;
    ProgressMode progress = ProgressMode::Automatic;
    ListOptions lists;
};

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
    return std::nullopt;
}

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
            request.algorithms = arguments[++index];
        } else if (argument == "-s") {
            request.text = arguments[++index];
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
            errors << "tolvek-cli: unknown option " << argument << "\n" << kUsage;
            return std::nullopt;
        }
    }
    if (const std::optional<std::string_view> conflict = conflictIn(request)) {
        errors << "tolvek-cli: " << *conflict << "\n" << kUsage;
        return std::nullopt;
    }
    if (!request.text && request.files.empty()) {
        request.files.push_back("-");
    }
    return request;
}

// Ids that named another entry before: each says which ids to use now.
constexpr std::pair<std::string_view, std::string_view> kRetiredIds[] = {
    {"whirlpool1",
     "the id of \"Whirlpool 1\" (2001) is now whirlpoolt; whirlpool0 is the 2000 "
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

// Prints the self-test's message ("No error" when every answer matched).
int selfTest(std::ostream& output) {
    const engine::HashResult result = engine::TestAllHashTypes();
    std::string message;
    engine::HashErrorText(result, message);
    output << message << "\n";
    return result == engine::kHashOk ? kExitOk : kExitFailure;
}

// The digest lines of one input: "digest  name" for one algorithm, "MD5 (name) = digest" for
// several or with --tag; names escaped as sha256sum escapes them, unless lines end with NUL.
class DigestPrinter {
public:
    DigestPrinter(std::span<const AlgorithmEntry* const> entries, const ListOptions& options,
                  std::ostream& output)
        : m_entries(entries), m_options(options), m_output(output) {}

    void print(std::size_t index, const std::string& digest, const std::string& name) {
        const app::NameEscaping escaping =
            m_options.zero ? app::NameEscaping::Raw : app::NameEscaping::Escaped;
        const AlgorithmEntry& entry = *m_entries[index];
        if (m_entries.size() == 1 && !m_options.tag) {
            const app::GnuMode mode = m_options.binary ? app::GnuMode::Binary : app::GnuMode::Text;
            m_output << app::FormatGnuLine(digest, name, mode, escaping);
        } else {
            m_output << app::FormatBsdLine(app::TagOf(entry), app::FullWidth(digest, entry), name,
                                           escaping);
        }
        m_output << (m_options.zero ? '\0' : '\n');
    }

private:
    std::span<const AlgorithmEntry* const> m_entries;
    const ListOptions& m_options;
    std::ostream& m_output;
};

// The progress of one file on standard error, rewritten in place and cleared at the end.
class ProgressOnErrors {
public:
    ProgressOnErrors(std::ostream& errors, const std::string& name, bool afterAMoment)
        : m_errors(errors), m_name(app::NameForMessage(name)), m_afterAMoment(afterAMoment) {}
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

struct FileRun {
    const Request& request;
    std::span<const AlgorithmEntry* const> entries;
    std::istream& input;
    std::ostream& errors;
    const CliContext& context;
};

// The outcomes of one file; nothing when the run was interrupted.
std::optional<digest::FileDigests> hashOne(const FileRun& run, const std::string& name,
                                           bool named) {
    const std::vector<const digest::Provider*> routes = routesOf(run.entries, false);
    if (name == "-" && named) {
        return digest::FileDigests{false, digest::HashStreamWith(run.input, routes)};
    }
    const bool showProgress =
        run.request.progress == ProgressMode::Always ||
        (run.request.progress == ProgressMode::Automatic && run.context.errorsIsTerminal);
    std::optional<ProgressOnErrors> progress;
    digest::ReadControl control;
    control.stop = run.context.interrupt;
    // Named on the command line, a FIFO or a device is what the user wants read.
    control.readStreams = named;
    if (showProgress) {
        progress.emplace(run.errors, name, run.request.progress == ProgressMode::Automatic);
        control.progress = [&](const digest::ReadProgress& report) { progress->show(report); };
    }
    digest::FileDigests digests = digest::HashFileWith(name, routes, control);
    if (digests.cancelled) {
        return std::nullopt;
    }
    return digests;
}

// Prints one file's digests, or says why it has none; false when it has none.
bool printDigests(const digest::FileDigests& digests, const std::string& name,
                  DigestPrinter& printer, std::ostream& errors) {
    for (std::size_t index = 0; index < digests.outcomes.size(); ++index) {
        const DigestOutcome& outcome = digests.outcomes[index];
        if (!outcome.ok) {
            // One read: a file that failed, failed for every algorithm alike.
            errors << FileError(name, digests.systemError, outcome.text);
            return false;
        }
        printer.print(index, outcome.text, name);
    }
    return true;
}

int hashFiles(const FileRun& run, std::ostream& output) {
    DigestPrinter printer(run.entries, run.request.lists, output);
    bool failed = false;
    bool interrupted = false;
    const TreeOptions tree{run.request.lists.recursive, run.request.lists.followLinks};
    const bool walked = VisitFiles(
        run.request.files, tree,
        [&](const std::string& name, bool named) {
            const std::optional<digest::FileDigests> digests = hashOne(run, name, named);
            interrupted = !digests;
            if (digests && !printDigests(*digests, name, printer, run.errors)) {
                failed = true;
            }
            return !interrupted;
        },
        run.errors);
    if (interrupted) {
        return kExitInterrupted;
    }
    return failed || !walked ? kExitFailure : kExitOk;
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

int runRequest(const Request& request, std::istream& input, std::ostream& output,
               std::ostream& errors, const CliContext& context) {
    if (request.help) {
        output << kUsage << kGeneralHelp << kListOptionsHelp << kExitHelp;
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
        output << "tolvek-cli (" << app::kProductName << ") " << app::kVersion << "\n";
        return kExitOk;
    }
    const std::optional<std::vector<const AlgorithmEntry*>> entries =
        findEntries(request.algorithms.value_or(std::string(kDefaultAlgorithm)), errors);
    if (!entries) {
        return kExitUsage;
    }
    if (request.lists.check) {
        return checkLists(request, *entries, {input, output, errors, context});
    }
    if (request.text) {
        return hashText(*entries, *request.text, output, errors);
    }
    return hashFiles({request, *entries, input, errors, context}, output);
}

}  // namespace

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
