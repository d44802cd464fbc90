// What the parts of the main window (MainWindow, CompareFlow, Offers) share: the port, the
// entries, the current language, the digest DigestField shows with where it came from, and the
// file hash in the background with its progress display.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/ProgressText.h"
#include "app/window/BackgroundRun.h"
#include "app/window/WindowSystem.h"

namespace tolvek::window {

using hashing::AlgorithmEntry;

// A file hash that ends sooner shows no progress display.
inline constexpr std::chrono::milliseconds kProgressAppearsAfter{500};

// Message box captions, the same in every language.
inline constexpr std::string_view kWarningCaption = "Warning";
inline constexpr std::string_view kInformationCaption = "Information";

// What DigestField's digest was computed from.
struct DigestSource {
    const AlgorithmEntry* entry;
    bool isFile;
    std::string input;  // the file's name, or the hashed text
    bool namesNoFile;   // renew hashed the text of a path because no file has that name
    hashing::Digest digest;
};

// The row below the controls when no hash shows its progress there (Offers).
class RowBelowControls {
public:
    virtual ~RowBelowControls() = default;
    // DigestField shows another text: what the row said about the old one goes.
    virtual void digestChanged() = 0;
    // A hash starts: the row is the progress display's until it ends.
    virtual void hashStarted() = 0;
    // Shows what the row has to say, unless a hash runs.
    virtual void show() = 0;
};

// The progress display's subject while `entry` hashes `fileName`: "SHA256: a.iso".
std::function<std::string()> HashSubject(const AlgorithmEntry& entry, const std::string& fileName);

class MainWindowState {
public:
    MainWindowState(WindowSystem& windows, Background background,
                    std::span<const AlgorithmEntry> entries);

    WindowSystem& windows;
    const std::span<const AlgorithmEntry> entries;
    // The file the open-file dialog starts with: the last one hashed, whichever way it came.
    std::string lastFileName;
    RowBelowControls* row = nullptr;

    // Text `number` of the current language block; empty when the table has none.
    std::string loadText(int number) const;
    int languageBase() const { return m_languageBase; }
    void setLanguageBase(int base) { m_languageBase = base; }

    // The entry at a list position; null for no selection or a position without one.
    const AlgorithmEntry* entryAt(int position) const;
    const AlgorithmEntry* selectedEntry() const;

    // Set while DigestField shows the digest of the last hash action, not a failure.
    const std::optional<DigestSource>& digestSource() const { return m_digestSource; }
    // Counts the writes of DigestField, so that an answer that comes later can tell whether
    // DigestField still shows what it was about.
    int digestGeneration() const { return m_digestGeneration; }
    // The digest of `source`, as its entry's digests are shown.
    void showDigest(DigestSource source);
    // A failure text, or nothing.
    void showFailure(const std::string& text);

    // Hashes `fileName` with `providers` in the background; after a moment the row below the
    // controls shows its progress naming `subject`, and the hash controls wait until it ends.
    // `ended` runs on the UI thread, also when the hash was cancelled; `onWorker` on the worker
    // once the digests are posted.
    void startHash(const std::string& fileName, std::vector<const hashing::Provider*> providers,
                   std::function<std::string()> subject,
                   std::function<void(hashing::FileDigests)> ended,
                   std::function<void(int run, const hashing::FileDigests&)> onWorker = {});
    void cancelHash() { m_run.cancel(); }
    bool hashRunning() const { return m_run.running(); }
    // The number of the last hash started.
    int lastHash() const { return m_run.last(); }
    UiThread& ui() const { return m_run.ui(); }

    // The main window is to be shown once the start-up's hash has ended or shows its progress.
    void showWindowLater() { m_windowToBeShown = true; }
    void showWindowFirstTime();

private:
    struct HashShown {
        std::function<std::string()> subject;  // what the progress display names
        bool progressShown = false;
        std::optional<int> lastPermille;
    };

    void setDigestField(const std::string& text, std::optional<DigestSource> source);
    void hashProgressed(const hashing::ReadProgress& progress);
    void hashEnded(const std::function<void(hashing::FileDigests)>& ended,
                   hashing::FileDigests digests);
    hashing::ProgressWords progressWords() const;

    BackgroundRun m_run;
    int m_languageBase;
    std::optional<DigestSource> m_digestSource;
    int m_digestGeneration = 0;
    HashShown m_hashShown;
    bool m_windowToBeShown = false;
};

}  // namespace tolvek::window
