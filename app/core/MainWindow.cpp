#include "app/core/MainWindow.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>

#include "app/core/Languages.h"
#include "app/core/StringTable.h"
#include "app/digest/AsciiText.h"
#include "app/digest/Hashing.h"
#include "app/digest/ProgressText.h"

namespace tolvek::app {

using digest::AsciiUpper;
using digest::Trim;

namespace {

// Which control shows which text of a language block.
constexpr std::array<std::pair<int, Control>, 10> kAppliedTexts = {{
    {1, Control::MainWindow},
    {2, Control::HashStringButton},
    {3, Control::HashFileButton},
    {4, Control::CloseButton},
    {5, Control::RenewButton},
    {6, Control::CopyButton},
    {7, Control::PasteButton},
    {8, Control::CompareButton},
    {9, Control::AboutButton},
    {15, Control::CompareLabel},
}};

constexpr int kCompareText = 8;
constexpr int kFieldEmptyText = 11;
constexpr int kEqualText = 12;
constexpr int kNotEqualText = 13;
constexpr int kStringWindowTitleText = 14;
constexpr int kProgressOfText = 16;
constexpr int kProgressLeftText = 17;
constexpr int kCancelText = 18;
constexpr int kCancelledText = 19;
constexpr int kFirstUnitText = 20;
constexpr int kDecimalSeparatorText = 25;
constexpr int kSidecarOfferText = 46;
constexpr int kDismissText = 47;
constexpr int kListOfferText = 48;
constexpr int kCheckFilesText = 49;

constexpr std::string_view kStringFailurePrefix = "Error: ";
constexpr std::string_view kSelfTestFailurePrefix = "Could not verify library, error: ";

std::string engineMessage(engine::HashResult code) {
    std::string message;
    engine::HashErrorText(code, message);
    return message;
}

// What no selection, or a position without an entry, gives: the engine's answer for a type it
// does not know.
DigestOutcome noEntryOutcome() {
    return {false, engineMessage(engine::kHashUnknownType)};
}

// The position line 2 of sha.lng gives; nothing for an empty line, which keeps the default.
std::optional<int> restoredPosition(const std::string& line) {
    return line.empty() ? std::nullopt : std::optional<int>(PositionValue(line));
}

std::vector<std::string> captionsOf(std::span<const AlgorithmEntry> entries) {
    std::vector<std::string> captions;
    for (const AlgorithmEntry& entry : entries) {
        captions.emplace_back(entry.caption);
    }
    return captions;
}

std::vector<std::string> languageNames() {
    std::vector<std::string> names;
    for (const Language& language : kLanguages) {
        names.emplace_back(language.shown);
    }
    return names;
}

}  // namespace

MainWindow::MainWindow(WindowSystem& windows, Background background, SelfTest selfTest,
                       std::span<const AlgorithmEntry> entries)
    : m_windows(windows),
      m_background(background),
      m_selfTest(std::move(selfTest)),
      m_entries(entries),
      m_languageBase(kLanguages[kEnglishPosition].block) {
    m_windows.setListEntries(Control::AlgorithmList, captionsOf(m_entries));
    m_windows.selectPosition(Control::AlgorithmList, kDefaultAlgorithmPosition);
    m_windows.setListEntries(Control::LanguageList, languageNames());
    m_windows.selectPosition(Control::LanguageList, kEnglishPosition);
}

StartUpOutcome MainWindow::StartUpHandler(const std::vector<std::string>& arguments) {
    const LanguageFileLines saved = languageFile().read();
    const std::optional<int> savedPosition = restoredPosition(saved.position);
    m_windows.selectPosition(Control::LanguageList, MatchLanguage(saved.language));
    // The saved position goes back into the file right away, although the list gets it only
    // after the self-test: a program that is killed later must not forget the user's choice.
    const bool validSave = savedPosition && entryAt(*savedPosition) != nullptr;
    changeLanguage(validSave ? *savedPosition
                             : m_windows.selectedPosition(Control::AlgorithmList));

    if (const engine::HashResult code = m_selfTest(); code != engine::kHashOk) {
        m_windows.showMessage(std::string(kSelfTestFailurePrefix) + engineMessage(code), "",
                              MessageIcon::None);
        return StartUpOutcome::EndProgram;
    }
    m_hashFromField = false;

    if (savedPosition) {
        const bool inList =
            *savedPosition >= 0 && static_cast<std::size_t>(*savedPosition) < m_entries.size();
        m_windows.selectPosition(Control::AlgorithmList, inList ? *savedPosition : -1);
    }
    // The arguments before the first empty one count, so an empty argument 1 names no file.
    if (!arguments.empty() && !arguments.front().empty()) {
        m_windows.setText(Control::PathField, arguments.front());
        hashFileFromField(Control::MainWindow, false);
    }
    return StartUpOutcome::ShowWindow;
}

void MainWindow::HashFileAction(Control sender) {
    if (!HashRunning()) {
        hashFile(sender, false);
    }
}

void MainWindow::hashFile(Control sender, bool copyWhenDone) {
    if (sender == Control::RenewButton || sender == Control::PathField || m_hashFromField) {
        m_lastFileName = m_windows.text(Control::PathField);
    } else {
        std::optional<std::string> chosen = m_windows.runOpenFileDialog(m_lastFileName);
        if (!chosen) {
            return;
        }
        m_lastFileName = std::move(*chosen);
    }
    m_windows.setText(Control::PathField, m_lastFileName);

    const AlgorithmEntry* entry = entryAt(m_windows.selectedPosition(Control::AlgorithmList));
    if (entry == nullptr) {
        showFileOutcome(nullptr, noEntryOutcome(), copyWhenDone);
        return;
    }
    startFileHash(*entry, copyWhenDone);
}

void MainWindow::startFileHash(const AlgorithmEntry& entry, bool copyWhenDone) {
    const int job = ++m_lastJob;
    m_running = RunningHash{job, &entry, m_lastFileName, copyWhenDone, false, std::nullopt};
    withdrawOffer();
    m_windows.setHashControlsEnabled(false);
    UiThread& ui = m_background.ui;
    m_background.jobs.start({
        m_lastFileName,
        {&entry.fileRoute},
        [this, &ui, job](const digest::ReadProgress& progress) {
            ui.post([this, job, progress] { hashProgressed(job, progress); });
        },
        [this, &ui, job, &entry, fileName = m_lastFileName](digest::FileDigests digests) {
            ui.post([this, job, digests]() mutable { hashEnded(job, std::move(digests)); });
            lookForOffer(job, entry, fileName, digests);
        },
    });
}

void MainWindow::hashProgressed(int job, const digest::ReadProgress& progress) {
    if (!m_running || m_running->job != job) {
        return;
    }
    // Hashes that end within a moment show nothing extra.
    if (!m_running->progressShown && progress.elapsed < kProgressAppearsAfter) {
        return;
    }
    m_running->progressShown = true;
    m_running->lastPermille = digest::ProgressPermille(progress);
    m_windows.showProgress({progressSubject(*m_running),
                            digest::ProgressLine(progress, progressWords()),
                            m_running->lastPermille, LoadText(kCancelText)});
}

void MainWindow::hashEnded(int job, digest::FileDigests digests) {
    if (!m_running || m_running->job != job) {
        return;
    }
    const RunningHash ended = *std::exchange(m_running, std::nullopt);
    m_windows.setHashControlsEnabled(true);
    if (digests.cancelled) {
        m_windows.showProgress(
            {progressSubject(ended), LoadText(kCancelledText), ended.lastPermille, {}});
        return;
    }
    if (ended.progressShown) {
        m_windows.hideProgress();
    }
    showFileOutcome(ended.entry, std::move(digests.outcomes.front()), ended.copyWhenDone);
}

void MainWindow::showFileOutcome(const AlgorithmEntry* entry, const DigestOutcome& outcome,
                                 bool copyWhenDone) {
    if (outcome.ok) {
        showInDigestField(outcome.text, true);
    } else {
        const bool showsEmpty =
            entry != nullptr && entry->fileFailure == digest::FileFailureShown::EmptyText;
        showInDigestField(showsEmpty ? std::string{} : outcome.text, false);
    }
    if (copyWhenDone) {
        CopyDigestAction();
    }
}

void MainWindow::CancelHashAction() {
    if (HashRunning()) {
        m_background.jobs.cancel();
    }
}

std::string MainWindow::progressSubject(const RunningHash& hash) const {
    const std::string name = std::filesystem::path(hash.fileName).filename().string();
    return std::string(hash.entry->caption) + ": " + (name.empty() ? hash.fileName : name);
}

digest::ProgressWords MainWindow::progressWords() const {
    digest::ProgressWords words;
    words.of = LoadText(kProgressOfText);
    words.left = LoadText(kProgressLeftText);
    for (std::size_t unit = 0; unit < words.units.size(); ++unit) {
        words.units[unit] = LoadText(kFirstUnitText + static_cast<int>(unit));
    }
    words.decimalSeparator = LoadText(kDecimalSeparatorText);
    return words;
}

void MainWindow::HashStringAction(Control sender) {
    if (HashRunning()) {
        return;
    }
    const std::string text =
        sender == Control::RenewButton
            ? m_windows.text(Control::PathField)
            : m_windows.runStringInputWindow(LoadText(kStringWindowTitleText)).text;

    const AlgorithmEntry* entry = entryAt(m_windows.selectedPosition(Control::AlgorithmList));
    const DigestOutcome outcome =
        entry != nullptr ? digest::HashText(entry->stringRoute, text) : noEntryOutcome();
    showInDigestField(outcome.ok ? outcome.text : std::string(kStringFailurePrefix) + outcome.text,
                      outcome.ok);
}

void MainWindow::RenewHashAction() {
    const std::string text = m_windows.text(Control::PathField);
    if (text.empty() || HashRunning()) {
        return;
    }
    if (m_windows.isExistingFile(text)) {
        HashFileAction(Control::RenewButton);
    } else {
        HashStringAction(Control::RenewButton);
    }
}

// A drop that arrives while a file is hashed is ignored, like a drop of several files on the
// window.
void MainWindow::WindowDropHandler(const std::string& names) {
    if (names.find('\r') != std::string::npos || HashRunning()) {
        return;
    }
    m_windows.setText(Control::PathField, names);
    hashFileFromField(Control::MainWindow, true);
}

void MainWindow::PathFieldDropHandler(const std::string& names) {
    if (HashRunning()) {
        return;
    }
    m_windows.setText(Control::PathField, names);
    hashFile(Control::PathField, true);
}

void MainWindow::CloseButtonAction() {
    m_windows.postClose();
}

void MainWindow::CloseHandler() {
    CancelHashAction();
    LanguageChangeHandler();
}

void MainWindow::ShowAboutAction() {
    m_windows.runAboutWindow();
}

void MainWindow::CopyDigestAction() {
    m_windows.setClipboardText(m_windows.text(Control::DigestField));
}

void MainWindow::PasteDigestAction() {
    std::string text = m_windows.clipboardText().value_or(std::string{});
    // Plain text ends at its first zero byte.
    text.erase(std::min(text.find('\0'), text.size()));
    m_windows.setText(Control::CompareField, Trim(text));
}

void MainWindow::CompareAction() {
    // Trimmed like a paste, so that a space or line end typed around a digest does not count.
    const std::string digest = AsciiUpper(Trim(m_windows.text(Control::DigestField)));
    const std::string expected = AsciiUpper(Trim(m_windows.text(Control::CompareField)));
    if (digest.empty() || expected.empty()) {
        m_windows.showMessage(LoadText(kFieldEmptyText), std::string(kWarningCaption),
                              MessageIcon::Warning);
    } else if (m_digestFieldHoldsDigest && digest == expected) {
        m_windows.showMessage(LoadText(kEqualText), std::string(kInformationCaption),
                              MessageIcon::Information);
    } else {
        // An error message in DigestField is no digest and equals nothing.
        m_windows.showMessage(LoadText(kNotEqualText), std::string(kWarningCaption),
                              MessageIcon::Warning);
    }
}

std::string MainWindow::LoadText(int number) const {
    return StringTableText(m_languageBase + number).value_or(std::string{});
}

void MainWindow::ApplyTexts() {
    for (const auto& [number, control] : kAppliedTexts) {
        m_windows.setText(control, LoadText(number));
    }
    if (m_offer) {
        showOffer();
    }
}

void MainWindow::LanguageChangeHandler() {
    changeLanguage(m_windows.selectedPosition(Control::AlgorithmList));
}

void MainWindow::changeLanguage(int savedAlgorithmPosition) {
    const int position = m_windows.selectedPosition(Control::LanguageList);
    if (position < 0 || static_cast<std::size_t>(position) >= kLanguages.size()) {
        return;
    }
    const Language& language = kLanguages[static_cast<std::size_t>(position)];
    m_languageBase = language.block;
    ApplyTexts();
    languageFile().write(language.written, savedAlgorithmPosition);
}

const AlgorithmEntry* MainWindow::entryAt(int position) const {
    return digest::EntryAt(m_entries, position);
}

void MainWindow::showInDigestField(const std::string& text, bool isDigest) {
    withdrawOffer();
    m_windows.setText(Control::DigestField, text);
    m_digestFieldHoldsDigest = isDigest;
}

void MainWindow::hashFileFromField(Control sender, bool copyWhenDone) {
    // Cleared again even when a route throws, so that the next click asks for a name.
    struct FlagScope {
        bool& flag;
        explicit FlagScope(bool& scoped) : flag(scoped) { flag = true; }
        ~FlagScope() { flag = false; }
    } scope(m_hashFromField);
    hashFile(sender, copyWhenDone);
}

void MainWindow::lookForOffer(int job, const AlgorithmEntry& entry, const std::string& fileName,
                              const digest::FileDigests& digests) {
    if (digests.cancelled || !digests.outcomes.front().ok) {
        return;
    }
    PendingOffer offer{digests.outcomes.front().text, {}, {}, 0, &entry};
    if (const std::optional<std::size_t> listed = ListedFiles(fileName)) {
        offer.listPath = fileName;
        offer.listedFiles = *listed;
    } else if (std::optional<SidecarDigest> sidecar =
                   FindSidecarDigest(fileName, entry.id, offer.shownDigest)) {
        offer.sidecar = std::move(*sidecar);
    } else {
        return;
    }
    m_background.ui.post([this, job, offer = std::move(offer)] { offerFound(job, offer); });
}

void MainWindow::offerFound(int job, PendingOffer offer) {
    if (job != m_lastJob || HashRunning() || !m_digestFieldHoldsDigest ||
        m_windows.text(Control::DigestField) != offer.shownDigest) {
        return;
    }
    m_offer = std::move(offer);
    showOffer();
}

void MainWindow::showOffer() {
    if (!m_offer->listPath.empty()) {
        const std::string list = std::filesystem::path(m_offer->listPath).filename().string();
        m_windows.showOffer({digest::FillPlaceholders(LoadText(kListOfferText),
                                                      {list, std::to_string(m_offer->listedFiles)}),
                             LoadText(kCheckFilesText), LoadText(kDismissText)});
        return;
    }
    const std::string source = m_offer->sidecar.source.filename().string();
    m_windows.showOffer(
        {digest::FillPlaceholders(LoadText(kSidecarOfferText), {source, m_offer->sidecar.digest}),
         LoadText(kCompareText), LoadText(kDismissText)});
}

void MainWindow::withdrawOffer() {
    if (std::exchange(m_offer, std::nullopt)) {
        m_windows.hideOffer();
    }
}

void MainWindow::AcceptOfferAction() {
    if (!m_offer || HashRunning()) {
        return;
    }
    const PendingOffer accepted = *m_offer;
    withdrawOffer();
    if (!accepted.listPath.empty()) {
        if (m_listWindow != nullptr) {
            m_listWindow->Open(*accepted.entry);
            m_listWindow->CheckList(accepted.listPath);
        }
        return;
    }
    m_windows.setText(Control::CompareField, accepted.sidecar.digest);
    CompareAction();
}

void MainWindow::OpenListWindowAction() {
    const AlgorithmEntry* selected = entryAt(m_windows.selectedPosition(Control::AlgorithmList));
    const AlgorithmEntry* entry = selected != nullptr ? selected : entryAt(0);
    if (m_listWindow != nullptr && entry != nullptr) {
        m_listWindow->Open(*entry);
    }
}

void MainWindow::DeclineOfferAction() {
    withdrawOffer();
}

LanguageFile MainWindow::languageFile() const {
    return LanguageFile(m_windows.executableFolder(), m_windows.configFolder());
}

}  // namespace tolvek::app
