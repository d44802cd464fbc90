// The main window's controls and the actions behind them, over the WindowSystem port: start-up
// and close, hashing files and strings through the shared entry table, renew and drops, and the
// languages with sha.lng. Compare and clipboard (CompareFlow) and the row below the controls
// (Offers) are rooms of their own over the state they share (MainWindowState).
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "app/window/CompareFlow.h"
#include "app/window/LanguageFile.h"
#include "app/window/ListWindow.h"
#include "app/window/MainWindowState.h"
#include "app/window/Offers.h"
#include "engine/HashEngine.h"
#include "engine/HashTests.h"

namespace tolvek::window {

struct Language;

// The engine's known-answer self-test: 0, or the first failing result code.
using SelfTest = std::function<engine::HashResult()>;

enum class StartUpOutcome { ShowWindow, EndProgram };

class MainWindow {
public:
    // Fills the two lists through the port (AlgorithmList with the entries' captions, "SHA1"
    // selected; LanguageList with the languages, English selected). `selfTest` runs once in
    // StartUpHandler.
    // File hashes run through `background`; their results arrive as posted calls. Both must
    // stay usable as long as a hash may run.
    MainWindow(WindowSystem& windows, Background background,
               SelfTest selfTest = engine::TestAllHashTypes,
               std::span<const AlgorithmEntry> entries = hashing::AlgorithmEntries());

    // Run once, after the controls exist and before the window is first shown: restores the
    // saved language, saves sha.lng (with the saved algorithm position), runs the self-test,
    // restores the saved algorithm and hashes the file named by `arguments` (the command line
    // without argument 0). The window is then shown: at once, or when that hash has ended or
    // its progress display appears, whichever comes first. On EndProgram the self-test failed,
    // the user was told, and the window is never shown.
    StartUpOutcome StartUpHandler(const std::vector<std::string>& arguments);
    // The start-up of a program that shows only the files window: the saved language and
    // algorithm and the self-test, with sha.lng left as it is (a main window running beside it
    // owns it) and the main window kept hidden.
    StartUpOutcome StartUpHidden();

    // HashFileButton (sender); also RenewButton, PathField and MainWindow as senders, which
    // take the name from PathField instead of the open-file dialog. The file is hashed in the
    // background: DigestField shows the outcome once it arrives, and until then the hash
    // actions and drops do nothing.
    void HashFileAction(Control sender);
    // HashStringButton (sender); RenewButton as sender hashes PathField's text instead of
    // asking for one.
    void HashStringAction(Control sender);
    void RenewHashAction();
    // Dropped names arrive joined by single carriage returns.
    void WindowDropHandler(const std::string& names);
    void PathFieldDropHandler(const std::string& names);
    void CloseButtonAction();
    // The main window is asked to close: cancels a running hash, saves the choices, and ends
    // the program with every other window of it; the close then goes on.
    void CloseHandler();
    // The progress display's Cancel control and the Esc key: the running hash stops and leaves
    // DigestField and the clipboard as they were.
    void CancelHashAction();
    void ShowAboutAction();

    // The user picked an entry of AlgorithmList. Nothing is computed and no field changes: only
    // the row below the controls follows, saying which entry made the digest shown when it is
    // not the one selected.
    void AlgorithmChangeHandler();

    // The row below the controls accepted or declined. A note on the digest shown comes first:
    // that another entry than the selected one made it (accepting hashes the same file or text
    // again with the selected entry), or that renew hashed the text of a path because no file
    // has that name. Declining a note hides it until the next choice of an entry or digest.
    // Else the offer shown after a file hash: accepting the expected digest that a checksum file
    // beside the file holds puts it into CompareField and compares; declining only withdraws it.
    // A new hash, or any other text in DigestField, withdraws it too.
    // When the file just hashed is a checksum list, the offer is to check the files it lists in
    // the list window.
    void AcceptOfferAction();
    void DeclineOfferAction();

    // The list window that the offer to check a list, and OpenListWindowAction, open; it speaks
    // the main window's language, and its picker's choice is kept in the user's configuration
    // folder.
    void AttachListWindow(ListWindow& listWindow);
    // The keyboard shortcut: opens the list window, empty, for the selected algorithm.
    void OpenListWindowAction();

    void CopyDigestAction();
    void PasteDigestAction();
    // Reads CompareField forgivingly (separators, "0x", a whole list line, base64). When it
    // differs from DigestField and other entries give digests of its length, they hash the same
    // input (a file in the background, from one read) and the message says which one matches,
    // offering to select it.
    void CompareAction();
    // Ctrl+Shift+V: PasteDigestAction, then CompareAction.
    void PasteAndCompareAction();
    // CompareField's "Compare with file…": a second file from the open-file dialog is hashed
    // with the selected entry in the background, its digest goes into CompareField and is
    // compared at once. LastFileName stays.
    void CompareWithFileAction();
    // A file dropped on CompareField while Ctrl is held: the same without the dialog; several
    // names do nothing.
    void CompareFieldDropHandler(const std::string& names);
    // The caption of CompareField's menu entry, in the current language.
    std::string CompareWithFileCaption() const;

    // Text `number` (1 to 32) of the current language block; empty when the table has none.
    std::string LoadText(int number) const;
    void ApplyTexts();
    // The user picked an entry of LanguageList (also start-up and close).
    void LanguageChangeHandler();

    bool HashFromField() const { return m_hashFromField; }
    bool HashRunning() const { return m_state.hashRunning(); }
    int LanguageBase() const { return m_state.languageBase(); }
    const std::string& LastFileName() const { return m_state.lastFileName; }

private:
    // What follows a file hash once DigestField shows its outcome.
    enum class WhenShown { Nothing, Copy, Compare };

    // HashFileAction; the drop handlers copy DigestField to the clipboard once the hash ends.
    void hashFile(Control sender, WhenShown whenShown);
    void startFileHash(const AlgorithmEntry& entry, WhenShown whenShown);
    // The file route's outcome in DigestField (null `entry`: no entry selected).
    void showFileOutcome(const AlgorithmEntry* entry, const std::string& fileName,
                         hashing::DigestOutcome outcome, WhenShown whenShown);
    // HashStringAction once the text is known.
    void hashText(const std::string& text, bool namesNoFile);
    // hashFile with HashFromField set around it.
    void hashFileFromField(Control sender, WhenShown whenShown);
    // The input of the digest shown, with the selected entry.
    void hashAgain();
    // The file of the digest shown, hashed with `entry`, which becomes selected, and compared with
    // `expected`, which CompareField then holds.
    void checkWith(const AlgorithmEntry& entry, const std::string& expected);
    LanguageFile languageFile() const;
    // The saved choices and the self-test, the first steps of both start-ups.
    StartUpOutcome restoreChoices(bool saveLanguageFile);
    // LanguageChangeHandler, saving `savedAlgorithmPosition` as line 2.
    void changeLanguage(int savedAlgorithmPosition);
    // The algorithm list's groups under the current language's headings, and its tooltips.
    void showAlgorithmGroups();
    // The selected language's texts in the windows; null when none is selected.
    const Language* applyLanguage();

    MainWindowState m_state;
    CompareFlow m_compare;
    Offers m_offers;
    SelfTest m_selfTest;
    bool m_hashFromField = false;
    ListWindow* m_listWindow = nullptr;
};

}  // namespace tolvek::window
