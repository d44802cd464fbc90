#include "cli/CheckCommand.h"

#include <memory>
#include <ostream>

#include "app/checks/ChecksumList.h"
#include "app/checks/ListCheck.h"
#include "app/hashing/FileSequence.h"
#include "cli/ListInput.h"
#include "cli/Messages.h"

namespace tolvek::cli {

namespace {

using checks::CheckItem;
using checks::CheckStatus;
using checks::CheckVerdict;

std::string plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The checks of one list, made and reported line by line as the list is read.
class ListChecker {
public:
    ListChecker(const CheckRun& run, const std::string& listPath)
        : m_run(run), m_listPath(listPath), m_shownList(QuotedName(shownListName(listPath))) {}

    // False when the run was interrupted. Whenever the list's next line has not arrived yet,
    // the files before it are checked and their verdicts shown meanwhile.
    bool check(ListInput& list) {
        hashing::ReadControl control;
        control.stop = m_run.context.interrupt;
        hashing::FileSequence sequence(control);
        bool going = true;
        checks::ListItemReader reader(
            list.isStream() ? "-" : m_listPath, m_run.forced,
            [&](checks::ListEntry entry) { going = going && add(sequence, std::move(entry)); });
        m_listAlgorithm = reader.listAlgorithm();
        std::string line;
        while (going && list.nextLine(line)) {
            reader.read(line);
            if (going && list.waits()) {
                going = sequence.finish();
                m_run.output.flush();
            }
        }
        if (going) {
            reader.end();
        }
        return going && sequence.finish();
    }

    // The closing warnings; true when the list passed.
    bool close() const {
        if (!m_run.options.status) {
            warn(m_unsupported, "line names an algorithm tolvek-cli does not compute",
                 "lines name algorithms tolvek-cli does not compute");
        }
        if (m_items == 0) {
            m_run.errors << MessagePrefix() << m_shownList
                         << ": no properly formatted checksum lines found\n";
            return false;
        }
        const std::size_t unread = m_tally.unreadable + m_tally.missing;
        if (!m_run.options.status) {
            warn(m_malformed, "line is improperly formatted", "lines are improperly formatted");
            warn(unread, "listed file could not be read", "listed files could not be read");
            warn(m_tally.failed, "computed checksum did NOT match",
                 "computed checksums did NOT match");
            warn(m_undecided, "listed file matched no algorithm of its digest's length",
                 "listed files matched no algorithm of their digest's length");
        }
        const bool verified = m_tally.ok + m_tally.failed + unread > 0;
        if (m_run.options.ignoreMissing && !verified) {
            m_run.errors << MessagePrefix() << m_shownList << ": no file was verified\n";
            return false;
        }
        const bool unclear = m_malformed + m_unsupported > 0;
        return m_tally.failed + m_undecided == 0 && unread == 0 &&
               !(m_run.options.strict && unclear);
    }

private:
    static std::string shownListName(const std::string& listPath) {
        return listPath == "-" ? "standard input" : listPath;
    }

    void warn(std::size_t count, std::string_view one, std::string_view many) const {
        if (count > 0) {
            m_run.errors << MessagePrefix() << "WARNING: " << plural(count, one, many) << "\n";
        }
    }

    // False once the sequence has ended.
    bool add(hashing::FileSequence& sequence, checks::ListEntry entry) {
        if (!entry.item) {
            ++(entry.unsupported.empty() ? m_malformed : m_unsupported);
            return !m_run.options.warn || warnMalformed(sequence, entry);
        }
        ++m_items;
        const auto item = std::make_shared<const CheckItem>(std::move(*entry.item));
        if (item->name == "-") {
            // Standard input, read here when its turn comes, as sha256sum reads "-".
            return sequence.addReport([this, item] {
                const hashing::FileDigests digests{
                    false, hashing::HashStreamWith(
                    m_run.input, hashing::RoutesOf(item->candidates, hashing::Route::File))};
                return record(*item, checks::VerdictOf(*item, digests));
            });
        }
        return sequence.add(taskOf(item));
    }

    bool warnMalformed(hashing::FileSequence& sequence, const checks::ListEntry& entry) const {
        const std::string algorithm =
            m_listAlgorithm != nullptr ? checks::TagOf(*m_listAlgorithm) + " " : "";
        const std::string why = entry.unsupported.empty()
                                    ? "improperly formatted " + algorithm + "checksum line"
                                    : "unsupported algorithm " + entry.unsupported;
        return sequence.addReport([this, why, lineNumber = entry.lineNumber] {
            m_run.errors << MessagePrefix() << m_shownList << ": " << lineNumber << ": " << why
                         << "\n";
            return true;
        });
    }

    // Hashed on any thread, reported here in the list's order.
    hashing::FileTask taskOf(const std::shared_ptr<const CheckItem>& item) {
        const auto verdict = std::make_shared<CheckVerdict>();
        hashing::FileTask task;
        task.name = item->path;
        task.readStreams = true;
        // Small files are hashed together for these, ahead of the check.
        task.algorithms = m_triedFirst.firstComputed(*item);
        task.hash = [this, item, verdict](hashing::FileContent& content,
                                          const hashing::ReadControl& control) {
            *verdict = m_triedFirst.check(*item, content, control).verdict;
        };
        task.report = [this, item, verdict] { return record(*item, *verdict); };
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
        if (undecided(item, verdict)) {
            ++m_undecided;
            report(item, "no algorithm of this length matched");
            return true;
        }
        m_tally.add(verdict.status);
        report(item, verdict);
        return true;
    }

    // A digest whose length alone named its candidates, none of which gave it, before any line
    // of the list told which algorithm it was made with: the file may have changed, or the list
    // may come from an algorithm we lack (b2sum -l 256 writes digests as long as SHA-256's).
    bool undecided(const CheckItem& item, const CheckVerdict& verdict) const {
        return verdict.status == CheckStatus::Failed && item.candidates.size() > 1 &&
               (m_likely == nullptr || m_likely->digestBytes() != item.expected.size());
    }

    void report(const CheckItem& item, const CheckVerdict& verdict) const {
        const bool unread =
            verdict.status == CheckStatus::Missing || verdict.status == CheckStatus::Unreadable;
        if (unread) {
            m_run.errors << FileError(item.name, verdict.systemError, verdict.failure);
        }
        if (!(m_run.options.quiet && verdict.status == CheckStatus::Ok)) {
            report(item, verdictText(item, verdict));
        }
    }

    void report(const CheckItem& item, std::string_view text) const {
        if (!m_run.options.status) {
            m_run.output << checks::NameForMessage(item.name) << ": " << text << "\n";
        }
    }

    // "OK", naming the algorithm that matched when the digest's length left several.
    static std::string verdictText(const CheckItem& item, const CheckVerdict& verdict) {
        switch (verdict.status) {
            case CheckStatus::Ok:
                return item.candidates.size() > 1 ? "OK (" + checks::TagOf(*verdict.matched) + ")"
                                                  : "OK";
            case CheckStatus::Failed:
                return "FAILED";
            default:
                return "FAILED open or read";
        }
    }

    const CheckRun& m_run;
    const std::string& m_listPath;
    std::string m_shownList;
    const hashing::AlgorithmEntry* m_listAlgorithm = nullptr;
    std::size_t m_items = 0;
    std::size_t m_malformed = 0;
    std::size_t m_unsupported = 0;
    std::size_t m_undecided = 0;
    checks::CheckTally m_tally;
    // The entry of the last match reported, which tells a digest that matched no candidate
    // from one of an algorithm we lack.
    const hashing::AlgorithmEntry* m_likely = nullptr;
    checks::MatchHint m_triedFirst;
};

}  // namespace

int CheckLists(const CheckRun& run) {
    int exitCode = kExitOk;
    for (const std::string& listPath : run.lists) {
        ListInput list(listPath, run.input);
        ListChecker checker(run, listPath);
        if (list.systemError() == 0 && !checker.check(list)) {
            return kExitInterrupted;
        }
        if (list.systemError() != 0) {
            run.errors << FileError(listPath, list.systemError(), "");
            exitCode = kExitFailure;
        } else if (!checker.close()) {
            exitCode = kExitFailure;
        }
    }
    return exitCode;
}

}  // namespace tolvek::cli
