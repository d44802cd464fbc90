// The thread that runs the window's event loop, as a port: work on other threads hands its
// results back through post(), so that the main window's state is only ever touched there.
#pragma once

#include <chrono>
#include <functional>

#include "app/hashing/FileJobs.h"

namespace tolvek::window {

class UiThread {
public:
    virtual ~UiThread() = default;

    // Runs `call` later on the UI thread, in the order of the posts. Safe from any thread.
    virtual void post(std::function<void()> call) = 0;
    // Runs `call` on the UI thread once `delay` has passed. UI thread only.
    virtual void postAfter(std::chrono::milliseconds delay, std::function<void()> call) = 0;
};

// Where file hashes run, and the way their results come back to the window's thread.
struct Background {
    hashing::FileJobs& jobs;
    UiThread& ui;
};

}  // namespace tolvek::window
