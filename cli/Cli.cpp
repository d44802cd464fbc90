#include "cli/Cli.h"

#include <charconv>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/checks/ChecksumList.h"
#include "app/checks/ExpectedDigest.h"
#include "app/checks/ListCheck.h"
#include "app/Version.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestSize.h"
#include "app/hashing/FileSequence.h"
#include "app/hashing/Hashing.h"
#include "app/hashing/KnownAnswers.h"
#include "app/hashing/ProgressText.h"
#include "cli/CheckCommand.h"
#include "cli/FileTree.h"
#include "cli/ListOptions.h"
#include "cli/Messages.h"
#include "engine/HashTests.h"
#include "engine/WorkerPool.h"

namespace tolvek::cli {

namespace {

using hashing::AlgorithmEntry;
using hashing::DigestOutcome;

constexpr std::string_view kDefaultAlgorithm = "sha1";

// A terminal shows progress for a file only once it has taken this long.
constexpr std::chrono::seconds kProgressAfter{1};

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
    "default is sha1.\n";

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

enum class ProgressMode { Automatic, Always, Never };

struct Request {
    bool list = false;
    bool help = false;
    bool selfTest = false;
    bool version = false;
    std::optional<std::string> algorithms;
    std::optional<std::string> text;
    std::optional<std::string> match;   // --match EXPECTED
    std::optional<std::string> expect;  // --expect EXPECTED
    std::vector<std::string> files;
    ProgressMode progress = ProgressMode::Automatic;
    std::optional<std::size_t> threads;
    ListOptions lists;
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
    {"whirlpool1", "the id of \"Whirlpool 1\" (2001) is now whirlpoolt; whirlpool0 is the 2000 "
                   "version and whirlpool the final one"},
};

std::string unknownAlgorithmMessage(std::string_view name) {
    for (const auto& [id, message] : kRetiredIds) {
        if (hashing::AsciiLower(name) == id) {
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
        const AlgorithmEntry* entry = hashing::FindAlgorithm(name);
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

// The digest lines of one input: "digest  name" for one algorithm, "MD5 (name) = digest" for
// several or with --tag; names escaped as sha256sum escapes them, unless lines end with NUL.
class DigestPrinter {
public:
    DigestPrinter(std::span<const AlgorithmEntry* const> entries, const ListOptions& options,
                  std::ostream& output)
        : m_entries(entries), m_options(options), m_output(output) {}

    void print(std::size_t index, const std::string& digest, const std::string& name) {
        const checks::NameEscaping escaping =
            m_options.zero ? checks::NameEscaping::Raw : checks::NameEscaping::Escaped;
        const AlgorithmEntry& entry = *m_entries[index];
        if (m_entries.size() == 1 && !m_options.tag) {
            const checks::GnuMode mode = m_options.binary ? checks::GnuMode::Binary : checks::GnuMode::Text;
            // Full width, as list checkers read a checksum line.
            m_output << checks::FormatGnuLine(
                hashing::FullWidthDigest(digest, hashing::DigestBytes(entry)), name, mode, escaping);
        } else {
            m_output << checks::FormatBsdLine(
                checks::TagOf(entry), hashing::FullWidthDigest(digest, hashing::DigestBytes(entry)),
                name, escaping);
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
        : m_errors(errors), m_name(checks::NameForMessage(name)), m_afterAMoment(afterAMoment) {}
    ProgressOnErrors(const ProgressOnErrors&) = delete;
    ProgressOnErrors& operator=(const ProgressOnErrors&) = delete;
    ~ProgressOnErrors() {
        if (m_shown) {
            m_errors << "\r\033[K" << std::flush;
        }
    }

    void show(const hashing::ReadProgress& progress) {
        if (m_afterAMoment && progress.elapsed < kProgressAfter) {
            return;
        }
        m_shown = true;
        m_errors << "\r" << m_name << ": " << hashing::ProgressLine(progress, {}) << "\033[K"
                 << std::flush;
    }

private:
    std::ostream& m_errors;
    std::string m_name;
    bool m_afterAMoment;
    bool m_shown = false;
};

std::vector<const hashing::Provider*> routesOf(std::span<const AlgorithmEntry* const> entries,
                                              bool strings) {
    std::vector<const hashing::Provider*> routes;
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

// The files of a run hashed one after another, their digests handed to `onDigests` in order on
// this thread. A file that takes a while shows its progress on a terminal.
class DigestSequence {
public:
    using OnDigests = std::function<void(const std::string& name, const hashing::FileDigests&)>;

    DigestSequence(const FileRun& run, OnDigests onDigests)
        : m_run(run),
          m_routes(routesOf(run.entries, false)),
          m_onDigests(std::move(onDigests)),
          m_sequence(controlOf(run)) {}

    // `named`: the user named it, so that a FIFO or a device is read, and "-" is standard input.
    // False once the run was interrupted.
    bool add(const std::string& name, bool named) {
        if (name == "-" && named) {
            return m_sequence.addReport([this, name] {
                m_onDigests(name, {false, hashing::HashStreamWith(m_run.input, m_routes)});
                return true;
            });
        }
        const auto file = std::make_shared<File>();
        hashing::FileTask task;
        task.name = name;
        task.readStreams = named;
        task.hash = [this, file](hashing::FileContent& content, const hashing::ReadControl& control) {
            file->digests = hashing::HashContentWith(content, m_routes, control);
        };
        task.report = [this, file, name] {
            file->progress.reset();
            if (file->digests.cancelled) {
                return false;
            }
            m_onDigests(name, file->digests);
            return true;
        };
        if (showsProgress()) {
            task.progress = [this, file, name](const hashing::ReadProgress& report) {
                if (!file->progress) {
                    file->progress.emplace(m_run.errors, name, automaticProgress());
                }
                file->progress->show(report);
            };
        }
        return m_sequence.add(std::move(task));
    }

    // A note of the walk, kept in its place among the digests.
    void addNote(std::string note) {
        m_sequence.addReport([this, note = std::move(note)] {
            m_run.errors << note;
            return true;
        });
    }

    // False when the run was interrupted.
    bool finish() { return m_sequence.finish(); }

private:
    struct File {
        hashing::FileDigests digests;
        std::optional<ProgressOnErrors> progress;
    };

    static hashing::ReadControl controlOf(const FileRun& run) {
        hashing::ReadControl control;
        control.stop = run.context.interrupt;
        return control;
    }

    bool automaticProgress() const { return m_run.request.progress == ProgressMode::Automatic; }
    bool showsProgress() const {
        return m_run.request.progress == ProgressMode::Always ||
               (automaticProgress() && m_run.context.errorsIsTerminal);
    }

    const FileRun& m_run;
    std::vector<const hashing::Provider*> m_routes;
    OnDigests m_onDigests;
    hashing::FileSequence m_sequence;
};

// Prints one file's digests, or says why it has none; false when it has none.
bool printDigests(const hashing::FileDigests& digests, const std::string& name,
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
    DigestSequence sequence(run, [&](const std::string& name, const hashing::FileDigests& digests) {
        failed = !printDigests(digests, name, printer, run.errors) || failed;
    });
    std::ostringstream walkNotes;
    const auto passNotes = [&] {
        if (walkNotes.tellp() > 0) {
            sequence.addNote(walkNotes.str());
            walkNotes.str("");
        }
    };
    const TreeOptions tree{run.request.lists.recursive, run.request.lists.followLinks};
    const bool walked = VisitFiles(
        run.request.files, tree,
        [&](const std::string& name, bool named) {
            passNotes();
            return sequence.add(name, named);
        },
        walkNotes);
    passNotes();
    if (!sequence.finish()) {
        return kExitInterrupted;
    }
    return failed || !walked ? kExitFailure : kExitOk;
}

// Each named file hashed in a sequence; false when the run was interrupted.
bool hashNamedFiles(DigestSequence& sequence, const std::vector<std::string>& files) {
    for (const std::string& name : files) {
        if (!sequence.add(name, true)) {
            break;
        }
    }
    return sequence.finish();
}

// The expected digest read forgivingly for digests of `entries`; nothing, after saying why,
// when the text holds none, or several different ones of the length found.
std::optional<std::string> expectedDigest(const std::string& text,
                                          std::span<const AlgorithmEntry* const> entries,
                                          std::ostream& errors) {
    std::vector<std::size_t> lengths;
    for (const AlgorithmEntry* entry : entries) {
        lengths.push_back(hashing::DigestBytes(*entry));
    }
    std::optional<checks::ExpectedDigest> expected = checks::ReadExpectedDigest(text, lengths);
    const bool one = entries.size() == 1;
    if (!expected) {
        errors << "tolvek-cli: no digest of " << (one ? "this algorithm's" : "any") << " length in "
               << text << "\n";
    } else if (expected->ambiguous) {
        // Whichever of them is taken, the answer would be about one the user may not mean.
        errors << "tolvek-cli: more than one digest of " << (one ? "this algorithm's" : "that")
               << " length in " << text << "\n";
    } else {
        return std::move(expected->digest);
    }
    return std::nullopt;
}

bool gives(const AlgorithmEntry& entry, const DigestOutcome& outcome, const std::string& digest) {
    return hashing::FullWidthDigest(outcome.text, hashing::DigestBytes(entry)) == digest;
}

// --match: for each file, the ids of the entries that give the expected digest, from one read
// of the file by every entry of its length.
int matchFiles(const FileRun& run, const std::string& expectedText, std::ostream& output) {
    std::vector<const AlgorithmEntry*> all;
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        all.push_back(&entry);
    }
    const std::optional<std::string> expected = expectedDigest(expectedText, all, run.errors);
    if (!expected) {
        return kExitUsage;
    }
    std::erase_if(all, [&](const AlgorithmEntry* entry) {
        return 2 * hashing::DigestBytes(*entry) != expected->size();
    });
    const FileRun sameLength{run.request, all, run.input, run.errors, run.context};
    int exitCode = kExitOk;
    DigestSequence sequence(sameLength, [&](const std::string& name,
                                            const hashing::FileDigests& digests) {
        const std::vector<DigestOutcome>& outcomes = digests.outcomes;
        if (!outcomes.front().ok) {
            run.errors << FileError(name, digests.systemError, outcomes.front().text);
            exitCode = kExitFailure;
            return;
        }
        std::string matches;
        for (std::size_t index = 0; index < all.size(); ++index) {
            if (gives(*all[index], outcomes[index], *expected)) {
                matches.append(matches.empty() ? "" : " ").append(all[index]->id);
            }
        }
        output << checks::NameForMessage(name) << ": " << (matches.empty() ? "no match" : matches)
               << "\n";
        exitCode = matches.empty() ? kExitFailure : exitCode;
    });
    return hashNamedFiles(sequence, run.request.files) ? exitCode : kExitInterrupted;
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
    DigestSequence sequence(run, [&](const std::string& name, const hashing::FileDigests& digests) {
        const DigestOutcome& outcome = digests.outcomes.front();
        const std::string shown = checks::NameForMessage(name);
        if (!outcome.ok) {
            run.errors << FileError(name, digests.systemError, outcome.text);
            output << shown << ": FAILED open or read\n";
            exitCode = kExitFailure;
        } else if (gives(entry, outcome, *expected)) {
            output << shown << ": OK\n";
            matchedWeak = !entry.weakness.empty();
        } else {
            output << shown << ": FAILED\n";
            exitCode = kExitFailure;
        }
    });
    if (!hashNamedFiles(sequence, run.request.files)) {
        return kExitInterrupted;
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
        const DigestOutcome outcome = hashing::HashText(entry->stringRoute, text);
        if (!outcome.ok) {
            errors << "tolvek-cli: " << outcome.text << "\n";
            exitCode = kExitFailure;
        } else if (entries.size() == 1) {
            output << outcome.text << "\n";
        } else {
            output << hashing::AsciiUpper(entry->id) << " (\"" << text << "\") = " << outcome.text
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
        output << "tolvek-cli (" << kProductName << ") " << kProjectVersion << "\n";
        return kExitOk;
    }
    const std::optional<std::vector<const AlgorithmEntry*>> entries =
        findEntries(request.algorithms.value_or(std::string(kDefaultAlgorithm)), errors);
    if (!entries) {
        return kExitUsage;
    }
    if (request.threads) {
        engine::WorkerPool::Shared().limitThreads(*request.threads);
    }
    if (request.lists.check) {
        return checkLists(request, *entries, {input, output, errors, context});
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

bool CheckArguments(const std::vector<std::string>& arguments, std::ostream& errors) {
    return parse(arguments, errors).has_value();
}

int RunCli(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output,
           std::ostream& errors, const CliContext& context) {
    const std::optional<Request> request = parse(arguments, errors);
    if (!request) {
        return kExitUsage;
    }
    if (const std::optional<std::string_view> misplaced = MisplacedListOption(request->lists)) {
        errors << "tolvek-cli: " << *misplaced
               << "\nTry 'tolvek-cli --help' for more information.\n";
        return kExitFailure;
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
