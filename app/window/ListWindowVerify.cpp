// The files window's verify field: the digest the user holds, found among the digests the set's
// files have.
#include <algorithm>
#include <utility>

#include "app/checks/ExpectedDigest.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/window/ListWindow.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

void ListWindow::VerifyChangedHandler(const std::string& text) {
    m_verifyText = text;
    const std::vector<std::size_t> lengths = hashing::DigestLengthsOf(hashing::AlgorithmEntries());
    std::optional<checks::ExpectedDigest> read = checks::ReadExpectedDigest(text, lengths);
    const std::optional<hashing::Digest> before =
        std::exchange(m_verify, read ? std::optional(std::move(read->digest)) : std::nullopt);
    // Only the rows marked before or now are drawn again: a keystroke costs a comparison per
    // digest, not a row drawn for each.
    const auto marked = [](const std::optional<hashing::Digest>& verify, const Cell& cell) {
        return verify && cell.digest == *verify;
    };
    if (before != m_verify) {
        for (std::size_t index = 0; index < m_rows.size(); ++index) {
            const Row& row = m_rows[index];
            if (holdsFileDigests(row) && std::ranges::any_of(row.cells, [&](const Cell& cell) {
                    return marked(before, cell) || marked(m_verify, cell);
                })) {
                showRow(index);
            }
        }
    }
    showVerifyOutcome();
    // What the user asked for is said at once, but the same words not twice as they type on.
    if (std::string outcome = verifyOutcome(); !outcome.empty() && outcome != m_announcedOutcome) {
        m_port.announce(outcome);
        m_announcedOutcome = std::move(outcome);
    }
}

// Once a check ends, what the files that have ended since matched is news.
void ListWindow::announceVerifyOutcome() {
    if (m_verify) {
        m_announcedOutcome = verifyOutcome();
        m_port.announce(m_announcedOutcome);
    }
}

// A file's digest is known once its row has ended with it: hashed, OK or FAILED, or found by a
// folder check. Before that, and for a missing or unreadable file, a row's cell holds what the
// list expects.
bool ListWindow::holdsFileDigests(const Row& row) {
    if (row.audit) {
        return *row.audit != checks::AuditClass::Missing &&
               *row.audit != checks::AuditClass::Unreadable;
    }
    return row.done &&
           (!row.status || *row.status == CheckStatus::Ok || *row.status == CheckStatus::Failed);
}

std::string ListWindow::digestText(const Row& row, const Cell& cell, bool& verified) const {
    std::string text = hashing::HexText(cell.digest);
    verified = m_verify && holdsFileDigests(row) && cell.digest == *m_verify;
    return verified ? hashing::FillPlaceholders(m_loadText(kVerifiedCellText), {text}) : text;
}

void ListWindow::showVerifyOutcome() {
    m_port.showVerifyOutcome(verifyOutcome());
}

std::string ListWindow::verifyOutcome() const {
    if (!m_verify) {
        return m_verifyText.find_first_not_of(" \t\r\n") == std::string::npos
                   ? std::string{}
                   : m_loadText(kVerifyUnreadText);
    }
    std::string matched;
    std::size_t candidates = 0;
    for (const Row& row : m_rows) {
        if (!holdsFileDigests(row)) {
            continue;
        }
        for (const Cell& cell : row.cells) {
            if (cell.digest.size() != m_verify->size()) {
                continue;
            }
            ++candidates;
            if (cell.digest == *m_verify) {
                matched.append(matched.empty() ? "" : ", ")
                    .append(checks::NameForMessage(row.item.name))
                    .append(" (")
                    .append(cell.entry->caption)
                    .append(")");
            }
        }
    }
    return matched.empty() ? hashing::FillPlaceholders(m_loadText(kVerifyNoneText),
                                                       {std::to_string(candidates)})
                           : hashing::FillPlaceholders(m_loadText(kVerifyMatchedText), {matched});
}

}  // namespace tolvek::window
