#include "cli/CheckCommand.h"

#include <sys/stat.h>

#include <atomic>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/core/ChecksumList.h"
#include "app/core/ListCheck.h"
#include "app/digest/FileSequence.h"
#include "cli/Messages.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::cli {

namespace {

using app::CheckItem;
using app::CheckStatus;
using app::CheckVerdict;

struct ListText {
    std::string text;
    int systemError = 0;
    // Standard input, a FIFO or a device: its names are relative to the current folder.
    bool stream = false;
};

// A list named on the command line may be a FIFO too (`-c <(cmd)`).
ListText readList(const std::string& listPath, std::istream& input) {
    ListText list;
    if (listPath == "-") {
        list.text.assign(std::istreambuf_iterator<char>(input), {});
        list.stream = true;
        return list;
    }
    struct stat status {};
    list.stream = ::stat(listPath.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
    std::optional<platform::ReadOnlyFile> file =
        platform::ReadOnlyFile::open(listPath, platform::FileKinds::WithStreams, &list.systemError);
    if (!file) {
        return list;
    }
    std::vector<std::uint8_t> buffer(digest::kReadChunk);
    const bool read = platform::ReadPieces(*file, buffer, std::nullopt, [&](auto piece) {
        list.text.append(reinterpret_cast<const char*>(piece.data()), piece.size());
    });
    if (!read) {
        list.systemError = file->lastError();
    }
    return list;
}

std::string plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The checks of one list, reported line by line as they are made.
class ListChecker {
public:
    ListChecker(const CheckRun& run, const std::string& listPath)
        : m_run(run), m_shownList(QuotedName(shownListName(listPath))) {}

    // False when the run was interrupted.
    bool check(const app::ListItems& list) {
        digest::ReadControl control;
        control.stop = m_run.context.interrupt;
        digest::FileSequence sequence(control);
        std::size_t malformed = 0;
        const auto warnBefore = [&](std::size_t lineNumber) {
            for (; malformed < list.malformedLines.size() &&
                   list.malformedLines[malformed] < lineNumber;
                 ++malformed) {
                warnMalformed(sequence, list, list.malformedLines[malformed]);
            }
        };
        for (const CheckItem& item : list.items) {
            warnBefore(item.lineNumber);
            if (!sequence.add(taskOf(item))) {
                break;
            }
        }
        warnBefore(std::numeric_limits<std::size_t>::max());
        return sequence.finish();
    }

    // The closing warnings; true when the list passed.
    bool close(const app::ListItems& list) const {
        const std::size_t malformed = list.malformedLines.size();
        if (list.items.empty()) {
            m_run.errors << "tolvek-cli: " << m_shownList
                         << ": no properly formatted checksum lines found\n";
            return false;
        }
        const std::size_t unread = m_tally.unreadable + m_tally.missing;
        if (!m_run.options.status) {
            warn(malformed, "line is improperly formatted", "lines are improperly formatted");
            warn(unread, "listed file could not be read", "listed files could not be read");
            warn(m_tally.failed, "computed checksum did NOT match",
                 "computed checksums did NOT match");
        }
        const bool verified = m_tally.ok + m_tally.failed + unread > 0;
        if (m_run.options.ignoreMissing && !verified) {
            m_run.errors << "tolvek-cli: " << m_shownList << ": no file was verified\n";
            return false;
        }
        return m_tally.failed == 0 && unread == 0 && !(m_run.options.strict && malformed > 0);
    }

private:
    static std::string shownListName(const std::string& listPath) {
        return listPath == "-" ? "standard input" : listPath;
    }

    void warn(std::size_t count, std::string_view one, std::string_view many) const {
        if (count > 0) {
            m_run.errors << "tolvek-cli: WARNING: " << plural(count, one, many) << "\n";
        }
    }

    void warnMalformed(digest::FileSequence& sequence, const app::ListItems& list,
                       std::size_t lineNumber) const {
        if (!m_run.options.warn) {
            return;
        }
        const std::string algorithm =
            list.listAlgorithm != nullptr ? app::TagOf(*list.listAlgorithm) + " " : "";
        sequence.addReport([this, algorithm, lineNumber] {
            m_run.errors << "tolvek-cli: " << m_shownList << ": " << lineNumber
                         << ": improperly formatted " << algorithm << "checksum line\n";
            return true;
        });
    }

    // Hashed on any thread, reported here in the list's order.
    digest::FileTask taskOf(const CheckItem& item) {
        const auto verdict = std::make_shared<CheckVerdict>();
        digest::FileTask task;
        task.name = item.path;
        task.readStreams = true;
        task.hash = [this, &item, verdict](digest::FileContent& content,
                                           const digest::ReadControl& control) {
            *verdict = app::CheckContent(item, content, control, m_likely.load());
        };
        task.report = [this, &item, verdict] { return record(item, *verdict); };
        return task;
    }

    // False when the run was interrupted.
    bool record(const CheckItem& item, const CheckVerdict& verdict) {
        if (verdict.status == CheckStatus::Cancelled) {
            return false;
        }
        if (verdict.matched != nullptr) {
            m_likely = verdict.matched;
        }
        if (verdict.status == CheckStatus::Missing && m_run.options.ignoreMissing) {
            return true;
        }
        m_tally.add(verdict.status);
        report(item, verdict);
        return true;
    }

    void report(const CheckItem& item, const CheckVerdict& verdict) const {
        const bool unread =
            verdict.status == CheckStatus::Missing || verdict.status == CheckStatus::Unreadable;
        if (unread) {
            m_run.errors << FileError(item.name, verdict.systemError, verdict.failure);
        }
        const bool shown =
            !m_run.options.status && !(m_run.options.quiet && verdict.status == CheckStatus::Ok);
        if (!shown) {
            return;
        }
        m_run.output << app::NameForMessage(item.name) << ": " << verdictText(item, verdict)
                     << "\n";
    }

    // "OK", naming the algorithm that matched when the digest's length left several.
    static std::string verdictText(const CheckItem& item, const CheckVerdict& verdict) {
        switch (verdict.status) {
            case CheckStatus::Ok:
                return item.candidates.size() > 1 ? "OK (" + app::TagOf(*verdict.matched) + ")"
                                                  : "OK";
            case CheckStatus::Failed:
                return "FAILED";
            default:
                return "FAILED open or read";
        }
    }

    const CheckRun& m_run;
    std::string m_shownList;
    app::CheckTally m_tally;
    // The entry of the last match, tried first for the next files.
    std::atomic<const digest::AlgorithmEntry*> m_likely = nullptr;
};

}  // namespace

int CheckLists(const CheckRun& run) {
    int exitCode = kExitOk;
    for (const std::string& listPath : run.lists) {
        const ListText list = readList(listPath, run.input);
        if (list.systemError != 0) {
            run.errors << FileError(listPath, list.systemError, "");
            exitCode = kExitFailure;
            continue;
        }
        const app::ListItems items =
            app::ReadListItems(list.text, list.stream ? "-" : listPath, run.forced);
        ListChecker checker(run, listPath);
        if (!checker.check(items)) {
            return kExitInterrupted;
        }
        if (!checker.close(items)) {
            exitCode = kExitFailure;
        }
    }
    return exitCode;
}

}  // namespace tolvek::cli
