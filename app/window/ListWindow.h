// The files window's logic over a port of its own: sets of rows of file, algorithm, digest and
// status for the files of checksum lists and for files and folders, checked on a worker over
// every core, with progress over all files, Cancel, a closing summary, copying as GNU or BSD
// lines, saving lists and a report. Folders are walked and lists read on a worker too, so that
// nothing the window does on its own thread waits for the file system.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/checks/Audit.h"
#include "app/checks/ListCheck.h"
#include "app/window/ListChecking.h"
#include "app/window/ListGathering.h"
#include "app/window/ListOutput.h"
#include "app/window/WindowSystem.h"

namespace tolvek::window {

using checks::CheckItem;
using checks::CheckStatus;
using checks::CheckVerdict;

// One row as the window draws it: a digest under each algorithm's column (empty where the row
// has none); `mark` says the status without words or colour (an icon).
struct ListRowView {
    std::string file;
    std::vector<std::string> digests;
    std::string status;               // empty while waiting, and for a hashed file
    std::optional<CheckStatus> mark;  // nothing while waiting, and for a hashed file
    // For each digest: whether it equals the digest the user verifies (its text says so too).
    std::vector<bool> verified;
    // A file of a folder checked against a list, once classified; `mark` is then nothing.
    std::optional<checks::AuditClass> auditMark = std::nullopt;
};

// The window's words in the current language.
struct ListWindowTexts {
    std::string title;
    std::vector<std::string> headings;  // file, algorithm, digest, status
    // Copy the row as a GNU line, as a BSD line; copy all as GNU lines, as BSD lines; save.
    std::vector<std::string> commands;
    // What screen readers call the table of rows and the progress bar.
    std::string rowsName;
    std::string progressBarName;
    // Open, add files, add folder, paste names, remove, clear, export report, algorithms, check
    // folder against list.
    std::vector<std::string> setCommands;
    std::string emptyHint;                  // shown in place of the rows while there are none
    std::vector<std::string> pickerGroups;  // in the order of PickerGroup
    std::string pickerSearch;
    std::string verifyName;  // the field of the digest to verify: its placeholder and name
    BoxButtons boxButtons;   // of the window's questions, messages and picker
    std::string checkFolderDescription;  // names the key of "check folder against list"
    std::vector<std::string> cellCommands;  // copy the cell, copy its column
};

// The columns of the rows as the port shows them: the file, its status, then a digest column for
// each algorithm of the set.
inline constexpr std::size_t kFileColumn = 0;
inline constexpr std::size_t kStatusColumn = 1;
inline constexpr std::size_t kFirstDigestColumn = 2;

// The key of the files window's "check folder against list", in the portable form the window
// binds it in and its description names it by.
inline constexpr std::string_view kCheckFolderShortcut = "Ctrl+Shift+O";

// The algorithm picker's groups: the checksums (8 bytes or less), the hashes with known
// collisions, and the rest.
enum class PickerGroup { Modern, Classic, Checksums };
PickerGroup PickerGroupOf(const hashing::AlgorithmEntry& entry);

class ListWindowPort {
public:
    virtual ~ListWindowPort() = default;

    // The window's words, also while it is hidden.
    virtual void setTexts(const ListWindowTexts& texts) = 0;
    // Shows the window, non-modal, beside the main window, or raises it.
    virtual void showWindow() = 0;
    // The algorithms' columns, between the file's and the status's, headed by their captions;
    // columns are only ever added at the end while a set is shown.
    virtual void setColumns(const std::vector<std::string>& captions) = 0;
    // Replaces row `index`, or appends it when `index` is the row count.
    virtual void setRow(std::size_t index, const ListRowView& row) = 0;
    // Drops the rows from `count` on.
    virtual void setRowCount(std::size_t count) = 0;
    // Shows the hint in place of the rows, or hides it.
    virtual void showEmptyHint(bool shown) = 0;
    // Progress over all files, then the summary once nothing runs (no cancel caption).
    virtual void showProgress(const ProgressDisplay& display) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // The algorithm picker, starting with `chosen` ticked; nothing when cancelled.
    virtual std::optional<std::vector<const hashing::AlgorithmEntry*>> chooseAlgorithms(
        const std::vector<const hashing::AlgorithmEntry*>& chosen) = 0;
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
    // Tells a screen reader's user what changed without taking the focus; shows nothing.
    virtual void announce(const std::string& text) = 0;
    // Below the verify field: what its digest matched; empty hides it.
    virtual void showVerifyOutcome(const std::string& text) = 0;
};

enum class LineStyle { Gnu, Bsd };

class ListWindow {
public:
    // `loadText` gives a text of the current language block by number. Folders are walked and
    // lists read through `gathering`, files checked through `checking`; both post to `ui`.
    ListWindow(ListWindowPort& port, UiThread& ui, hashing::WorkerTasks& gathering,
               hashing::WorkerTasks& checking, std::function<std::string(int)> loadText);

    // Shows the window; files added later are hashed with `entry`, until the user has chosen
    // algorithms in the picker.
    void Open(const hashing::AlgorithmEntry& entry);
    // Keeps the picker's choices in `file` from now on, and takes a choice kept there before as
    // the user's.
    void RememberChoiceIn(std::filesystem::path file);
    // The picker: the algorithms files added from now on are hashed with, each file read once
    // for all of them. The choice is kept while the program runs.
    void ChooseAlgorithmsAction();
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
    // The open dialog's list (the first, if several were chosen), then the folder dialog's
    // folder: CheckFolderAgainstList.
    void CheckFolderAgainstListAction();
    // A new set of the files below `folder` (but the list and its copy LIST~), each hashed with
    // the algorithm of the list `listPath`; once all are, each shows its class (unchanged,
    // changed, moved from where, new, unreadable), the list's files found nowhere follow as
    // missing, and the summary counts each class. A cancelled run classifies nothing.
    void CheckFolderAgainstList(const std::string& listPath, const std::string& folder);
    // Removes the rows at `indices` (any order); nothing while a check runs.
    void RemoveRowsAction(const std::vector<std::size_t>& indices);
    // Stops what runs and empties the window.
    void ClearAction();
    // Stops the walk or list read under way and the file being read; drops and lists not
    // looked at yet, and rows found but not added yet, are forgotten, and the files waiting
    // are cancelled.
    void CancelAction();
    // The language changed: the window's words, the rows' statuses and the summary again.
    void ApplyTexts();
    // Copies and saves keep each file's expected digest; a FAILED file, or one a folder check
    // found changed, only after the user confirmed that its current content becomes the
    // reference. Missing and unreadable files are left out, but an unreadable file of a folder
    // check keeps the digest its list gave it. A GNU list holds one algorithm: a save of several
    // writes one list each.
    void CopyRowAction(std::size_t index, LineStyle style);
    void CopyAllAction(LineStyle style);
    // The text of one cell as its row shows it (a digest without the verify field's mark), and
    // the texts of one column, a line each; columns count as the port shows them.
    void CopyCellAction(std::size_t index, std::size_t column);
    void CopyColumnAction(std::size_t column);
    void SaveListAction();
    // Every row with its status, as text or, for a name ending in ".csv", as CSV.
    void ExportReportAction();
    // The verify field's text: an expected digest, read as the compare reads it. Every digest a
    // file has that equals it is marked, and the outcome says which files and algorithms
    // matched, or that none of the digests of its length did; both follow the rows as they end.
    void VerifyChangedHandler(const std::string& text);

    // "3 OK, 1 FAILED, 1 missing": the statuses given so far.
    std::string Summary() const;
    bool Running() const {
        return m_checking.running() || m_gathering.running() || m_addingRows;
    }
    std::size_t RowCount() const { return m_rows.size(); }

private:
    struct Cell {
        const hashing::AlgorithmEntry* entry;
        hashing::Digest digest;
    };
    // A checked file has one cell: its expected digest until read, then the digest it has (the
    // entry that matched for OK). A hashed file has a cell for each algorithm, filled once read.
    struct Row {
        CheckItem item;  // `expected` empty for a file that is only hashed
        std::vector<Cell> cells;
        std::optional<CheckStatus> status;
        bool done = false;
        std::optional<checks::AuditClass> audit = std::nullopt;
        std::string movedFrom = {};  // where a moved file was, as the list names it
    };
    // A folder checked against a list whose lines have been read: the first `rows` rows are the
    // folder's files, classified once nothing runs.
    struct PendingAudit {
        std::vector<CheckItem> baseline;
        const hashing::AlgorithmEntry* algorithm;
        std::size_t rows;
    };

    ListWindowTexts texts() const;
    void newSet();
    void gatherNames(const std::vector<std::string>& names);
    void rowsFound(FoundRows found);
    void addArrivingRows();
    void gatheringEnded();
    void showSkippedFolders();
    // False for a file and expected digest the set holds already.
    bool addRow(CheckItem item);
    void auditListRead(AuditBaseline& baseline);
    void classifyAudit();
    std::string auditSummary() const;
    void runNext();
    void filesChecked(int set, std::vector<ListChecking::Result> results);
    void checkEnded(int set, bool cancelled);
    void setStatus(Row& row, std::optional<CheckStatus> status);
    void recount();
    void addColumns(const Row& row);
    void showRow(std::size_t index) const;
    void showRows(std::size_t from) const;
    // Also tells a screen reader once the check has ended.
    void showProgress();
    std::vector<KeptLine> keptLines(const std::vector<const Row*>& rows);
    void copyLines(const std::vector<const Row*>& rows, LineStyle style, bool oneRow);
    bool saveLines(const std::string& name, const AlgorithmLines& group,
                   std::vector<std::string>& absoluteNames) const;
    std::string statusText(CheckStatus status) const;
    std::string rowStatusText(const Row& row) const;
    // Whether the user agrees to keep the rows `which` picks in a list (asked with text number
    // `question` when there are any).
    bool confirmKeeping(const std::vector<const Row*>& rows,
                        const std::function<bool(const Row&)>& which, int question);
    std::vector<const Row*> allRows() const;
    // Whether the row's cells hold the digests its file has (not an expected one still).
    static bool holdsFileDigests(const Row& row);
    std::string digestText(const Row& row, const Cell& cell, bool& verified) const;
    std::string cellText(const Row& row, std::size_t column) const;
    std::string verifyOutcome() const;
    void showVerifyOutcome();
    void announceVerifyOutcome();

    ListWindowPort& m_port;
    UiThread& m_ui;
    ListGathering m_gathering;
    ListChecking m_checking;
    std::function<std::string(int)> m_loadText;
    std::vector<const hashing::AlgorithmEntry*> m_hashEntries;
    bool m_algorithmsChosen = false;
    std::filesystem::path m_choiceFile;  // empty: the choice lasts while the program runs
    // The set's algorithms, in the order their columns were added.
    std::vector<const hashing::AlgorithmEntry*> m_columns;
    std::vector<Row> m_rows;
    // Each file and expected digest of the set once, so that no file is listed twice.
    std::unordered_set<std::string> m_keys;
    // Rows found and not added yet. A large list or folder is added a slice per turn of the
    // window's thread, so that the window answers while its rows come in.
    std::deque<CheckItem> m_arriving;
    bool m_addingRows = false;
    // The rows before this one have been handed to a check; counts kept as rows end, so that a
    // file's end costs the same however many rows there are.
    std::size_t m_nextToRun = 0;
    std::size_t m_doneCount = 0;
    std::array<std::size_t, 5> m_statusCounts{};
    std::optional<PendingAudit> m_audit;
    // The classes counted, once a folder checked against a list has been classified.
    std::optional<checks::AuditCounts> m_auditCounts;
    // The number of the set shown; a file of an earlier set that ends is forgotten.
    int m_set = 0;
    // The folders the gathering under way could not read.
    std::vector<std::string> m_skippedFolders;
    // Whether the progress last shown was of a check under way.
    bool m_progressRunning = false;
    // The verify field's text, and the digest read from it.
    std::string m_verifyText;
    std::optional<hashing::Digest> m_verify;
    // The verify outcome a screen reader was last told.
    std::string m_announcedOutcome;
};

}  // namespace tolvek::window
