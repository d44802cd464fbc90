#include "app/window/ListWindow.h"

#include <algorithm>
#include <filesystem>
#include <stop_token>
#include <system_error>
#include <utility>

#include "app/checks/ChecksumList.h"
#include "app/checks/FolderWalk.h"
#include "app/checks/Sidecar.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestSize.h"
#include "engine/HashEngine.h"
#include "platform/AtomicFile.h"

namespace tolvek::window {

namespace fs = std::filesystem;
using checks::AlgorithmOfListName;
using checks::FolderVisit;
using checks::FormatBsdLine;
using checks::FormatGnuLine;
using checks::ListItems;
using checks::NameForMessage;
using checks::ReadListFile;
using checks::ReadListItems;
using checks::Skipped;
using checks::TagOf;
using checks::WalkFolder;

namespace {

constexpr int kTitleText = 50;
constexpr int kFirstHeadingText = 51;
constexpr int kFirstCommandText = 60;  // copy row GNU, BSD, copy all GNU, BSD, save
constexpr int kFirstStatusText = 55;  // OK, FAILED, missing, unreadable, cancelled
constexpr int kSaveReplaceText = 65;
constexpr int kSaveFailedText = 66;
constexpr int kFilesDoneText = 67;
constexpr int kSkippedFoldersText = 68;
// A message names at most these many folders a walk skipped.
constexpr std::size_t kMostSkippedShown = 10;
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

// The rows one name gives, found on the worker; `failure` says why a list gave none, and
// `skipped` names the folders below it that could not be read.
struct Found {
    std::vector<CheckItem> items;
    std::string failure;
    std::vector<std::string> skipped;
};

// The files `path` names when it is a checksum list by name or by content.
std::optional<std::vector<CheckItem>> listedItems(const std::string& path) {
    const std::optional<std::string> text = ReadListFile(path);
    if (!text) {
        return std::nullopt;
    }
    ListItems items = ReadListItems(*text, path);
    const bool byName = AlgorithmOfListName(path) != nullptr;
    if (items.items.empty() || (!byName && !items.malformedLines.empty())) {
        return std::nullopt;
    }
    return std::move(items.items);
}

Found listToCheck(const std::string& listPath) {
    const std::optional<std::string> text = ReadListFile(listPath);
    if (!text) {
        return {{}, NameForMessage(listPath) + ": " + engineMessage(engine::kHashOpenFailed), {}};
    }
    return {ReadListItems(*text, listPath).items, {}, {}};
}

// A file that is only hashed has no expected digest; without an entry to hash it with it gives
// no row.
Found droppedName(const std::string& name, const hashing::AlgorithmEntry* newFileEntry,
                  const std::stop_token& stop) {
    Found found;
    const auto addFile = [&](const std::string& file) {
        if (newFileEntry != nullptr) {
            found.items.push_back({0, file, file, {}, {newFileEntry}});
        }
        return true;
    };
    std::error_code error;
    if (fs::is_directory(name, error)) {
        FolderVisit visit;
        visit.file = addFile;
        visit.skipped = [&found](const std::string& folder, Skipped why, int) {
            if (why == Skipped::Unreadable) {
                found.skipped.push_back(folder);
            }
        };
        WalkFolder(name, visit, stop);
    } else if (std::optional<std::vector<CheckItem>> listed = listedItems(name)) {
        found.items = std::move(*listed);
    } else {
        addFile(name);
    }
    return found;
}

}  // namespace

std::optional<std::size_t> ListedFiles(const std::string& path) {
    const std::optional<std::vector<CheckItem>> items = listedItems(path);
    return items ? std::optional(items->size()) : std::nullopt;
}

ListWindow::ListWindow(ListWindowPort& port, Background background, hashing::WorkerTasks& gathering,
                       std::function<std::string(int)> loadText)
    : m_port(port),
      m_background(background),
      m_gatheringTasks(gathering),
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
    gather({{listPath}, true, nullptr});
}

void ListWindow::DropHandler(const std::string& names) {
    gather({splitNames(names), false, m_newFileEntry});
}

void ListWindow::gather(Gathering gathering) {
    m_waiting.push_back(std::move(gathering));
    gatherNext();
}

// One gathering at a time, so that rows come in the order of the drops.
void ListWindow::gatherNext() {
    if (m_gathering || m_waiting.empty()) {
        return;
    }
    m_gathering = true;
    UiThread& ui = m_background.ui;
    m_gatheringTasks.start([this, &ui, next = std::move(m_waiting.front())](std::stop_token stop) {
        for (const std::string& name : next.names) {
            Found found = next.onlyLists ? listToCheck(name)
                                         : droppedName(name, next.newFileEntry, stop);
            if (stop.stop_requested()) {
                break;  // a walk cut short lists only some of the folder's files
            }
            ui.post([this, found = std::move(found)]() mutable {
                rowsFound(std::move(found.items), found.failure, found.skipped);
            });
        }
        ui.post([this] { gatheringEnded(); });
    });
    m_waiting.pop_front();
    showProgress();
}

void ListWindow::rowsFound(std::vector<CheckItem> items, const std::string& failure,
                           const std::vector<std::string>& skippedFolders) {
    if (m_gatheringCancelled) {
        return;
    }
    if (!failure.empty()) {
        m_port.showMessage(failure);
    }
    m_skippedFolders.insert(m_skippedFolders.end(), skippedFolders.begin(), skippedFolders.end());
    for (CheckItem& item : items) {
        addRow(std::move(item));
    }
    runNext();
}

void ListWindow::gatheringEnded() {
    m_gathering = false;
    m_gatheringCancelled = false;
    showSkippedFolders();
    gatherNext();
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
    std::string digest = item.expected;
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
    const int job = ++m_lastJob;
    UiThread& ui = m_background.ui;
    m_background.jobs.start({next->item.path, RoutesOf(next->item), {},
                             [this, &ui, job](hashing::FileDigests digests) {
                                 ui.post([this, job, digests = std::move(digests)]() mutable {
                                     fileEnded(job, std::move(digests));
                                 });
                             }});
}

void ListWindow::fileEnded(int job, hashing::FileDigests digests) {
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
        row.digest =
            hashing::FullWidthDigest(digests.outcomes.front().text, hashing::DigestBytes(*row.entry));
    }
    // A file that is only hashed has no expected digest to fail against.
    const bool onlyHashed = row.item.expected.empty() && verdict.status == CheckStatus::Failed;
    row.status = onlyHashed ? std::nullopt : std::optional(verdict.status);
    showRow(index);
    runNext();
}

void ListWindow::CancelAction() {
    m_waiting.clear();
    if (m_gathering) {
        m_gatheringCancelled = true;
        m_gatheringTasks.cancel();
    }
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
