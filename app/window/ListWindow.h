// The list window's logic over a port of its own: rows of file, algorithm, digest and status
// for the files of checksum lists and for dropped files and folders, read one after another on
// the background's worker, with progress over all files, Cancel, a closing summary, copying as
// GNU or BSD lines and saving a list. Dropped folders are walked and lists read on a worker too,
// so that nothing the window does on its own thread waits for the file system.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/checks/ListCheck.h"
#include "app/window/BackgroundRun.h"
#include "app/window/ListGathering.h"
#include "app/window/WindowSystem.h"

namespace tolvek::window {

using checks::CheckItem;
using checks::CheckStatus;
using checks::CheckVerdict;

// One row as the window draws it; `mark` says the status without words or colour (an icon).
struct ListRowView {
    std::string file;
    std::string algorithm;
    std::string digest;
    std::string status;                // empty while waiting, and for a hashed file
    std::optional<CheckStatus> mark;   // nothing while waiting, and for a hashed file
};

// The window's words in the current language.
struct ListWindowTexts {
    std::string title;
    std::vector<std::string> headings;  // file, algorithm, digest, status
    // Copy the row as a GNU line, as a BSD line; copy all as GNU lines, as BSD lines; save.
    std::vector<std::string> commands;
};

class ListWindowPort {
public:
    virtual ~ListWindowPort() = default;

    // The window's words, also while it is hidden.
    virtual void setTexts(const ListWindowTexts& texts) = 0;
    // Shows the window, non-modal, beside the main window, or raises it.
    virtual void showWindow() = 0;
    // Replaces row `index`, or appends it when `index` is the row count.
    virtual void setRow(std::size_t index, const ListRowView& row) = 0;
    // Progress over all files, then the summary once nothing runs (no cancel caption).
    virtual void showProgress(const ProgressDisplay& display) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // The save dialog, starting with `suggested`; nothing when cancelled.
    virtual std::optional<std::string> chooseSaveName(const std::string& suggested) = 0;
    // A yes/no question; true for yes.
    virtual bool confirm(const std::string& question) = 0;
    virtual void showMessage(const std::string& text) = 0;
};

enum class LineStyle { Gnu, Bsd };

class ListWindow {
public:
    // `loadText` gives a text of the current language block by number. Files are hashed through
    // `background`, folders walked and lists read through `gathering`; both post to its UI thread.
    ListWindow(ListWindowPort& port, Background background, hashing::WorkerTasks& gathering,
               std::function<std::string(int)> loadText);

    // Shows the window; files dropped later are hashed with `entry`.
    void Open(const hashing::AlgorithmEntry& entry);
    // Shows the window with a new set made of `names` (files, folders, checksum lists), which
    // replaces the rows shown; what another program hands over comes in here.
    void OpenNames(const std::vector<std::string>& names);
    // Adds a row for each file the checksum list `listPath` names, to be checked.
    void CheckList(const std::string& listPath);
    // Dropped names joined by carriage returns: checksum lists are checked, folders give their
    // files (sorted, links to folders not followed), other files are hashed. The rows come in
    // the order of the names, once the worker has looked at each.
    void DropHandler(const std::string& names);
    // Stops the walk or list read under way and the file being read; drops and lists not
    // looked at yet are forgotten, and the files waiting are cancelled.
    void CancelAction();
    // The language changed: the window's words, the rows' statuses and the summary again.
    void ApplyTexts();
    void CopyRowAction(std::size_t index, LineStyle style);
    void CopyAllAction(LineStyle style);
    void SaveListAction();

    // "3 OK, 1 FAILED, 1 missing": the statuses given so far.
    std::string Summary() const;
    bool Running() const { return m_running.has_value() || m_gathering.running(); }
    std::size_t RowCount() const { return m_rows.size(); }

private:
    struct Row {
        CheckItem item;  // `expected` empty for a file that is only hashed
        hashing::Digest digest;
        std::optional<CheckStatus> status;
        const hashing::AlgorithmEntry* entry;
        bool done = false;
    };

    ListWindowTexts texts() const;
    void rowsFound(FoundRows found);
    void gatheringEnded();
    void showSkippedFolders();
    void addRow(CheckItem item);
    void runNext();
    void fileEnded(hashing::FileDigests digests);
    void showRow(std::size_t index) const;
    void showProgress() const;
    std::optional<std::string> lineOf(const Row& row, LineStyle style) const;
    std::string linesOf(LineStyle style) const;
    std::string statusText(CheckStatus status) const;

    ListWindowPort& m_port;
    BackgroundRun m_run;
    ListGathering m_gathering;
    std::function<std::string(int)> m_loadText;
    const hashing::AlgorithmEntry* m_newFileEntry = nullptr;
    std::vector<Row> m_rows;
    // The row whose file is hashed.
    std::optional<std::size_t> m_running;
    // The folders the gathering under way could not read.
    std::vector<std::string> m_skippedFolders;
};

}  // namespace tolvek::window
