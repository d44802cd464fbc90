#include "app/window/MainWindow.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/window/Languages.h"
#include "app/window/StringTable.h"
#include "app/window/SystemPaths.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestSize.h"
#include "app/hashing/Hashing.h"
#include "app/hashing/ProgressText.h"

namespace tolvek::window {

using hashing::AsciiLower;
using hashing::AsciiUpper;
using hashing::FillPlaceholders;
using hashing::Trim;

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
constexpr int kIdentifiedFileText = 26;
constexpr int kIdentifiedTextText = 27;
constexpr int kSelectEntryText = 28;
constexpr int kNoEntryMatchesText = 29;
constexpr int kIdentifyingText = 30;
constexpr int kWeakMatchText = 31;
constexpr int kCompareWithFileText = 32;
constexpr int kSeveralDigestsText = 33;

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

// A message box text with one more line.
std::string withLine(std::string text, std::string_view line) {
    return text.append("\n").append(line);
}

// The progress display's subject while `entry` hashes `fileName`: "SHA256: a.iso".
std::function<std::string()> hashSubject(const AlgorithmEntry& entry, const std::string& fileName) {
    return [&entry, fileName] { return std::string(entry.caption) + ": " + FileNameOf(fileName); };
}

bool namesEntry(std::string_view name, const AlgorithmEntry& entry) {
    const std::string lower = AsciiLower(name);
    return lower == AsciiLower(entry.id) || lower == AsciiLower(entry.caption);
}

std::vector<std::string> languageNames() {
    std::vector<std::string> names;
    for (const Language& language : kLanguages) {
        names.emplace_back(language.shown);
    }
    return names;
}

// CompareField's digest, read at the length of the digest shown first, so that the same
// digest repeated counts once ("<md5> <md5>" holds no 32-byte digest there), then at every
// length for a digest of another entry.
std::optional<ExpectedDigest> expectedIn(std::string_view typed, const std::string& shown,
                                         DigestLengths lengths) {
    const std::size_t shownLength[] = {shown.size() / 2};
    std::optional<ExpectedDigest> expected = ReadExpectedDigest(typed, shownLength);
    if (expected && (expected->ambiguous || expected->digest == shown)) {
        return expected;
    }
    return ReadExpectedDigest(typed, lengths);
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
    // The window first shows the file's digest, unless the hash takes long enough to show
    // its progress; a read that hangs does not keep it hidden either.
    m_windowToBeShown = true;
    if (HashRunning()) {
        m_background.ui.postAfter(kProgressAppearsAfter, [this] { showWindowFirstTime(); });
    } else {
        showWindowFirstTime();
    }
    return StartUpOutcome::ShowWindow;
}

void MainWindow::showWindowFirstTime() {
    if (std::exchange(m_windowToBeShown, false)) {
        m_windows.showMainWindow();
    }
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

    const AlgorithmEntry* entry = selectedEntry();
    if (entry == nullptr) {
        showFileOutcome(nullptr, m_lastFileName, noEntryOutcome(), copyWhenDone);
        return;
    }
    startFileHash(*entry, copyWhenDone);
}

void MainWindow::startFileHash(const AlgorithmEntry& entry, bool copyWhenDone) {
    const std::string fileName = m_lastFileName;
    startJob(fileName, {&entry.fileRoute}, hashSubject(entry, fileName),
             [this, &entry, fileName, copyWhenDone](hashing::FileDigests digests) {
                 if (!digests.cancelled) {
                     showFileOutcome(&entry, fileName, digests.outcomes.front(), copyWhenDone);
                 }
             },
             // The offers look beside the file on the worker, after the result is posted.
             [this, &entry, fileName](int job, const hashing::FileDigests& digests) {
                 lookForOffer(job, entry, fileName, digests);
             });
}

void MainWindow::startJob(const std::string& fileName,
                          std::vector<const hashing::Provider*> providers,
                          std::function<std::string()> subject,
                          std::function<void(hashing::FileDigests)> ended,
                          WorkerFollowUp onWorker) {
    const int job = ++m_lastJob;
    m_running = RunningHash{job, std::move(subject), std::move(ended), false, std::nullopt};
    // The row below the controls is the progress display's while the hash runs.
    m_offer.reset();
    m_windows.hideOffer();
    m_windows.setHashControlsEnabled(false);
    UiThread& ui = m_background.ui;
    m_background.jobs.start({
        fileName,
        std::move(providers),
        [this, &ui, job](const hashing::ReadProgress& progress) {
            ui.post([this, job, progress] { hashProgressed(job, progress); });
        },
        [this, &ui, job, onWorker = std::move(onWorker)](hashing::FileDigests digests) {
            ui.post([this, job, digests]() mutable { hashEnded(job, std::move(digests)); });
            if (onWorker) {
                onWorker(job, digests);
            }
        },
    });
}

void MainWindow::hashProgressed(int job, const hashing::ReadProgress& progress) {
    if (!m_running || m_running->job != job) {
        return;
    }
    // Hashes that end within a moment show nothing extra.
    if (!m_running->progressShown && progress.elapsed < kProgressAppearsAfter) {
        return;
    }
    showWindowFirstTime();
    m_running->progressShown = true;
    m_running->lastPermille = hashing::ProgressPermille(progress);
    m_windows.showProgress({m_running->subject(), hashing::ProgressLine(progress, progressWords()),
                            m_running->lastPermille, LoadText(kCancelText)});
}

void MainWindow::hashEnded(int job, hashing::FileDigests digests) {
    if (!m_running || m_running->job != job) {
        return;
    }
    const RunningHash ended = *std::exchange(m_running, std::nullopt);
    m_windows.setHashControlsEnabled(true);
    if (digests.cancelled) {
        m_windows.showProgress({ended.subject(), LoadText(kCancelledText), ended.lastPermille, {}});
    } else if (ended.progressShown) {
        m_windows.hideProgress();
    }
    ended.ended(std::move(digests));
    showRow();
    showWindowFirstTime();
}

void MainWindow::showFileOutcome(const AlgorithmEntry* entry, const std::string& fileName,
                                 const DigestOutcome& outcome, bool copyWhenDone) {
    if (outcome.ok) {
        showInDigestField(outcome.text, DigestSource{entry, true, fileName, false});
    } else {
        const bool showsEmpty =
            entry != nullptr && entry->fileFailure == hashing::FileFailureShown::EmptyText;
        showInDigestField(showsEmpty ? std::string{} : outcome.text, std::nullopt);
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

hashing::ProgressWords MainWindow::progressWords() const {
    hashing::ProgressWords words;
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
    if (sender != Control::RenewButton) {
        hashText(m_windows.runStringInputWindow(LoadText(kStringWindowTitleText)).text, false);
        return;
    }
    // Renew hashes the text because no file has that name; a text with a folder separator was
    // most likely meant as one, and the window says so.
    const std::string text = m_windows.text(Control::PathField);
    hashText(text, text.find_first_of("/\\") != std::string::npos);
}

void MainWindow::hashText(const std::string& text, bool namesNoFile) {
    const AlgorithmEntry* entry = selectedEntry();
    const DigestOutcome outcome =
        entry != nullptr ? hashing::HashText(entry->stringRoute, text) : noEntryOutcome();
    if (outcome.ok) {
        showInDigestField(outcome.text, DigestSource{entry, false, text, namesNoFile});
    } else {
        showInDigestField(std::string(kStringFailurePrefix) + outcome.text, std::nullopt);
    }
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
    m_windows.endProgram();
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
    const std::string digest = Trim(m_windows.text(Control::DigestField));
    const std::string typed = Trim(m_windows.text(Control::CompareField));
    if (digest.empty() || typed.empty()) {
        m_windows.showMessage(LoadText(kFieldEmptyText), std::string(kWarningCaption),
                              MessageIcon::Warning);
        return;
    }
    // An error message in DigestField is no digest and equals nothing.
    if (!m_digestSource) {
        showNotEqual();
        return;
    }
    const DigestSource source = *m_digestSource;
    if (AsciiUpper(digest) == AsciiUpper(typed)) {
        showEqual(*source.entry);
        return;
    }
    const std::string shown =
        hashing::FullWidthDigest(AsciiLower(digest), digestBytes(*source.entry));
    const std::optional<ExpectedDigest> expected = expectedIn(typed, shown, digestLengths());
    if (!expected) {
        showNotEqual();
    } else if (expected->ambiguous) {
        showNotEqual(LoadText(kSeveralDigestsText));
    } else if (expected->digest == shown) {
        showEqual(*source.entry);
    } else if (std::optional<Identification> search = identification(source, *expected);
               search && !HashRunning()) {
        identify(std::move(*search));
    } else {
        showNotEqual();
    }
}

void MainWindow::showEqual(const AlgorithmEntry& entry) {
    std::string text = LoadText(kEqualText);
    if (!entry.weakness.empty()) {
        text =
            withLine(std::move(text), FillPlaceholders(LoadText(kWeakMatchText), {entry.caption}));
    }
    m_windows.showMessage(text, std::string(kInformationCaption), MessageIcon::Information);
}

void MainWindow::showNotEqual(const std::string& addedLine) {
    const std::string text = LoadText(kNotEqualText);
    m_windows.showMessage(addedLine.empty() ? text : withLine(text, addedLine),
                          std::string(kWarningCaption), MessageIcon::Warning);
}

std::size_t MainWindow::digestBytes(const AlgorithmEntry& entry) {
    digestLengths();
    return m_digestBytes[static_cast<std::size_t>(&entry - m_entries.data())];
}

const std::vector<std::size_t>& MainWindow::digestLengths() {
    if (m_digestBytes.empty()) {
        for (const AlgorithmEntry& entry : m_entries) {
            m_digestBytes.push_back(hashing::DigestBytes(entry));
        }
        m_digestLengths = hashing::DigestLengthsOf(m_entries);
    }
    return m_digestLengths;
}

// The entries other than DigestField's that give digests of the expected length; the one a
// list line names goes first, as the likelier of two that match (the empty file's checksums).
std::optional<MainWindow::Identification> MainWindow::identification(
    const DigestSource& source, const ExpectedDigest& expected) {
    const std::size_t bytes = expected.digest.size() / 2;
    Identification search{source, expected.digest, {}, 0, m_digestGeneration};
    for (const AlgorithmEntry& entry : m_entries) {
        if (digestBytes(entry) != bytes) {
            continue;
        }
        ++search.entriesOfLength;
        if (&entry == source.entry) {
            continue;
        }
        const bool named = !expected.algorithm.empty() && namesEntry(expected.algorithm, entry);
        search.candidates.insert(named ? search.candidates.begin() : search.candidates.end(),
                                 &entry);
    }
    if (search.candidates.empty()) {
        return std::nullopt;
    }
    return search;
}

void MainWindow::identify(Identification search) {
    if (!search.source.isFile) {
        std::vector<DigestOutcome> outcomes;
        for (const AlgorithmEntry* entry : search.candidates) {
            outcomes.push_back(hashing::HashText(entry->stringRoute, search.source.input));
        }
        identified(search, outcomes);
        return;
    }
    std::vector<const hashing::Provider*> routes;
    for (const AlgorithmEntry* entry : search.candidates) {
        routes.push_back(&entry->fileRoute);
    }
    const std::string fileName = search.source.input;
    startJob(
        fileName, std::move(routes),
        [this, fileName] {
            return FillPlaceholders(LoadText(kIdentifyingText), {FileNameOf(fileName)});
        },
        [this, search = std::move(search)](hashing::FileDigests digests) {
            if (digests.cancelled) {
                showNotEqual();
            } else {
                identified(search, digests.outcomes);
            }
        });
}

void MainWindow::identified(const Identification& search, std::span<const DigestOutcome> outcomes) {
    for (std::size_t index = 0; index < outcomes.size(); ++index) {
        const DigestOutcome& outcome = outcomes[index];
        if (!outcome.ok) {
            // The input could not be read again: the same failure for every entry.
            showNotEqual(outcome.text);
            return;
        }
        const AlgorithmEntry& entry = *search.candidates[index];
        if (hashing::FullWidthDigest(outcome.text, digestBytes(entry)) != search.expected) {
            continue;
        }
        const int found = search.source.isFile ? kIdentifiedFileText : kIdentifiedTextText;
        const std::string text = withLine(
            withLine(LoadText(kNotEqualText), FillPlaceholders(LoadText(found), {entry.caption})),
            FillPlaceholders(LoadText(kSelectEntryText), {entry.caption}));
        m_windows.askQuestion(text, std::string(kWarningCaption), MessageIcon::Warning,
                              [this, search, &entry, digest = outcome.text](bool yes) {
                                  if (yes) {
                                      selectIdentified(search, entry, digest);
                                  }
                              });
        return;
    }
    showNotEqual(
        FillPlaceholders(LoadText(kNoEntryMatchesText), {std::to_string(search.entriesOfLength)}));
}

// DigestField then shows the selected entry's digest of the same input, as hashing it again
// would, unless something else has been shown there since.
void MainWindow::selectIdentified(const Identification& search, const AlgorithmEntry& entry,
                                  const std::string& digest) {
    m_windows.selectPosition(Control::AlgorithmList, static_cast<int>(&entry - m_entries.data()));
    if (m_digestGeneration == search.digestGeneration) {
        DigestSource source = search.source;
        source.entry = &entry;
        showInDigestField(digest, std::move(source));
    } else {
        showRow();
    }
}

void MainWindow::PasteAndCompareAction() {
    PasteDigestAction();
    CompareAction();
}

void MainWindow::CompareWithFileAction() {
    if (HashRunning()) {
        return;
    }
    if (const std::optional<std::string> chosen = m_windows.runOpenFileDialog(m_lastFileName)) {
        compareWithFile(*chosen);
    }
}

void MainWindow::CompareFieldDropHandler(const std::string& names) {
    if (names.find('\r') == std::string::npos && !HashRunning()) {
        compareWithFile(names);
    }
}

std::string MainWindow::CompareWithFileCaption() const {
    return LoadText(kCompareWithFileText);
}

// A second file that cannot be hashed says why in a box of its own: CompareField takes only
// digests.
void MainWindow::compareWithFile(const std::string& fileName) {
    const AlgorithmEntry* entry = selectedEntry();
    if (entry == nullptr) {
        m_windows.showMessage(noEntryOutcome().text, std::string(kWarningCaption),
                              MessageIcon::Warning);
        return;
    }
    startJob(fileName, {&entry->fileRoute}, hashSubject(*entry, fileName),
             [this](hashing::FileDigests digests) {
                 if (digests.cancelled) {
                     return;
                 }
                 const DigestOutcome& outcome = digests.outcomes.front();
                 if (!outcome.ok) {
                     m_windows.showMessage(outcome.text, std::string(kWarningCaption),
                                           MessageIcon::Warning);
                     return;
                 }
                 m_windows.setText(Control::CompareField, outcome.text);
                 CompareAction();
             });
}

std::string MainWindow::LoadText(int number) const {
    return StringTableText(m_languageBase + number).value_or(std::string{});
}

void MainWindow::ApplyTexts() {
    for (const auto& [number, control] : kAppliedTexts) {
        m_windows.setText(control, LoadText(number));
    }
    showRow();
    if (m_listWindow != nullptr) {
        m_listWindow->ApplyTexts();
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
    return hashing::EntryAt(m_entries, position);
}

const AlgorithmEntry* MainWindow::selectedEntry() const {
    return entryAt(m_windows.selectedPosition(Control::AlgorithmList));
}

void MainWindow::showInDigestField(const std::string& text, std::optional<DigestSource> source) {
    m_windows.setText(Control::DigestField, text);
    m_digestSource = std::move(source);
    ++m_digestGeneration;
    m_offer.reset();
    m_noteDismissed = false;
    showRow();
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

LanguageFile MainWindow::languageFile() const {
    return LanguageFile(m_windows.executableFolder(), m_windows.configFolder());
}

}  // namespace tolvek::window
