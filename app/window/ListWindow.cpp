#include "app/window/ListWindow.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/checks/ChecksumList.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/window/TextNumbers.h"
#include "platform/AtomicFile.h"

namespace tolvek::window {

namespace fs = std::filesystem;
using checks::FormatBsdLine;
using checks::FormatGnuLine;
using checks::NameForMessage;
using checks::TagOf;

namespace {

// A message names at most these many folders a walk skipped.
constexpr std::size_t kMostSkippedShown = 10;

constexpr CheckStatus kStatusOrder[] = {CheckStatus::Ok, CheckStatus::Failed, CheckStatus::Missing,
                                        CheckStatus::Unreadable, CheckStatus::Cancelled};

std::vector<std::string> textsFrom(const std::function<std::string(int)>& loadText, int first,
                                   int count) {
    std::vector<std::string> texts;
    for (int number = first; number < first + count; ++number) {
        texts.push_back(loadText(number));
    }
    return texts;
}

}  // namespace

ListWindow::ListWindow(ListWindowPort& port, Background background, hashing::WorkerTasks& gathering,
                       std::function<std::string(int)> loadText)
    : m_port(port),
      m_run(background),
      m_gathering(gathering, background.ui,
                  {[this] { showProgress(); },
                   [this](FoundRows found) { rowsFound(std::move(found)); },
                   [this] { gatheringEnded(); }}),
      m_loadText(std::move(loadText)) {}

ListWindowTexts ListWindow::texts() const {
    return {m_loadText(kTitleText), textsFrom(m_loadText, kFirstHeadingText, 4),
            textsFrom(m_loadText, kFirstCommandText, 5)};
}

void ListWindow::Open(const hashing::AlgorithmEntry& entry) {
    m_newFileEntry = &entry;
    m_port.setTexts(texts());
    m_port.showWindow();
}

void ListWindow::OpenNames(const std::vector<std::string>& names) {
    if (m_newFileEntry == nullptr) {
        m_newFileEntry = hashing::FindAlgorithm("sha256");
    }
    m_port.setTexts(texts());
    m_port.showWindow();
    std::string joined;
    for (const std::string& name : names) {
        joined.append(joined.empty() ? "" : "\r").append(name);
    }
    DropHandler(joined);
}

void ListWindow::ApplyTexts() {
    m_port.setTexts(texts());
    for (std::size_t index = 0; index < m_rows.size(); ++index) {
        showRow(index);
    }
    if (!m_rows.empty() || Running()) {
        showProgress();
    }
}

void ListWindow::CheckList(const std::string& listPath) {
    m_gathering.gatherList(listPath);
}

void ListWindow::DropHandler(const std::string& names) {
    m_gathering.gatherDropped(names, m_newFileEntry);
}

void ListWindow::rowsFound(FoundRows found) {
    if (!found.failure.empty()) {
        m_port.showMessage(found.failure);
    }
    m_skippedFolders.insert(m_skippedFolders.end(), found.skippedFolders.begin(),
                            found.skippedFolders.end());
    for (CheckItem& item : found.items) {
        addRow(std::move(item));
    }
    runNext();
}

void ListWindow::gatheringEnded() {
    showSkippedFolders();
    runNext();
}

// Once for a whole drop, however many folders it skipped.
void ListWindow::showSkippedFolders() {
    if (m_skippedFolders.empty()) {
        return;
    }
    std::string names;
    for (std::size_t index = 0; index < m_skippedFolders.size(); ++index) {
        if (index == kMostSkippedShown) {
            names += "\n… (" + std::to_string(m_skippedFolders.size()) + ")";
            break;
        }
        names.append(index == 0 ? "" : "\n").append(NameForMessage(m_skippedFolders[index]));
    }
    m_skippedFolders.clear();
    m_port.showMessage(hashing::FillPlaceholders(m_loadText(kSkippedFoldersText), {names}));
}

void ListWindow::addRow(CheckItem item) {
    const hashing::AlgorithmEntry* entry = item.candidates.front();
    hashing::Digest digest = item.expected;
    m_rows.push_back({std::move(item), std::move(digest), std::nullopt, entry});
    showRow(m_rows.size() - 1);
}

void ListWindow::runNext() {
    if (m_running) {
        showProgress();  // more files to go
        return;
    }
    const auto next = std::ranges::find_if(m_rows, [](const Row& row) { return !row.done; });
    if (next == m_rows.end()) {
        showProgress();
        return;
    }
    m_running = static_cast<std::size_t>(next - m_rows.begin());
    showProgress();
    m_run.start(next->item.path, hashing::RoutesOf(next->item.candidates, hashing::Route::File),
                {{}, [this](hashing::FileDigests digests) { fileEnded(std::move(digests)); }, {}});
}

void ListWindow::fileEnded(hashing::FileDigests digests) {
    const std::size_t index = *std::exchange(m_running, std::nullopt);
    if (digests.cancelled) {
        // The rest waits for nothing now: cancelling stops the whole check.
        for (std::size_t rest = index; rest < m_rows.size(); ++rest) {
            if (!m_rows[rest].done) {
                m_rows[rest].done = true;
                m_rows[rest].status = CheckStatus::Cancelled;
                showRow(rest);
            }
        }
        showProgress();
        return;
    }
    Row& row = m_rows[index];
    row.done = true;
    const CheckVerdict verdict = VerdictOf(row.item, digests);
    if (verdict.status == CheckStatus::Ok) {
        row.entry = verdict.matched;  // the digest equals the expected one it shows
    } else if (verdict.status == CheckStatus::Failed) {
        // The digest the file has, so that a copied or saved line tells the truth about it.
        row.digest = digests.outcomes.front().digest;
    }
    // A file that is only hashed has no expected digest to fail against.
    const bool onlyHashed = row.item.expected.empty() && verdict.status == CheckStatus::Failed;
    row.status = onlyHashed ? std::nullopt : std::optional(verdict.status);
    showRow(index);
    runNext();
}

void ListWindow::CancelAction() {
    m_gathering.cancel();
    m_run.cancel();
}

std::string ListWindow::statusText(CheckStatus status) const {
    const auto position = std::ranges::find(kStatusOrder, status) - std::begin(kStatusOrder);
    return m_loadText(kFirstStatusText + static_cast<int>(position));
}

void ListWindow::showRow(std::size_t index) const {
    const Row& row = m_rows[index];
    m_port.setRow(index, {NameForMessage(row.item.name), std::string(row.entry->caption),
                          hashing::HexText(row.digest),
                          row.status ? statusText(*row.status) : std::string{},
                          row.status});
}

std::string ListWindow::Summary() const {
    std::string summary;
    for (const CheckStatus status : kStatusOrder) {
        const auto count = std::ranges::count(m_rows, std::optional(status), &Row::status);
        if (count > 0) {
            summary.append(summary.empty() ? "" : ", ")
                .append(std::to_string(count))
                .append(" ")
                .append(statusText(status));
        }
    }
    return summary;
}

void ListWindow::showProgress() const {
    const auto done = std::ranges::count(m_rows, true, &Row::done);
    const std::string total = std::to_string(m_rows.size());
    const std::optional<int> permille =
        m_rows.empty() ? std::nullopt
                       : std::optional(static_cast<int>(done * 1000 / std::ssize(m_rows)));
    m_port.showProgress({hashing::FillPlaceholders(m_loadText(kFilesDoneText),
                                                  {std::to_string(done), total}),
                         Summary(), permille, Running() ? m_loadText(kCancelText) : std::string{}});
}

std::optional<std::string> ListWindow::lineOf(const Row& row, LineStyle style) const {
    if (row.digest.empty()) {
        return std::nullopt;
    }
    return style == LineStyle::Gnu ? FormatGnuLine(row.digest, row.item.name)
                                   : FormatBsdLine(TagOf(*row.entry), row.digest, row.item.name);
}

std::string ListWindow::linesOf(LineStyle style) const {
    std::string lines;
    for (const Row& row : m_rows) {
        if (const std::optional<std::string> line = lineOf(row, style)) {
            lines += *line + "\n";
        }
    }
    return lines;
}

void ListWindow::CopyRowAction(std::size_t index, LineStyle style) {
    if (index < m_rows.size()) {
        if (const std::optional<std::string> line = lineOf(m_rows[index], style)) {
            m_port.setClipboardText(*line);
        }
    }
}

void ListWindow::CopyAllAction(LineStyle style) {
    m_port.setClipboardText(linesOf(style));
}

void ListWindow::SaveListAction() {
    const auto withDigest = std::ranges::find_if(m_rows, [](const Row& row) { return !row.digest.empty(); });
    if (withDigest == m_rows.end()) {
        return;
    }
    std::string extension(1, '.');
    extension += withDigest->entry->id;
    std::optional<std::string> name = m_port.chooseSaveName("checksums" + extension);
    if (!name) {
        return;
    }
    if (!fs::path(*name).has_extension()) {
        *name += extension;
    }
    std::error_code error;
    if (fs::exists(*name, error) &&
        !m_port.confirm(hashing::FillPlaceholders(m_loadText(kSaveReplaceText), {*name}))) {
        return;
    }
    // GNU lines name no algorithm, so a list of several takes BSD lines.
    const bool oneAlgorithm = std::ranges::all_of(m_rows, [&](const Row& row) {
        return row.digest.empty() || row.entry == withDigest->entry;
    });
    if (!platform::WriteFileAtomically(*name, linesOf(oneAlgorithm ? LineStyle::Gnu : LineStyle::Bsd))) {
        m_port.showMessage(hashing::FillPlaceholders(m_loadText(kSaveFailedText), {*name}));
    }
}

}  // namespace tolvek::window
