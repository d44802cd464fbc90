#include "app/core/MainWindow.h"

#include <algorithm>
#include <optional>

#include "app/core/AsciiText.h"
#include "app/core/Languages.h"
#include "app/core/StringTable.h"

namespace tolvek::app {

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

constexpr std::string_view kStringFailurePrefix = "Error: ";
constexpr std::string_view kSelfTestFailurePrefix = "Could not verify library, error: ";

// The whole-file checksum entries ("CRC32", "CRC16", "ARC-CRC") show a file they could not
// read as the empty text; every other file route shows the failure's message.
bool failureShowsEmpty(int position) {
    return position >= 18 && position <= 20;
}

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

MainWindow::MainWindow(WindowSystem& windows, SelfTest selfTest,
                       std::span<const AlgorithmEntry> entries)
    : m_windows(windows),
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
        hashFileFromField(Control::MainWindow);
    }
    return StartUpOutcome::ShowWindow;
}

void MainWindow::HashFileAction(Control sender) {
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

    const int position = m_windows.selectedPosition(Control::AlgorithmList);
    const AlgorithmEntry* entry = entryAt(position);
    const DigestOutcome outcome =
        entry != nullptr ? entry->fileRoute.hashFile(m_lastFileName) : noEntryOutcome();
    if (outcome.ok) {
        showInDigestField(outcome.text, true);
    } else {
        showInDigestField(failureShowsEmpty(position) ? std::string{} : outcome.text, false);
    }
}

void MainWindow::HashStringAction(Control sender) {
    const std::string text =
        sender == Control::RenewButton
            ? m_windows.text(Control::PathField)
            : m_windows.runStringInputWindow(LoadText(kStringWindowTitleText)).text;

    const AlgorithmEntry* entry = entryAt(m_windows.selectedPosition(Control::AlgorithmList));
    const DigestOutcome outcome =
        entry != nullptr ? entry->stringRoute.hashText(text) : noEntryOutcome();
    showInDigestField(outcome.ok ? outcome.text : std::string(kStringFailurePrefix) + outcome.text,
                      outcome.ok);
}

void MainWindow::RenewHashAction() {
    const std::string text = m_windows.text(Control::PathField);
    if (text.empty()) {
        return;
    }
    if (m_windows.isExistingFile(text)) {
        HashFileAction(Control::RenewButton);
    } else {
        HashStringAction(Control::RenewButton);
    }
}

void MainWindow::WindowDropHandler(const std::string& names) {
    if (names.find('\r') != std::string::npos) {
        return;
    }
    m_windows.setText(Control::PathField, names);
    hashFileFromField(Control::MainWindow);
    CopyDigestAction();
}

void MainWindow::PathFieldDropHandler(const std::string& names) {
    m_windows.setText(Control::PathField, names);
    HashFileAction(Control::PathField);
    CopyDigestAction();
}

void MainWindow::CloseButtonAction() {
    m_windows.postClose();
}

void MainWindow::CloseHandler() {
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
    const auto found = std::ranges::find(m_entries, position, &AlgorithmEntry::position);
    return found != m_entries.end() ? &*found : nullptr;
}

void MainWindow::showInDigestField(const std::string& text, bool isDigest) {
    m_windows.setText(Control::DigestField, text);
    m_digestFieldHoldsDigest = isDigest;
}

void MainWindow::hashFileFromField(Control sender) {
    // Cleared again even when a route throws, so that the next click asks for a name.
    struct FlagScope {
        bool& flag;
        explicit FlagScope(bool& scoped) : flag(scoped) { flag = true; }
        ~FlagScope() { flag = false; }
    } scope(m_hashFromField);
    HashFileAction(sender);
}

LanguageFile MainWindow::languageFile() const {
    return LanguageFile(m_windows.executableFolder(), m_windows.configFolder());
}

}  // namespace tolvek::app
