// The files window's logic over a port of its own: sets of rows of file, algorithm, digest and
// status for the files of checksum lists and for files and folders, checked on a worker over
// every core, with progress over all files, Cancel, a closing summary, copying as GNU or BSD
// lines, saving lists and a report. Folders are walked and lists read on a worker too, so that
// nothing the window does on its own thread waits for the file system.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/checks/ListCheck.h"
#include "app/window/ListChecking.h"
#include "app/window/ListGathering.h"
#include "app/window/ListOutput.h"
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
    std::string status;               // empty while waiting, and for a hashed file
    std::optional<CheckStatus> mark;  // nothing while waiting, and for a hashed file
};

// The window's words in the current language.
struct ListWindowTexts {
    std::string title;
    std::vector<std::string> headings;  // file, algorithm, digest, status
    // Copy the row as a GNU line, as a BSD line; copy all as GNU lines, as BSD lines; save.
    std::vector<std::string> commands;
    // Open, add files, add folder, paste names, remove, clear, export report.
    std::vector<std::string> setCommands;
    std::string emptyHint;  // shown in place of the rows while there are none
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
    // Drops the rows from `count` on.
    virtual void setRowCount(std::size_t count) = 0;
    // Shows the hint in place of the rows, or hides it.
    virtual void showEmptyHint(bool shown) = 0;
    // Progress over all files, then the summary once nothing runs (no cancel caption).
    virtual void showProgress(const ProgressDisplay& display) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // The clipboard's plain text; nothing when it holds none.
    virtual std::optional<std::string> clipboardText() = 0;
    // The open dialog for any number of existing files; empty when cancelled.
    virtual std::vector<std::string> chooseOpenNames() = 0;
    // The dialog for one folder; nothing when cancelled.
    virtual std::optional<std::string> chooseFolder() = 0;
    // The save dialog, starting with `suggested`; nothing when cancelled.
    virtual std::optional<std::string> chooseSaveName(const std::string& suggested) = 0;
    // A yes/no question; true for yes.
    virtual bool confirm(const std::string& question) = 0;
    virtual void showMessage(const std::string& text) = 0;
};

enum class LineStyle { Gnu, Bsd };

class ListWindow {
public:
    // `loadText` gives a text of the current language block by number. Folders are walked and
    // lists read through `gathering`, files checked through `checking`; both post to `ui`.
    ListWindow(ListWindowPort& port, UiThread& ui, hashing::WorkerTasks& gathering,
               hashing::WorkerTasks& checking, std::function<std::string(int)> loadText);

    // Shows the window; files dropped later are hashed with `entry`.
    void Open(const hashing::AlgorithmEntry& entry);
    // Shows the window with a new set made of `names` (files, folders, checksum lists), which
    // replaces the rows shown; what another program hands over comes in here.
    void OpenNames(const std::vector<std::string>& names);
    // A new set of the files the checksum list `listPath` names, to be checked.
    void CheckList(const std::string& listPath);
    // Dropped names joined by carriage returns, a new set: checksum lists are checked, folders
    // give their files (sorted, links to folders not followed), other files are hashed. The
    // rows come in the order of the names, once the worker has looked at each.
    void DropHandler(const std::string& names);
    // The open dialog's files (or lists) as a new set; AddFilesAction and AddFolderAction add
    // to the set shown instead.
    void OpenAction();
    void AddFilesAction();
    void AddFolderAction();
    // The clipboard's names, one a line (file:// addresses too), as a new set.
    void PasteNamesAction();
    // Removes the rows at `indices` (any order); nothing while a check runs.
    void RemoveRowsAction(const std::vector<std::size_t>& indices);
    // Stops what runs and empties the window.
    void ClearAction();
    // Stops the walk or list read under way and the file being read; drops and lists not
    // looked at yet are forgotten, and the files waiting are cancelled.
    void CancelAction();
    // The language changed: the window's words, the rows' statuses and the summary again.
    void ApplyTexts();
    // Copies and saves keep each file's expected digest; a FAILED file only after the user
    // confirmed that its current content becomes the reference. Missing and unreadable files
    // are left out. A GNU list holds one algorithm: a save of several writes one list each.
    void CopyRowAction(std::size_t index, LineStyle style);
    void CopyAllAction(LineStyle style);
    void SaveListAction();
    // Every row with its status, as text or, for a name ending in ".csv", as CSV.
    void ExportReportAction();

    // "3 OK, 1 FAILED, 1 missing": the statuses given so far.
    std::string Summary() const;
    bool Running() const { return m_checking.running() || m_gathering.running(); }
    std::size_t RowCount() const { return m_rows.size(); }

private:
    struct Row {
        CheckItem item;          // `expected` empty for a file that is only hashed
        hashing::Digest digest;  // the file's, once read; until then the expected one
        std::optional<CheckStatus> status;
        const hashing::AlgorithmEntry* entry;
        bool done = false;
    };

    ListWindowTexts texts() const;
    void newSet();
    void gatherNames(const std::vector<std::string>& names);
    void rowsFound(FoundRows found);
    void gatheringEnded();
    void showSkippedFolders();
    void addRow(CheckItem item);
    void runNext();
    void filesChecked(int set, std::vector<ListChecking::Result> results);
    void checkEnded(int set, bool cancelled);
    void setStatus(Row& row, std::optional<CheckStatus> status);
    void recount();
    void showRow(std::size_t index) const;
    void showRows(std::size_t from) const;
    void showProgress() const;
    std::vector<KeptLine> keptLines(const std::vector<const Row*>& rows);
    void copyLines(const std::vector<const Row*>& rows, LineStyle style, bool oneRow);
    bool saveLines(const std::string& name, const AlgorithmLines& group,
                   std::vector<std::string>& absoluteNames) const;
    std::string statusText(CheckStatus status) const;
    std::vector<const Row*> allRows() const;

    ListWindowPort& m_port;
    ListGathering m_gathering;
    ListChecking m_checking;
    std::function<std::string(int)> m_loadText;
    const hashing::AlgorithmEntry* m_newFileEntry = nullptr;
    std::vector<Row> m_rows;
    // Each file and expected digest of the set once, so that no file is listed twice.
    std::unordered_set<std::string> m_keys;
    // The rows before this one have been handed to a check; counts kept as rows end, so that a
    // file's end costs the same however many rows there are.
    std::size_t m_nextToRun = 0;
    std::size_t m_doneCount = 0;
    std::array<std::size_t, 5> m_statusCounts{};
    // The number of the set shown; a file of an earlier set that ends is forgotten.
    int m_set = 0;
    // The folders the gathering under way could not read.
    std::vector<std::string> m_skippedFolders;
};

}  // namespace tolvek::window
