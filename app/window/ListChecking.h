// The files of a list window's rows checked on a worker through the sequence the command line
// checks lists with: small files read one after another and hashed on every core, a large one
// read and hashed on every core. The results come back on the window's thread in batches, in the
// rows' order, so that a check of many rows posts few calls.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "app/checks/ListCheck.h"
#include "app/hashing/Hashing.h"
#include "app/hashing/WorkerTasks.h"
#include "app/window/UiThread.h"

namespace tolvek::window {

class ListChecking {
public:
    struct Result {
        std::size_t row;
        checks::ContentCheck check;
    };
    struct Handlers {
        std::function<void(std::vector<Result> results)> checked;
        // Once, after the last results; `cancelled` when the run was stopped before its end.
        std::function<void(bool cancelled)> ended;
    };
    struct Item {
        std::size_t row;
        checks::CheckItem item;
    };

    ListChecking(hashing::WorkerTasks& tasks, UiThread& ui) : m_tasks(tasks), m_ui(ui) {}

    // Checks each item's file against its candidates, or hashes it with each when it has no
    // expected digest; the previous run has ended. The handlers run on `ui`'s thread.
    void start(std::vector<Item> items, Handlers handlers);
    void cancel();
    bool running() const { return m_running; }

private:
    hashing::WorkerTasks& m_tasks;
    UiThread& m_ui;
    bool m_running = false;
    // Only an order to try in, so it outlives a run and a set.
    checks::MatchHint m_likely;
};

}  // namespace tolvek::window
