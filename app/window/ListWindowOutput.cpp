// The list window's copies, saves and reports: what a list keeps of each row, decided once.
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

// A question or message names at most these many files.
constexpr std::size_t kMostNamesShown = 10;

std::string namesForMessage(const std::vector<std::string>& names) {
    std::string shown;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (index == kMostNamesShown) {
            shown += "\n… (" + std::to_string(names.size()) + ")";
            break;
        }
        shown.append(index == 0 ? "" : "\n").append(NameForMessage(names[index]));
    }
    return shown;
}

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

// A list states what each file is to be: the expected digest of a checked file, the digest of a
// hashed one. A FAILED file's digest is the corruption the check found, kept only when the user
// makes it the reference; a missing or unreadable file has nothing to vouch for.
std::vector<KeptLine> ListWindow::keptLines(const std::vector<const Row*>& rows) {
    std::vector<std::string> failedNames;
    for (const Row* row : rows) {
        if (row->status == CheckStatus::Failed) {
            failedNames.push_back(row->item.name);
        }
    }
    const bool keepFailed =
        !failedNames.empty() && m_port.confirm(hashing::FillPlaceholders(
                                    m_loadText(kKeepFailedText), {namesForMessage(failedNames)}));
    std::vector<KeptLine> kept;
    for (const Row* row : rows) {
        const bool checked = !row->item.expected.empty();
        hashing::Digest digest;
        if (row->status == CheckStatus::Failed) {
            digest = keepFailed ? row->digest : hashing::Digest{};
        } else if (row->status == CheckStatus::Missing || row->status == CheckStatus::Unreadable) {
            digest = {};
        } else if (checked) {
            digest = row->item.expected;
        } else if (row->done && !row->status) {
            digest = row->digest;
        }
        if (!digest.empty()) {
            kept.push_back({row->entry, std::move(digest), row->item.name, row->item.path});
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
        m_port.chooseSaveName(std::string("checksums.").append(offered->entry->id));
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
        m_port.showMessage(hashing::FillPlaceholders(m_loadText(kAbsoluteNamesText),
                                                     {namesForMessage(absoluteNames)}));
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
        const bool read = row.done && (!row.status || row.status == CheckStatus::Ok ||
                                       row.status == CheckStatus::Failed);
        rows.push_back({NameForMessage(row.item.name), std::string(row.entry->caption),
                        hashing::HexText(row.item.expected),
                        read ? hashing::HexText(row.digest) : std::string{},
                        row.status ? statusText(*row.status) : std::string{}});
    }
    const bool csv = fs::path(*name).extension() == ".csv";
    if (!platform::WriteFileAtomically(*name,
                                       csv ? ReportCsv(rows) : ReportText(rows, Summary()))) {
        m_port.showMessage(hashing::FillPlaceholders(m_loadText(kSaveFailedText), {*name}));
    }
}

}  // namespace tolvek::window
