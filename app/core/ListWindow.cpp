#include "app/core/ListWindow.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/core/ChecksumList.h"
#include "app/core/Sidecar.h"
#include "app/digest/AsciiText.h"
#include "app/digest/DigestSize.h"
#include "engine/HashEngine.h"
#include "platform/AtomicFile.h"

namespace tolvek::app {

namespace fs = std::filesystem;

namespace {

constexpr int kTitleText = 50;
constexpr int kFirstHeadingText = 51;
constexpr int kFirstCommandText = 60;  // copy row GNU, BSD, copy all GNU, BSD, save
constexpr int kFirstStatusText = 55;  // OK, FAILED, missing, unreadable, cancelled
constexpr int kSaveReplaceText = 65;
constexpr int kSaveFailedText = 66;
constexpr int kFilesDoneText = 67;
constexpr int kCancelText = 18;

constexpr CheckStatus kStatusOrder[] = {CheckStatus::Ok, CheckStatus::Failed, CheckStatus::Missing,
                                        CheckStatus::Unreadable, CheckStatus::Cancelled};

std::vector<std::string> splitNames(const std::string& names) {
    std::vector<std::string> split;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find('\r', start), names.size());
        if (end > start) {
            split.push_back(names.substr(start, end - start));
        }
        start = end + 1;
    }
    return split;
}

// The regular files under `folder`, sorted; links to folders are not followed.
std::vector<std::string> filesUnder(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error)) {
            files.push_back(it->path().string());
        }
    }
    std::ranges::sort(files);
    return files;
}

std::string engineMessage(engine::HashResult code) {
    std::string message;
    engine::HashErrorText(code, message);
    return message;
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

std::optional<std::size_t> ListedFiles(const std::string& path) {
    const std::optional<std::string> text = ReadListFile(path);
    if (!text) {
        return std::nullopt;
    }
    const ListItems items = ReadListItems(*text, path);
    const bool byName = AlgorithmOfListName(path) != nullptr;
    if (items.items.empty() || (!byName && !items.malformedLines.empty())) {
        return std::nullopt;
    }
    return items.items.size();
}

ListWindow::ListWindow(ListWindowPort& port, Background background,
                       std::function<std::string(int)> loadText)
    : m_port(port), m_background(background), m_loadText(std::move(loadText)) {}

void ListWindow::Open(const digest::AlgorithmEntry& entry) {
    m_newFileEntry = &entry;
    m_port.showWindow({m_loadText(kTitleText), textsFrom(m_loadText, kFirstHeadingText, 4),
                       textsFrom(m_loadText, kFirstCommandText, 5)});
}

void ListWindow::CheckList(const std::string& listPath) {
    const std::optional<std::string> text = ReadListFile(listPath);
    if (!text) {
        m_port.showMessage(NameForMessage(listPath) + ": " + engineMessage(engine::kHashOpenFailed));
        return;
    }
    for (CheckItem& item : ReadListItems(*text, listPath).items) {
        addRow(std::move(item));
    }
    runNext();
}

void ListWindow::DropHandler(const std::string& names) {
    for (const std::string& name : splitNames(names)) {
        std::error_code error;
        if (fs::is_directory(name, error)) {
            for (const std::string& file : filesUnder(name)) {
                hashFile(file);
            }
        } else if (ListedFiles(name)) {
            CheckList(name);
        } else {
            hashFile(name);
        }
    }
    runNext();
}

void ListWindow::hashFile(const std::string& path) {
    if (m_newFileEntry != nullptr) {
        addRow({0, path, path, {}, {m_newFileEntry}});
    }
}

void ListWindow::addRow(CheckItem item) {
    const digest::AlgorithmEntry* entry = item.candidates.front();
    std::string digest = item.expected;
    m_rows.push_back({std::move(item), std::move(digest), std::nullopt, entry});
    showRow(m_rows.size() - 1);
}

void ListWindow::runNext() {
    if (m_running) {
        return;
    }
    const auto next = std::ranges::find_if(m_rows, [](const Row& row) { return !row.done; });
    if (next == m_rows.end()) {
        showProgress();
        return;
    }
    m_running = static_cast<std::size_t>(next - m_rows.begin());
    showProgress();
    const int job = ++m_lastJob;
    UiThread& ui = m_background.ui;
    m_background.jobs.start({next->item.path, RoutesOf(next->item), {},
                             [this, &ui, job](digest::FileDigests digests) {
                                 ui.post([this, job, digests = std::move(digests)]() mutable {
                                     fileEnded(job, std::move(digests));
                                 });
                             }});
}

void ListWindow::fileEnded(int job, digest::FileDigests digests) {
    if (job != m_lastJob || !m_running) {
        return;
    }
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
        row.digest = digest::FullWidthDigest(digests.outcomes.front().text, digest::DigestBytes(*row.entry));
    }
    // A file that is only hashed has no expected digest to fail against.
    const bool onlyHashed = row.item.expected.empty() && verdict.status == CheckStatus::Failed;
    row.status = onlyHashed ? std::nullopt : std::optional(verdict.status);
    showRow(index);
    runNext();
}

void ListWindow::CancelAction() {
    if (m_running) {
        m_background.jobs.cancel();
    }
}

std::string ListWindow::statusText(CheckStatus status) const {
    const auto position = std::ranges::find(kStatusOrder, status) - std::begin(kStatusOrder);
    return m_loadText(kFirstStatusText + static_cast<int>(position));
}

void ListWindow::showRow(std::size_t index) const {
    const Row& row = m_rows[index];
    m_port.setRow(index, {NameForMessage(row.item.name), std::string(row.entry->caption),
                          row.digest, row.status ? statusText(*row.status) : std::string{},
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
    m_port.showProgress({digest::FillPlaceholders(m_loadText(kFilesDoneText),
                                                  {std::to_string(done), total}),
                         Summary(), permille, m_running ? m_loadText(kCancelText) : std::string{}});
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
        !m_port.confirm(digest::FillPlaceholders(m_loadText(kSaveReplaceText), {*name}))) {
        return;
    }
    // GNU lines name no algorithm, so a list of several takes BSD lines.
    const bool oneAlgorithm = std::ranges::all_of(m_rows, [&](const Row& row) {
        return row.digest.empty() || row.entry == withDigest->entry;
    });
    if (!platform::WriteFileAtomically(*name, linesOf(oneAlgorithm ? LineStyle::Gnu : LineStyle::Bsd))) {
        m_port.showMessage(digest::FillPlaceholders(m_loadText(kSaveFailedText), {*name}));
    }
}

}  // namespace tolvek::app
