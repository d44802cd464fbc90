#include "app/window/ListWindow.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <utility>

#include "app/checks/ChecksumList.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/window/AccessibleNames.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace fs = std::filesystem;
using checks::NameForMessage;

namespace {

constexpr CheckStatus kStatusOrder[] = {CheckStatus::Ok, CheckStatus::Failed, CheckStatus::Missing,
                                        CheckStatus::Unreadable, CheckStatus::Cancelled};

std::size_t positionOf(CheckStatus status) {
    return static_cast<std::size_t>(std::ranges::find(kStatusOrder, status) -
                                    std::begin(kStatusOrder));
}

std::vector<std::string> textsFrom(const std::function<std::string(int)>& loadText, int first,
                                   int count) {
    std::vector<std::string> texts;
    for (int number = first; number < first + count; ++number) {
        texts.push_back(loadText(number));
    }
    return texts;
}

}  // namespace

ListWindow::ListWindow(ListWindowPort& port, UiThread& ui, hashing::WorkerTasks& gathering,
                       hashing::WorkerTasks& checking, std::function<std::string(int)> loadText)
    : m_port(port),
      m_ui(ui),
      m_gathering(
          gathering, ui,
          {[this] { showProgress(); }, [this](FoundRows found) { rowsFound(std::move(found)); },
           [this] { gatheringEnded(); }}),
      m_checking(checking, ui),
      m_loadText(std::move(loadText)) {}

PickerGroup PickerGroupOf(const hashing::AlgorithmEntry& entry) {
    if (entry.digestBytes() <= 8) {
        return PickerGroup::Checksums;
    }
    return entry.weakness.empty() ? PickerGroup::Modern : PickerGroup::Classic;
}

ListWindowTexts ListWindow::texts() const {
    std::vector<std::string> setCommands = textsFrom(m_loadText, kFirstSetCommandText, 7);
    setCommands.push_back(m_loadText(kAlgorithmsCommandText));
    setCommands.push_back(m_loadText(kCheckFolderCommandText));
    return {m_loadText(kTitleText),
            textsFrom(m_loadText, kFirstHeadingText, 4),
            textsFrom(m_loadText, kFirstCommandText, 5),
            m_loadText(kListRowsNameText),
            m_loadText(kListProgressBarNameText),
            std::move(setCommands),
            m_loadText(kEmptyHintText),
            textsFrom(m_loadText, kFirstPickerGroupText, 3),
            m_loadText(kPickerSearchText),
            m_loadText(kVerifyNameText),
            LoadBoxButtons(m_loadText),
            hashing::FillPlaceholders(m_loadText(kShortcutDescriptionText),
                                      {std::string(kCheckFolderShortcut)}),
            textsFrom(m_loadText, kCopyCellText, 2)};
}

void ListWindow::Open(const hashing::AlgorithmEntry& entry) {
    if (!m_algorithmsChosen) {
        m_hashEntries = {&entry};
    }
    m_port.setTexts(texts());
    m_port.showEmptyHint(m_rows.empty());
    m_port.showWindow();
}

void ListWindow::OpenNames(const std::vector<std::string>& names) {
    Open(m_hashEntries.empty() ? *hashing::FindAlgorithm("sha256") : *m_hashEntries.front());
    newSet();
    gatherNames(names);
}

void ListWindow::ApplyTexts() {
    m_port.setTexts(texts());
    showRows(0);
    if (!m_rows.empty() || Running()) {
        showProgress();
    }
    showVerifyOutcome();
}

void ListWindow::CheckList(const std::string& listPath) {
    newSet();
    m_gathering.gatherList(listPath);
}

void ListWindow::DropHandler(const std::string& names) {
    newSet();
    m_gathering.gatherDropped(names, m_hashEntries);
}

// What runs for the old set stops, and what it still reports is forgotten.
void ListWindow::newSet() {
    m_gathering.cancel();
    m_checking.cancel();
    ++m_set;
    m_rows.clear();
    m_keys.clear();
    m_arriving.clear();
    m_addingRows = false;
    m_columns.clear();
    m_port.setColumns({});
    m_skippedFolders.clear();
    m_audit.reset();
    m_auditCounts.reset();
    recount();
    m_port.setRowCount(0);
    m_port.showEmptyHint(true);
    showProgress();
    showVerifyOutcome();
}

void ListWindow::ClearAction() {
    newSet();
}

void ListWindow::recount() {
    m_doneCount = 0;
    m_statusCounts = {};
    m_nextToRun = m_rows.size();
    if (m_auditCounts) {
        m_auditCounts = checks::AuditCounts{};
    }
    for (std::size_t index = 0; index < m_rows.size(); ++index) {
        const Row& row = m_rows[index];
        m_doneCount += row.done ? 1 : 0;
        if (row.status) {
            ++m_statusCounts[positionOf(*row.status)];
        }
        if (row.audit && m_auditCounts) {
            m_auditCounts->add(*row.audit);
        }
        if (!row.done && m_nextToRun == m_rows.size()) {
            m_nextToRun = index;
        }
    }
}

// The rows not handed to a check yet go to one, once the check under way has ended.
void ListWindow::runNext() {
    if (m_checking.running() || m_nextToRun == m_rows.size()) {
        showProgress();
        return;
    }
    std::vector<ListChecking::Item> items;
    for (; m_nextToRun < m_rows.size(); ++m_nextToRun) {
        if (!m_rows[m_nextToRun].done) {
            items.push_back({m_nextToRun, m_rows[m_nextToRun].item});
        }
    }
    m_checking.start(std::move(items),
                     {[this, set = m_set](std::vector<ListChecking::Result> results) {
                          filesChecked(set, std::move(results));
                      },
                      [this, set = m_set](bool cancelled) { checkEnded(set, cancelled); }});
    showProgress();
}

void ListWindow::setStatus(Row& row, std::optional<CheckStatus> status) {
    row.done = true;
    ++m_doneCount;
    row.status = status;
    if (status) {
        ++m_statusCounts[positionOf(*status)];
    }
}

void ListWindow::filesChecked(int set, std::vector<ListChecking::Result> results) {
    if (set != m_set) {
        return;  // the set they belong to has gone
    }
    for (ListChecking::Result& result : results) {
        Row& row = m_rows[result.row];
        const CheckVerdict& verdict = result.check.verdict;
        const std::vector<hashing::DigestOutcome>& outcomes = result.check.digests.outcomes;
        // A file that is only hashed has no expected digest to fail against.
        const bool onlyHashed = row.item.expected.empty() && verdict.status == CheckStatus::Failed;
        if (onlyHashed) {
            for (std::size_t cell = 0; cell < row.cells.size(); ++cell) {
                row.cells[cell].digest = outcomes[cell].digest;
            }
        } else if (verdict.status == CheckStatus::Ok) {
            row.cells.front().entry = verdict.matched;  // equal to the expected one it shows
            addColumns(row);
        } else if (verdict.status == CheckStatus::Failed && !outcomes.empty()) {
            // The digest the file has (none when its size alone failed it), so that the row
            // tells the truth about it.
            row.cells.front().digest = outcomes.front().digest;
        }
        setStatus(row, onlyHashed ? std::nullopt : std::optional(verdict.status));
        showRow(result.row);
    }
    showProgress();
}

void ListWindow::checkEnded(int set, bool cancelled) {
    if (set == m_set && cancelled) {
        // The rest waits for nothing now: cancelling stops the whole check.
        for (std::size_t row = 0; row < m_rows.size(); ++row) {
            if (!m_rows[row].done) {
                setStatus(m_rows[row], CheckStatus::Cancelled);
                showRow(row);
            }
        }
        m_nextToRun = m_rows.size();
        m_audit.reset();  // what was not hashed would be reported missing or new
    }
    runNext();
    classifyAudit();
    showVerifyOutcome();
}

void ListWindow::CancelAction() {
    m_arriving.clear();
    m_gathering.cancel();
    m_checking.cancel();
}

std::string ListWindow::statusText(CheckStatus status) const {
    return m_loadText(kFirstStatusText + static_cast<int>(positionOf(status)));
}

void ListWindow::showRow(std::size_t index) const {
    const Row& row = m_rows[index];
    std::vector<std::string> digests;
    std::vector<bool> verified(m_columns.size(), false);
    for (std::size_t column = 0; column < m_columns.size(); ++column) {
        const auto cell = std::ranges::find(row.cells, m_columns[column], &Cell::entry);
        bool equal = false;
        digests.push_back(cell == row.cells.end() ? std::string{} : digestText(row, *cell, equal));
        verified[column] = equal;
    }
    m_port.setRow(index, {NameForMessage(row.item.name), std::move(digests), rowStatusText(row),
                          row.audit ? std::nullopt : row.status, std::move(verified), row.audit});
}

void ListWindow::showRows(std::size_t from) const {
    for (std::size_t index = from; index < m_rows.size(); ++index) {
        showRow(index);
    }
}

std::string ListWindow::Summary() const {
    std::string summary = m_auditCounts ? auditSummary() : std::string{};
    for (const CheckStatus status : kStatusOrder) {
        const std::size_t count = m_statusCounts[positionOf(status)];
        if (count > 0) {
            summary.append(summary.empty() ? "" : ", ")
                .append(std::to_string(count))
                .append(" ")
                .append(statusText(status));
        }
    }
    return summary;
}

void ListWindow::showProgress() {
    const std::string total = std::to_string(m_rows.size());
    const std::optional<int> permille =
        m_rows.empty() ? std::nullopt
                       : std::optional(static_cast<int>(m_doneCount * 1000 / m_rows.size()));
    const ProgressDisplay display{hashing::FillPlaceholders(m_loadText(kFilesDoneText),
                                                            {std::to_string(m_doneCount), total}),
                                  Summary(), permille,
                                  Running() ? m_loadText(kCancelText) : std::string{}};
    m_port.showProgress(display);
    // The check ends while the user may be in another window: the summary is announced, and
    // what the digest to verify matched.
    if (std::exchange(m_progressRunning, Running()) && !Running()) {
        m_port.announce(Announcement(display));
        announceVerifyOutcome();
    }
}

}  // namespace tolvek::window
