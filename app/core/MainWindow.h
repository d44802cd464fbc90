// The main window's state and every action behind its controls, over the WindowSystem port:
// hashing files and strings through the shared entry table, renew and drops, compare and
// clipboard, languages and sha.lng, start-up and close.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/AlgorithmTable.h"
#include "app/core/LanguageFile.h"
#include "app/core/WindowSystem.h"
#include "engine/HashEngine.h"
#include "engine/HashTests.h"

namespace tolvek::app {

// The engine's hash type for list positions 0 to 20, the types the engine's self-test covers.
// The entries of those positions that the engine serves use exactly these types.
inline constexpr std::array<engine::HashType, 21> EngineHashTypes = {
    engine::HashTypeMD2,           engine::HashTypeMD4,       engine::HashTypeMD5,
    engine::HashTypeSHA1,          engine::HashTypeSHA256,    engine::HashTypeSHA384,
    engine::HashTypeSHA512,        engine::HashTypeHAVAL128,  engine::HashTypeHAVAL160,
    engine::HashTypeHAVAL192,      engine::HashTypeHAVAL224,  engine::HashTypeHAVAL256,
    engine::HashTypeGOST,          engine::HashTypeTiger128,  engine::HashTypeTiger160,
    engine::HashTypeTiger192,      engine::HashTypeRIPEMD128, engine::HashTypeRIPEMD160,
    engine::HashTypeCRC32MsbFirst, engine::HashTypeCRC32,     engine::HashTypeAdler32,
};

// "SHA1", selected when the window is built and kept when sha.lng names no position.
inline constexpr int kDefaultAlgorithmPosition = 3;

// Message box captions, the same in every language.
inline constexpr std::string_view kWarningCaption = "Warning";
inline constexpr std::string_view kInformationCaption = "Information";

// The engine's known-answer self-test: 0, or the first failing result code.
using SelfTest = std::function<engine::HashResult()>;

enum class StartUpOutcome { ShowWindow, EndProgram };

class MainWindow {
public:
    // Fills the two lists through the port (AlgorithmList with the entries' captions, "SHA1"
    // selected; LanguageList with the languages, English selected). `selfTest` runs once in
    // StartUpHandler.
    MainWindow(WindowSystem& windows, SelfTest selfTest = engine::TestAllHashTypes,
               std::span<const AlgorithmEntry> entries = AlgorithmEntries());

    // Run once, after the controls exist and before the window is first shown: restores the
    // saved language, saves sha.lng (with the saved algorithm position), runs the self-test,
    // restores the saved algorithm and hashes the file named by `arguments` (the command line
    // without argument 0). On
    // EndProgram the self-test failed, the user was told, and the window must never be shown.
    StartUpOutcome StartUpHandler(const std::vector<std::string>& arguments);

    // HashFileButton (sender); also RenewButton, PathField and MainWindow as senders, which
    // take the name from PathField instead of the open-file dialog.
    void HashFileAction(Control sender);
    // HashStringButton (sender); RenewButton as sender hashes PathField's text instead of
    // asking for one.
    void HashStringAction(Control sender);
    void RenewHashAction();
    // Dropped names arrive joined by single carriage returns.
    void WindowDropHandler(const std::string& names);
    void PathFieldDropHandler(const std::string& names);
    void CloseButtonAction();
    // The main window is asked to close: saves the choices; the close then goes on.
    void CloseHandler();
    void ShowAboutAction();

    void CopyDigestAction();
    void PasteDigestAction();
    void CompareAction();

    // Text `number` (1 to 15) of the current language block; empty when the table has none.
    std::string LoadText(int number) const;
    void ApplyTexts();
    // The user picked an entry of LanguageList (also start-up and close).
    void LanguageChangeHandler();

    bool HashFromField() const { return m_hashFromField; }
    int LanguageBase() const { return m_languageBase; }
    const std::string& LastFileName() const { return m_lastFileName; }

private:
    // The entry at a list position; null for no selection or a position without one.
    const AlgorithmEntry* entryAt(int position) const;
    void showInDigestField(const std::string& text, bool isDigest);
    // HashFileAction with HashFromField set around it.
    void hashFileFromField(Control sender);
    LanguageFile languageFile() const;
    // LanguageChangeHandler, saving `savedAlgorithmPosition` as line 2.
    void changeLanguage(int savedAlgorithmPosition);

    WindowSystem& m_windows;
    SelfTest m_selfTest;
    std::span<const AlgorithmEntry> m_entries;
    bool m_hashFromField = false;
    int m_languageBase;
    std::string m_lastFileName;
    // True while DigestField shows the digest of the last hash action, not a failure.
    bool m_digestFieldHoldsDigest = false;
};

}  // namespace tolvek::app
