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

#include "app/checks/ExpectedDigest.h"
#include "app/window/LanguageFile.h"
#include "app/window/ListWindow.h"
#include "app/checks/Sidecar.h"
#include "app/window/UiThread.h"
#include "app/window/WindowSystem.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/FileJobs.h"
#include "app/hashing/ProgressText.h"
#include "engine/HashEngine.h"
#include "engine/HashTests.h"

namespace tolvek::window {

using checks::DigestLengths;
using checks::ExpectedDigest;
using checks::ReadExpectedDigest;
using checks::FindSidecarDigest;
using checks::SidecarDigest;

using hashing::AlgorithmEntry;
using hashing::AlgorithmEntries;
using hashing::DigestOutcome;

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
    // without argument 0). The window is then shown: at once, or when that hash has ended or
    // its progress display appears, whichever comes first. On EndProgram the self-test failed,
    // the user was told, and the window is never shown.
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
    // the main window's language.
    void AttachListWindow(ListWindow& listWindow) { m_listWindow = &listWindow; }
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
    bool HashRunning() const { return m_running.has_value(); }
    int LanguageBase() const { return m_languageBase; }
    const std::string& LastFileName() const { return m_lastFileName; }

private:
    // What DigestField's digest was computed from.
    struct DigestSource {
        const AlgorithmEntry* entry;
        bool isFile;
        std::string input;  // the file's name, or the hashed text
        bool namesNoFile;   // renew hashed the text of a path because no file has that name
    };
    // The search for the entry that gives the expected digest for DigestField's input.
    struct Identification {
        DigestSource source;
        std::string expected;  // lower-case hex
        std::vector<const AlgorithmEntry*> candidates;
        std::size_t entriesOfLength;  // DigestField's entry included when it has that length
        int digestGeneration;         // DigestField's, when the search started
    };
    struct RunningHash {
        int job;
        // What the progress display names, in the current language.
        std::function<std::string()> subject;
        // On the UI thread once the job has ended, also when it was cancelled.
        std::function<void(hashing::FileDigests)> ended;
        bool progressShown = false;
        std::optional<int> lastPermille;
    };

    // The start-up's last step, once.
    void showWindowFirstTime();
    // HashFileAction; the drop handlers copy DigestField to the clipboard once the hash ends.
    void hashFile(Control sender, bool copyWhenDone);
    void startFileHash(const AlgorithmEntry& entry, bool copyWhenDone);
    // Work on the job's worker thread once its digests are posted to the UI thread.
    using WorkerFollowUp = std::function<void(int job, const hashing::FileDigests& digests)>;
    // Runs `providers` over `fileName` in the background.
    void startJob(const std::string& fileName, std::vector<const hashing::Provider*> providers,
                  std::function<std::string()> subject,
                  std::function<void(hashing::FileDigests)> ended, WorkerFollowUp onWorker = {});
    // Posted calls from the running job; calls of an earlier job are ignored.
    void hashProgressed(int job, const hashing::ReadProgress& progress);
    void hashEnded(int job, hashing::FileDigests digests);
    // The file route's outcome in DigestField (null `entry`: no entry selected).
    void showFileOutcome(const AlgorithmEntry* entry, const std::string& fileName,
                         const DigestOutcome& outcome, bool copyWhenDone);
    hashing::ProgressWords progressWords() const;
    // The entry at a list position; null for no selection or a position without one.
    const AlgorithmEntry* entryAt(int position) const;
    const AlgorithmEntry* selectedEntry() const;
    // A digest with where it came from, or a failure text without.
    void showInDigestField(const std::string& text, std::optional<DigestSource> source);
    // HashStringAction once the text is known.
    void hashText(const std::string& text, bool namesNoFile);
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
                      const hashing::FileDigests& digests);
    // Posted: shows the offer while DigestField still holds the digest job `job` gave.
    void offerFound(int job, PendingOffer offer);
    // The note on the digest shown, else the offer, else nothing, unless a hash runs.
    void showRow();
    bool digestFromOtherEntry() const;
    std::optional<OfferDisplay> digestNote() const;
    OfferDisplay offerDisplay() const;
    void hashAgain();
    // LanguageChangeHandler, saving `savedAlgorithmPosition` as line 2.
    void changeLanguage(int savedAlgorithmPosition);

    // CompareAction's steps.
    void showEqual(const AlgorithmEntry& entry);
    void showNotEqual(const std::string& addedLine = {});
    std::size_t digestBytes(const AlgorithmEntry& entry);
    const std::vector<std::size_t>& digestLengths();
    std::optional<Identification> identification(const DigestSource& source,
                                                 const ExpectedDigest& expected);
    void identify(Identification search);
    void identified(const Identification& search, std::span<const DigestOutcome> outcomes);
    void selectIdentified(const Identification& search, const AlgorithmEntry& entry,
                          const std::string& digest);
    // CompareWithFileAction and CompareFieldDropHandler once the file is known.
    void compareWithFile(const std::string& fileName);

    WindowSystem& m_windows;
    Background m_background;
    SelfTest m_selfTest;
    std::span<const AlgorithmEntry> m_entries;
    bool m_hashFromField = false;
    bool m_windowToBeShown = false;
    int m_languageBase;
    std::string m_lastFileName;
    // Set while DigestField shows the digest of the last hash action, not a failure.
    std::optional<DigestSource> m_digestSource;
    // Counts the writes of DigestField, so that an answer that comes later can tell whether
    // DigestField still shows what it was about.
    int m_digestGeneration = 0;
    // Each entry's digest length, by position, and the distinct lengths; found at the first
    // compare that needs them.
    std::vector<std::size_t> m_digestBytes;
    std::vector<std::size_t> m_digestLengths;
    std::optional<RunningHash> m_running;
    std::optional<PendingOffer> m_offer;
    bool m_noteDismissed = false;
    ListWindow* m_listWindow = nullptr;
    int m_lastJob = 0;
};

}  // namespace tolvek::window
