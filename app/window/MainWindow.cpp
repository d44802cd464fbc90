#include "app/window/MainWindow.h"

#include <optional>
#include <utility>

#include "app/hashing/Hashing.h"
#include "app/window/Languages.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

using hashing::DigestOutcome;

namespace {

constexpr std::string_view kStringFailurePrefix = "Error: ";
constexpr std::string_view kSelfTestFailurePrefix = "Could not verify library, error: ";

// What no selection, or a position without an entry, gives: the engine's answer for a type it
// does not know.
DigestOutcome noEntryOutcome() {
    return {false, {}, hashing::EngineMessage(engine::kHashUnknownType)};
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
    : m_state(windows, background, entries),
      m_compare(m_state),
      m_offers(m_state, {[this] { hashAgain(); }, [this] { CompareAction(); },
                         [this](const AlgorithmEntry& entry, const std::string& listPath) {
                             if (m_listWindow != nullptr) {
                                 m_listWindow->Open(entry);
                                 m_listWindow->CheckList(listPath);
                             }
                         },
                         [this](const AlgorithmEntry& entry, const std::string& expected) {
                             checkWith(entry, expected);
                         }}),
      m_selfTest(std::move(selfTest)) {
    m_state.row = &m_offers;
    windows.setListEntries(Control::AlgorithmList, captionsOf(entries));
    windows.selectPosition(Control::AlgorithmList, hashing::DefaultPosition(entries));
    windows.setListEntries(Control::LanguageList, languageNames());
    windows.selectPosition(Control::LanguageList, kEnglishPosition);
}

StartUpOutcome MainWindow::StartUpHandler(const std::vector<std::string>& arguments) {
    if (restoreChoices(true) == StartUpOutcome::EndProgram) {
        return StartUpOutcome::EndProgram;
    }
    WindowSystem& windows = m_state.windows;
    // The arguments before the first empty one count, so an empty argument 1 names no file.
    if (!arguments.empty() && !arguments.front().empty()) {
        windows.setText(Control::PathField, arguments.front());
        hashFileFromField(Control::MainWindow, WhenShown::Nothing);
    }
    // The window first shows the file's digest, unless the hash takes long enough to show
    // its progress; a read that hangs does not keep it hidden either.
    m_state.showWindowLater();
    if (HashRunning()) {
        m_state.ui().postAfter(kProgressAppearsAfter, [this] { m_state.showWindowFirstTime(); });
    } else {
        m_state.showWindowFirstTime();
    }
    return StartUpOutcome::ShowWindow;
}

StartUpOutcome MainWindow::StartUpHidden() {
    return restoreChoices(false);
}

StartUpOutcome MainWindow::restoreChoices(bool saveLanguageFile) {
    WindowSystem& windows = m_state.windows;
    const LanguageFileLines saved = languageFile().read();
    const std::optional<int> savedPosition = restoredPosition(saved.position);
    windows.selectPosition(Control::LanguageList, MatchLanguage(saved.language));
    // The saved position goes back into the file right away, although the list gets it only
    // after the self-test: a program that is killed later must not forget the user's choice.
    const bool validSave = savedPosition && m_state.entryAt(*savedPosition) != nullptr;
    if (saveLanguageFile) {
        changeLanguage(validSave ? *savedPosition
                                 : windows.selectedPosition(Control::AlgorithmList));
    } else {
        applyLanguage();
    }

    if (const engine::HashResult code = m_selfTest(); code != engine::kHashOk) {
        windows.showMessage(std::string(kSelfTestFailurePrefix) + hashing::EngineMessage(code), "",
                            MessageIcon::None, {});
        return StartUpOutcome::EndProgram;
    }
    m_hashFromField = false;

    if (savedPosition) {
        windows.selectPosition(Control::AlgorithmList, validSave ? *savedPosition : -1);
    }
    return StartUpOutcome::ShowWindow;
}

void MainWindow::HashFileAction(Control sender) {
    if (!HashRunning()) {
        hashFile(sender, WhenShown::Nothing);
    }
}

void MainWindow::hashFile(Control sender, WhenShown whenShown) {
    WindowSystem& windows = m_state.windows;
    if (sender == Control::RenewButton || sender == Control::PathField || m_hashFromField) {
        m_state.lastFileName = windows.text(Control::PathField);
    } else {
        std::optional<std::string> chosen = windows.runOpenFileDialog(m_state.lastFileName);
        if (!chosen) {
            return;
        }
        m_state.lastFileName = std::move(*chosen);
    }
    windows.setText(Control::PathField, m_state.lastFileName);

    const AlgorithmEntry* entry = m_state.selectedEntry();
    if (entry == nullptr) {
        showFileOutcome(nullptr, m_state.lastFileName, noEntryOutcome(), whenShown);
        return;
    }
    startFileHash(*entry, whenShown);
}

void MainWindow::startFileHash(const AlgorithmEntry& entry, WhenShown whenShown) {
    const std::string fileName = m_state.lastFileName;
    m_state.startHash(fileName, {&entry.fileRoute}, HashSubject(entry, fileName),
                      [this, &entry, fileName, whenShown](hashing::FileDigests digests) {
                          if (!digests.cancelled) {
                              showFileOutcome(&entry, fileName,
                                              std::move(digests.outcomes.front()), whenShown);
                          }
                      },
                      // The offers look beside the file on the worker, after the result is posted.
                      [this, &entry, fileName](int run, const hashing::FileDigests& digests) {
                          m_offers.lookFor(run, entry, fileName, digests);
                      });
}

void MainWindow::showFileOutcome(const AlgorithmEntry* entry, const std::string& fileName,
                                 DigestOutcome outcome, WhenShown whenShown) {
    if (outcome.ok) {
        m_state.showDigest({entry, true, fileName, false, std::move(outcome.digest)});
    } else {
        // The whole-file checksums show a file they could not read as the empty text.
        const bool showsEmpty = entry != nullptr && entry->shownAs == hashing::ShownAs::Number;
        m_state.showFailure(showsEmpty ? std::string{} : outcome.failure);
    }
    if (whenShown == WhenShown::Copy) {
        CopyDigestAction();
    } else if (whenShown == WhenShown::Compare && m_state.digestSource()) {
        CompareAction();
    }
}

void MainWindow::CancelHashAction() {
    m_state.cancelHash();
}

void MainWindow::HashStringAction(Control sender) {
    if (HashRunning()) {
        return;
    }
    WindowSystem& windows = m_state.windows;
    if (sender != Control::RenewButton) {
        const std::string title = m_state.loadText(kStringWindowTitleText);
        hashText(windows.runStringInputWindow(title).text, false);
        return;
    }
    // Renew hashes the text because no file has that name; a text with a folder separator was
    // most likely meant as one, and the window says so.
    const std::string text = windows.text(Control::PathField);
    hashText(text, text.find_first_of("/\\") != std::string::npos);
}

void MainWindow::hashText(const std::string& text, bool namesNoFile) {
    const AlgorithmEntry* entry = m_state.selectedEntry();
    DigestOutcome outcome =
        entry != nullptr ? hashing::HashText(entry->stringRoute, text) : noEntryOutcome();
    if (outcome.ok) {
        m_state.showDigest({entry, false, text, namesNoFile, std::move(outcome.digest)});
    } else {
        m_state.showFailure(std::string(kStringFailurePrefix) + outcome.failure);
    }
}

void MainWindow::RenewHashAction() {
    const std::string text = m_state.windows.text(Control::PathField);
    if (text.empty() || HashRunning()) {
        return;
    }
    if (m_state.windows.isExistingFile(text)) {
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
    m_state.windows.setText(Control::PathField, names);
    hashFileFromField(Control::MainWindow, WhenShown::Copy);
}

void MainWindow::PathFieldDropHandler(const std::string& names) {
    if (HashRunning()) {
        return;
    }
    m_state.windows.setText(Control::PathField, names);
    hashFile(Control::PathField, WhenShown::Copy);
}

void MainWindow::CloseButtonAction() {
    m_state.windows.postClose();
}

void MainWindow::CloseHandler() {
    CancelHashAction();
    LanguageChangeHandler();
    m_state.windows.endProgram();
}

void MainWindow::ShowAboutAction() {
    m_state.windows.runAboutWindow();
}

void MainWindow::AlgorithmChangeHandler() {
    m_offers.algorithmChanged();
}

void MainWindow::AcceptOfferAction() {
    m_offers.accept();
}

void MainWindow::DeclineOfferAction() {
    m_offers.decline();
}

void MainWindow::hashAgain() {
    const DigestSource source = *m_state.digestSource();
    if (source.isFile) {
        m_state.windows.setText(Control::PathField, source.input);
        hashFileFromField(Control::MainWindow, WhenShown::Nothing);
    } else {
        hashText(source.input, source.namesNoFile);
    }
}

void MainWindow::checkWith(const AlgorithmEntry& entry, const std::string& expected) {
    WindowSystem& windows = m_state.windows;
    m_state.lastFileName = m_state.digestSource()->input;
    windows.setText(Control::PathField, m_state.lastFileName);
    windows.selectPosition(Control::AlgorithmList,
                           static_cast<int>(&entry - m_state.entries.data()));
    windows.setText(Control::CompareField, expected);
    startFileHash(entry, WhenShown::Compare);
}

void MainWindow::OpenListWindowAction() {
    const AlgorithmEntry* selected = m_state.selectedEntry();
    const AlgorithmEntry* entry = selected != nullptr ? selected : m_state.entryAt(0);
    if (m_listWindow != nullptr && entry != nullptr) {
        m_listWindow->Open(*entry);
    }
}

void MainWindow::CopyDigestAction() {
    m_compare.copyDigest();
}

void MainWindow::PasteDigestAction() {
    m_compare.pasteDigest();
}

void MainWindow::CompareAction() {
    m_compare.compare();
}

void MainWindow::PasteAndCompareAction() {
    m_compare.pasteAndCompare();
}

void MainWindow::CompareWithFileAction() {
    m_compare.compareWithFile();
}

void MainWindow::CompareFieldDropHandler(const std::string& names) {
    m_compare.compareFieldDrop(names);
}

void MainWindow::hashFileFromField(Control sender, WhenShown whenShown) {
    // Cleared again even when a route throws, so that the next click asks for a name.
    struct FlagScope {
        bool& flag;
        explicit FlagScope(bool& scoped) : flag(scoped) { flag = true; }
        ~FlagScope() { flag = false; }
    } scope(m_hashFromField);
    hashFile(sender, whenShown);
}

void MainWindow::AttachListWindow(ListWindow& listWindow) {
    m_listWindow = &listWindow;
    if (const std::filesystem::path config = m_state.windows.configFolder(); !config.empty()) {
        listWindow.RememberChoiceIn(config / "files-algorithms");
    }
}

LanguageFile MainWindow::languageFile() const {
    return LanguageFile(m_state.windows.executableFolder(), m_state.windows.configFolder());
}

}  // namespace tolvek::window
