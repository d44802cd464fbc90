// The list window's copies, saves and reports: what a list keeps of each row, decided once.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/checks/ChecksumList.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/window/ListWindow.h"
#include "app/window/TextNumbers.h"
#include "platform/AtomicFile.h"

namespace tolvek::window {

namespace fs = std::filesystem;
using checks::NameForMessage;

namespace {

std::string lineOf(const KeptLine& line, LineStyle style, const std::string& name) {
    return style == LineStyle::Gnu
               ? checks::FormatGnuLine(line.digest, name)
               : checks::FormatBsdLine(checks::TagOf(*line.entry), line.digest, name);
}

}  // namespace

std::vector<const ListWindow::Row*> ListWindow::allRows() const {
    std::vector<const Row*> rows;
    rows.reserve(m_rows.size());
    for (const Row& row : m_rows) {
        rows.push_back(&row);
    }
    return rows;
}

bool ListWindow::confirmKeeping(const std::vector<const Row*>& rows,
                                const std::function<bool(const Row&)>& which, int question) {
    std::vector<std::string> names;
    for (const Row* row : rows) {
        if (which(*row)) {
            names.push_back(row->item.name);
        }
    }
    return !names.empty() &&
           m_port.confirm(hashing::FillPlaceholders(m_loadText(question), {ShownNames(names)}));
}

// A list states what each file is to be: the expected digest of a checked file, the digest of a
// hashed one. A FAILED or changed file's digest is a content the list never vouched for, kept
// only when the user makes it the reference; a missing or unreadable file has nothing to vouch
// for but what its list said.
std::vector<KeptLine> ListWindow::keptLines(const std::vector<const Row*>& rows) {
    const bool keepFailed = confirmKeeping(
        rows, [](const Row& row) { return row.status == CheckStatus::Failed; }, kKeepFailedText);
    const bool keepChanged = confirmKeeping(
        rows, [](const Row& row) { return row.audit == checks::AuditClass::Changed; },
        kKeepChangedText);
    std::vector<KeptLine> kept;
    const auto keep = [&](const Cell& cell, const hashing::Digest& digest, const Row& row) {
        kept.push_back({cell.entry, digest, row.item.name, row.item.path});
    };
    for (const Row* row : rows) {
        if (row->audit) {
            const Cell& cell = row->cells.front();
            const bool keeps = *row->audit == checks::AuditClass::Changed
                                   ? keepChanged
                                   : *row->audit != checks::AuditClass::Missing;
            if (keeps && !cell.digest.empty()) {
                keep(cell, cell.digest, *row);
            }
        } else if (row->item.expected.empty()) {
            for (const Cell& cell : row->cells) {
                if (row->done && !row->status) {
                    keep(cell, cell.digest, *row);
                }
            }
        } else if (row->status == CheckStatus::Failed) {
            if (keepFailed) {
                keep(row->cells.front(), row->cells.front().digest, *row);
            }
        } else if (row->status != CheckStatus::Missing && row->status != CheckStatus::Unreadable) {
            keep(row->cells.front(), row->item.expected, *row);
        }
    }
    return kept;
}

// GNU lines name no algorithm: lines of several take the BSD form, each naming its own.
void ListWindow::copyLines(const std::vector<const Row*>& rows, LineStyle style, bool oneRow) {
    const std::vector<KeptLine> kept = keptLines(rows);
    if (kept.empty()) {
        return;
    }
    const LineStyle used = LinesByAlgorithm(kept).size() > 1 ? LineStyle::Bsd : style;
    std::string text;
    for (const KeptLine& line : kept) {
        text.append(text.empty() ? "" : "\n").append(lineOf(line, used, line.name));
    }
    m_port.setClipboardText(oneRow ? text : text + "\n");
}

void ListWindow::CopyRowAction(std::size_t index, LineStyle style) {
    if (index < m_rows.size()) {
        copyLines({&m_rows[index]}, style, true);
    }
}

void ListWindow::CopyAllAction(LineStyle style) {
    copyLines(allRows(), style, false);
}

std::string ListWindow::cellText(const Row& row, std::size_t column) const {
    if (column == kFileColumn) {
        return NameForMessage(row.item.name);
    }
    if (column == kStatusColumn) {
        return rowStatusText(row);
    }
    const std::size_t digestColumn = column - kFirstDigestColumn;
    if (digestColumn >= m_columns.size()) {
        return {};
    }
    const auto cell = std::ranges::find(row.cells, m_columns[digestColumn], &Cell::entry);
    return cell == row.cells.end() ? std::string{} : hashing::HexText(cell->digest);
}

void ListWindow::CopyCellAction(std::size_t index, std::size_t column) {
    if (index < m_rows.size()) {
        m_port.setClipboardText(cellText(m_rows[index], column));
    }
}

void ListWindow::CopyColumnAction(std::size_t column) {
    std::string text;
    for (const Row& row : m_rows) {
        text.append(cellText(row, column)).push_back('\n');
    }
    if (!text.empty()) {
        m_port.setClipboardText(text);
    }
}

bool ListWindow::saveLines(const std::string& name, const AlgorithmLines& group,
                           std::vector<std::string>& absoluteNames) const {
    const fs::path folder = fs::path(name).parent_path();
    std::string text;
    for (const KeptLine* line : group.lines) {
        bool absolute = false;
        const std::string saved = NameInFolder(line->path, folder.empty() ? "." : folder, absolute);
        if (absolute) {
            absoluteNames.push_back(saved);
        }
        text += lineOf(*line, LineStyle::Gnu, saved) + "\n";
    }
    std::error_code error;
    if (fs::exists(name, error) &&
        !m_port.confirm(hashing::FillPlaceholders(m_loadText(kSaveReplaceText), {name}))) {
        return false;
    }
    if (!platform::WriteFileAtomically(name, text)) {
        m_port.showMessage(hashing::FillPlaceholders(m_loadText(kSaveFailedText), {name}));
        return false;
    }
    return true;
}

// One list per algorithm; each names its files relative to its own folder.
void ListWindow::SaveListAction() {
    const auto offered = std::ranges::find_if(m_rows, [](const Row& row) {
        return !row.item.expected.empty() || (row.done && !row.status);
    });
    if (offered == m_rows.end()) {
        return;
    }
    std::optional<std::string> chosen =
        m_port.chooseSaveName(std::string("checksums.").append(offered->cells.front().entry->id));
    if (!chosen) {
        return;
    }
    const std::vector<KeptLine> kept = keptLines(allRows());
    const std::vector<AlgorithmLines> groups = LinesByAlgorithm(kept);
    if (!fs::path(*chosen).has_extension() && groups.size() == 1) {
        chosen->append(".").append(groups.front().entry->id);
    }
    std::vector<std::string> absoluteNames;
    for (const AlgorithmLines& group : groups) {
        const std::string name =
            groups.size() == 1 ? *chosen : ListNameFor(*chosen, *group.entry).string();
        saveLines(name, group, absoluteNames);
    }
    if (!absoluteNames.empty()) {
        m_port.showMessage(
            hashing::FillPlaceholders(m_loadText(kAbsoluteNamesText), {ShownNames(absoluteNames)}));
    }
}

void ListWindow::ExportReportAction() {
    if (m_rows.empty()) {
        return;
    }
    const std::optional<std::string> name = m_port.chooseSaveName("report.txt");
    std::error_code error;
    if (!name || (fs::exists(*name, error) && !m_port.confirm(hashing::FillPlaceholders(
                                                  m_loadText(kSaveReplaceText), {*name})))) {
        return;
    }
    std::vector<ReportRow> rows;
    for (const Row& row : m_rows) {
        const bool read = holdsFileDigests(row);
        for (const Cell& cell : row.cells) {
            rows.push_back({NameForMessage(row.item.name), std::string(cell.entry->caption),
                            hashing::HexText(row.item.expected),
                            read ? hashing::HexText(cell.digest) : std::string{},
                            rowStatusText(row)});
        }
    }
    const bool csv = fs::path(*name).extension() == ".csv";
    if (!platform::WriteFileAtomically(*name,
                                       csv ? ReportCsv(rows) : ReportText(rows, Summary()))) {
        m_port.showMessage(hashing::FillPlaceholders(m_loadText(kSaveFailedText), {*name}));
    }
}

}  // namespace tolvek::window
