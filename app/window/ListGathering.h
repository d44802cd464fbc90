// What the list window finds for the names dropped on it and the lists it is to check, looked at
// on a worker so that nothing waits for the file system on the window's thread: lists are read,
// folders walked, other files taken to be hashed. One drop at a time, so that rows come in the
// order of the drops.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/checks/ListItems.h"
#include "app/checks/Sidecar.h"
#include "app/hashing/WorkerTasks.h"
#include "app/window/UiThread.h"

namespace tolvek::window {

// A folder checked against a list made of it before: the list's lines and the one algorithm they
// share; without one (null) the folder is not walked.
struct AuditBaseline {
    std::string listPath;
    std::vector<checks::CheckItem> items;
    const hashing::AlgorithmEntry* algorithm = nullptr;
};

// The rows one name gives; `failure` says why a list gave none, `tooLargeList` names a list
// too large to be read, and `skippedFolders` names the folders below a dropped folder that
// could not be read.
struct FoundRows {
    std::vector<checks::CheckItem> items;
    std::string failure;
    std::vector<std::string> skippedFolders;
    std::string tooLargeList;
    // For a folder checked against a list, once the list was read: `items` are the folder's
    // files, to be hashed with its algorithm.
    std::optional<AuditBaseline> baseline;
};

class ListGathering {
public:
    struct Handlers {
        std::function<void()> started;               // a drop or list is looked at
        std::function<void(FoundRows found)> found;  // each name's rows, in order
        std::function<void()> ended;                 // a drop or list is done
    };

    // The handlers run on `ui`'s thread.
    ListGathering(hashing::WorkerTasks& tasks, UiThread& ui, Handlers handlers)
        : m_tasks(tasks), m_ui(ui), m_handlers(std::move(handlers)) {}

    // Dropped names joined by carriage returns: checksum lists give their files to check,
    // folders their files (sorted, links to folders not followed), other files themselves, to
    // be hashed with `newFileEntries` (no row without any).
    void gatherDropped(const std::string& names,
                       std::vector<const hashing::AlgorithmEntry*> newFileEntries);
    // The files the checksum list `listPath` names, to be checked.
    void gatherList(const std::string& listPath);
    // The list `listPath`, then the files below `folder` but the list and its copy LIST~, to be
    // hashed with the list's algorithm.
    void gatherAudit(const std::string& listPath, const std::string& folder);
    // Stops the walk or list read under way; what it still finds, and what waits, is dropped.
    void cancel();

    bool running() const { return m_running; }

private:
    struct Request {
        std::vector<std::string> names;
        bool onlyLists;
        std::vector<const hashing::AlgorithmEntry*> newFileEntries;
        std::string auditedFolder;  // set for a folder checked against the one list named
    };

    static FoundRows lookAt(const Request& request, const std::string& name,
                            checks::SidecarLookup& sidecars, const std::stop_token& stop);
    void gather(Request request);
    void startNext();
    void ended();

    hashing::WorkerTasks& m_tasks;
    UiThread& m_ui;
    Handlers m_handlers;
    std::deque<Request> m_waiting;
    bool m_running = false;
    // Set by cancel() until the gathering under way has ended.
    bool m_cancelled = false;
};

}  // namespace tolvek::window
