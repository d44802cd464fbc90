// The main window's state and every action behind its controls, over the WindowSystem port:
// hashing files and strings through the shared entry table, renew and drops, compare and
// clipboard, languages and sha.lng, start-up and close.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/LanguageFile.h"
#include "app/core/ListWindow.h"
#include "app/core/Sidecar.h"
#include "app/core/UiThread.h"
#include "app/core/WindowSystem.h"
#include "app/digest/AlgorithmTable.h"
#include "app/digest/FileJobs.h"
#include "app/digest/ProgressText.h"
#include "engine/HashEngine.h"
#include "engine/HashTests.h"

namespace tolvek::app {

using digest::AlgorithmEntry;
using digest::AlgorithmEntries;
using digest::DigestOutcome;

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

// A file hash that ends sooner shows no progress display.
inline constexpr std::chrono::milliseconds kProgressAppearsAfter{500};

class MainWindow {
public:
    // Fills the two lists through the port (AlgorithmList with the entries' captions, "SHA1"
    // selected; LanguageList with the languages, English selected). `selfTest` runs once in
    // StartUpHandler.
    // File hashes run through `background`; their results arrive as posted calls. Both must
    // stay usable as long as a hash may run.
    MainWindow(WindowSystem& windows, Background background,
               SelfTest selfTest = engine::TestAllHashTypes,
               std::span<const AlgorithmEntry> entries = AlgorithmEntries());

    // Run once, after the controls exist and before the window is first shown: restores the
    // saved language, saves sha.lng (with the saved algorithm position), runs the self-test,
    // restores the saved algorithm and hashes the file named by `arguments` (the command line
    // without argument 0). On
    // EndProgram the self-test failed, the user was told, and the window must never be shown.
    StartUpOutcome StartUpHandler(const std::vector<std::string>& arguments);

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
    // The main window is asked to close: cancels a running hash and saves the choices; the
    // close then goes on.
    void CloseHandler();
    // The progress display's Cancel control and the Esc key: the running hash stops and leaves
    // DigestField and the clipboard as they were.
    void CancelHashAction();
    void ShowAboutAction();

    // The offer shown after a file hash: accepting the expected digest that a checksum file
    // beside the file holds puts it into CompareField and compares; declining only withdraws it.
    // A new hash, or any other text in DigestField, withdraws it too.
    // When the file just hashed is a checksum list, the offer is to check the files it lists in
    // the list window.
    void AcceptOfferAction();
    void DeclineOfferAction();

    // The list window that the offer to check a list, and OpenListWindowAction, open.
    void AttachListWindow(ListWindow& listWindow) { m_listWindow = &listWindow; }
    // The keyboard shortcut: opens the list window, empty, for the selected algorithm.
    void OpenListWindowAction();

    void CopyDigestAction();
    void PasteDigestAction();
    void CompareAction();

    // Text `number` (1 to 25) of the current language block; empty when the table has none.
    std::string LoadText(int number) const;
    void ApplyTexts();
    // The user picked an entry of LanguageList (also start-up and close).
    void LanguageChangeHandler();

    bool HashFromField() const { return m_hashFromField; }
    bool HashRunning() const { return m_running.has_value(); }
    int LanguageBase() const { return m_languageBase; }
    const std::string& LastFileName() const { return m_lastFileName; }

private:
    struct RunningHash {
        int job;
        const AlgorithmEntry* entry;
        std::string fileName;
        bool copyWhenDone;
        bool progressShown = false;
        std::optional<int> lastPermille;
    };

    // HashFileAction; the drop handlers copy DigestField to the clipboard once the hash ends.
    void hashFile(Control sender, bool copyWhenDone);
    void startFileHash(const AlgorithmEntry& entry, bool copyWhenDone);
    // Posted calls from the running job; calls of an earlier job are ignored.
    void hashProgressed(int job, const digest::ReadProgress& progress);
    void hashEnded(int job, digest::FileDigests digests);
    // The file route's outcome in DigestField (null `entry`: no entry selected).
    void showFileOutcome(const AlgorithmEntry* entry, const DigestOutcome& outcome,
                         bool copyWhenDone);
    std::string progressSubject(const RunningHash& hash) const;
    digest::ProgressWords progressWords() const;
    // The entry at a list position; null for no selection or a position without one.
    const AlgorithmEntry* entryAt(int position) const;
    void showInDigestField(const std::string& text, bool isDigest);
    // hashFile with HashFromField set around it.
    void hashFileFromField(Control sender, bool copyWhenDone);
    LanguageFile languageFile() const;

    // What the window offers after the hash of a file, for the digest it shows.
    struct PendingOffer {
        std::string shownDigest;
        SidecarDigest sidecar;        // when the offer is a digest to compare
        std::string listPath;         // when the offer is a list to check
        std::size_t listedFiles = 0;
        const AlgorithmEntry* entry;
    };
    // Looks for an offer on the job's thread and posts it; the file system is all it touches.
    void lookForOffer(int job, const AlgorithmEntry& entry, const std::string& fileName,
                      const digest::FileDigests& digests);
    // Posted: shows the offer while DigestField still holds the digest job `job` gave.
    void offerFound(int job, PendingOffer offer);
    void showOffer();
    void withdrawOffer();
    // LanguageChangeHandler, saving `savedAlgorithmPosition` as line 2.
    void changeLanguage(int savedAlgorithmPosition);

    WindowSystem& m_windows;
    Background m_background;
    SelfTest m_selfTest;
    std::span<const AlgorithmEntry> m_entries;
    bool m_hashFromField = false;
    int m_languageBase;
    std::string m_lastFileName;
    // True while DigestField shows the digest of the last hash action, not a failure.
    bool m_digestFieldHoldsDigest = false;
    std::optional<RunningHash> m_running;
    std::optional<PendingOffer> m_offer;
    ListWindow* m_listWindow = nullptr;
    int m_lastJob = 0;
};

}  // namespace tolvek::app
