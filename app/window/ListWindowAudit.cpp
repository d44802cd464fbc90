// The files window's check of a folder against a list made of it before: the folder's files are
// hashed as any set's, then each is given the class the command line's audit gives it.
#include <utility>

#include "app/hashing/AsciiText.h"
#include "app/window/ListWindow.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

using checks::AuditClass;

void ListWindow::CheckFolderAgainstListAction() {
    const std::vector<std::string> lists = m_port.chooseOpenNames();
    if (lists.empty()) {
        return;
    }
    if (const std::optional<std::string> folder = m_port.chooseFolder()) {
        CheckFolderAgainstList(lists.front(), *folder);
    }
}

void ListWindow::CheckFolderAgainstList(const std::string& listPath, const std::string& folder) {
    newSet();
    m_gathering.gatherAudit(listPath, folder);
}

// The folder's files are the rows so far and those still arriving; files added to the set later
// are only hashed.
void ListWindow::auditListRead(AuditBaseline& baseline) {
    if (baseline.algorithm == nullptr) {
        m_port.showMessage(hashing::FillPlaceholders(m_loadText(kAuditNoAlgorithmText),
                                                     {checks::NameForMessage(baseline.listPath)}));
        return;
    }
    m_audit = PendingAudit{std::move(baseline.items), baseline.algorithm,
                           m_rows.size() + m_arriving.size()};
}

// Once every file has been hashed: a class for each, and a row for each listed file found nowhere.
void ListWindow::classifyAudit() {
    if (!m_audit || Running()) {
        return;
    }
    const PendingAudit audit = std::move(*m_audit);
    m_audit.reset();
    std::vector<checks::CurrentFile> current;
    current.reserve(audit.rows);
    for (std::size_t index = 0; index < audit.rows; ++index) {
        const Row& row = m_rows[index];
        hashing::Digest digest =
            holdsFileDigests(row) ? row.cells.front().digest : hashing::Digest{};
        current.push_back({row.item.path, std::move(digest), 0, {}});
    }
    const std::vector<checks::AuditFinding> findings =
        checks::ClassifyAudit(audit.baseline, current);
    for (std::size_t index = 0; index < findings.size(); ++index) {
        const checks::AuditFinding& finding = findings[index];
        if (index >= audit.rows) {
            CheckItem listed = *finding.listed;
            listed.candidates = {audit.algorithm};
            if (!addRow(std::move(listed))) {
                continue;  // the same line twice in the list
            }
        }
        Row& row = index < audit.rows ? m_rows[index] : m_rows.back();
        row.audit = finding.kind;
        row.movedFrom = finding.oldName;
        row.status.reset();
        row.done = true;
        row.cells.front().digest = finding.digest;
    }
    m_auditCounts = checks::AuditCounts{};
    recount();
    showRows(0);
    showProgress();
}

std::string ListWindow::rowStatusText(const Row& row) const {
    if (!row.audit) {
        return row.status ? statusText(*row.status) : std::string{};
    }
    switch (*row.audit) {
        case AuditClass::Missing:
            return statusText(CheckStatus::Missing);
        case AuditClass::Unreadable:
            return statusText(CheckStatus::Unreadable);
        case AuditClass::Moved:
            return hashing::FillPlaceholders(m_loadText(kMovedFromText),
                                             {checks::NameForMessage(row.movedFrom)});
        default:
            return m_loadText(kFirstAuditClassText + static_cast<int>(*row.audit));
    }
}

// As the command line counts: every class but unreadable, which only when there are some.
std::string ListWindow::auditSummary() const {
    const checks::AuditCounts& counts = *m_auditCounts;
    std::string summary;
    const auto add = [&summary](std::size_t count, const std::string& word) {
        summary.append(summary.empty() ? "" : ", ").append(std::to_string(count)).append(" ");
        summary.append(word);
    };
    add(counts.unchanged, m_loadText(kFirstAuditClassText));
    add(counts.changed, m_loadText(kFirstAuditClassText + 1));
    add(counts.moved, m_loadText(kFirstAuditClassText + 2));
    add(counts.added, m_loadText(kFirstAuditClassText + 3));
    add(counts.missing, statusText(CheckStatus::Missing));
    if (counts.unreadable > 0) {
        add(counts.unreadable, statusText(CheckStatus::Unreadable));
    }
    return summary;
}

}  // namespace tolvek::window
