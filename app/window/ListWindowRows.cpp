// How rows come into the files window and leave it: found rows join in slices, one turn of the
// window's thread each, so that 400 000 of them never hold it up; a file is one row per set,
// with a column for each algorithm the set uses; removed rows free their files' places.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/checks/ChecksumList.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/window/AccessibleNames.h"
#include "app/window/ListWindow.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace fs = std::filesystem;
using checks::NameForMessage;

namespace {

// About as many rows as the window's thread adds in a few milliseconds.
constexpr std::size_t kRowsPerTurn = 2000;

// The same file checked against the same digest and size is one row however often it is named.
std::string keyOf(const CheckItem& item) {
    std::error_code error;
    std::string key = fs::absolute(item.path, error).lexically_normal().string();
    key.push_back('\0');
    key.append(item.expected.begin(), item.expected.end());
    if (item.size) {
        key.append('\0' + std::to_string(*item.size));
    }
    return key;
}

}  // namespace

void ListWindow::RemoveRowsAction(const std::vector<std::size_t>& indices) {
    if (Running() || indices.empty()) {
        return;
    }
    std::vector<bool> removed(m_rows.size(), false);
    for (const std::size_t index : indices) {
        if (index < removed.size()) {
            removed[index] = true;
        }
    }
    std::size_t kept = 0;
    for (std::size_t index = 0; index < m_rows.size(); ++index) {
        if (removed[index]) {
            m_keys.erase(keyOf(m_rows[index].item));
        } else {
            m_rows[kept++] = std::move(m_rows[index]);
        }
    }
    m_rows.resize(kept);
    const auto first = std::ranges::find(removed, true) - removed.begin();
    showRows(static_cast<std::size_t>(first));
    m_port.setRowCount(m_rows.size());
    m_port.showEmptyHint(m_rows.empty());
    recount();
    showProgress();
    showVerifyOutcome();
}

void ListWindow::rowsFound(FoundRows found) {
    if (!found.failure.empty()) {
        m_port.showMessage(found.failure);
    }
    if (!found.tooLargeList.empty()) {
        m_port.showMessage(hashing::FillPlaceholders(m_loadText(kListTooLargeText),
                                                     {NameForMessage(found.tooLargeList)}));
    }
    m_skippedFolders.insert(m_skippedFolders.end(), found.skippedFolders.begin(),
                            found.skippedFolders.end());
    std::ranges::move(found.items, std::back_inserter(m_arriving));
    if (found.baseline) {
        auditListRead(*found.baseline);
    }
    if (!m_addingRows) {
        addArrivingRows();
    }
}

// The files of the rows added so far are checked while the next slices come in.
void ListWindow::addArrivingRows() {
    for (std::size_t added = 0; added < kRowsPerTurn && !m_arriving.empty(); ++added) {
        addRow(std::move(m_arriving.front()));
        m_arriving.pop_front();
    }
    m_addingRows = !m_arriving.empty();
    if (m_addingRows) {
        m_ui.post([this, set = m_set] {
            if (set == m_set) {
                addArrivingRows();
            }
        });
    }
    runNext();
    classifyAudit();  // when the last rows needed no reading
}

void ListWindow::gatheringEnded() {
    showSkippedFolders();
    runNext();
    classifyAudit();
}

// Once for a whole drop, however many folders it skipped.
void ListWindow::showSkippedFolders() {
    if (m_skippedFolders.empty()) {
        return;
    }
    const std::string names = ShownNames(m_skippedFolders);
    m_skippedFolders.clear();
    m_port.showMessage(hashing::FillPlaceholders(m_loadText(kSkippedFoldersText), {names}));
}

bool ListWindow::addRow(CheckItem item) {
    if (!m_keys.insert(keyOf(item)).second) {
        return false;
    }
    std::vector<Cell> cells;
    if (item.expected.empty()) {
        for (const hashing::AlgorithmEntry* entry : item.candidates) {
            cells.push_back({entry, {}});
        }
    } else {
        cells.push_back({item.candidates.front(), item.expected});
    }
    m_rows.push_back({std::move(item), std::move(cells), std::nullopt});
    if (m_rows.size() == 1) {
        m_port.showEmptyHint(false);
    }
    addColumns(m_rows.back());
    showRow(m_rows.size() - 1);
    return true;
}

void ListWindow::addColumns(const Row& row) {
    const std::size_t before = m_columns.size();
    for (const Cell& cell : row.cells) {
        if (std::ranges::find(m_columns, cell.entry) == m_columns.end()) {
            m_columns.push_back(cell.entry);
        }
    }
    if (m_columns.size() != before) {
        std::vector<std::string> captions;
        for (const hashing::AlgorithmEntry* entry : m_columns) {
            captions.emplace_back(entry->caption);
        }
        m_port.setColumns(captions);
    }
}

}  // namespace tolvek::window
