// One file hashed at a time away from a window's thread, for the main window and the list window
// alike: the run's progress and digests come back as calls posted to the window's thread, and
// whatever an earlier run still posts is ignored.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/hashing/FileJobs.h"
#include "app/window/UiThread.h"

namespace tolvek::window {

class BackgroundRun {
public:
    struct Handlers {
        // On the window's thread, as the reader reports it.
        std::function<void(const hashing::ReadProgress&)> progress;
        // On the window's thread, once, also when the run was cancelled.
        std::function<void(hashing::FileDigests)> ended;
        // On the worker, once `ended` is posted: more work that must not hold up the window.
        std::function<void(int run, const hashing::FileDigests&)> onWorker;
    };

    explicit BackgroundRun(Background background) : m_background(background) {}

    // Hashes `fileName` with `providers`; the previous run has ended. Gives the run's number.
    int start(const std::string& fileName, std::vector<const hashing::Provider*> providers,
              Handlers handlers);
    // The running hash stops; its `ended` handler then runs, cancelled.
    void cancel();

    bool running() const { return m_running; }
    // The number of the last run started.
    int last() const { return m_last; }
    UiThread& ui() const { return m_background.ui; }

private:
    Background m_background;
    int m_last = 0;
    bool m_running = false;
};

}  // namespace tolvek::window
