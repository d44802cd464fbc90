// The windows' background under the test's control: file jobs and worker tasks wait until the
// test runs them, on the test's own thread, and posted calls wait in a queue until the test
// drains it.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stop_token>

#include "app/window/MainWindow.h"
#include "app/window/UiThread.h"
#include "app/hashing/FileJobs.h"
#include "app/hashing/WorkerTasks.h"

namespace tolvek::window::testing {

class ManualUiThread final : public UiThread {
public:
    void post(std::function<void()> call) override { m_calls.push_back(std::move(call)); }
    // Waits, whatever the delay, until the test lets the time pass.
    void postAfter(std::chrono::milliseconds, std::function<void()> call) override {
        m_delayedCalls.push_back(std::move(call));
    }

    // Runs the posted calls, including those they post, in order.
    void drain();
    // Runs the first posted call alone: one turn of the window's thread.
    void runFirst();
    bool empty() const { return m_calls.empty(); }
    // The delays have passed: the calls that waited for them are posted.
    void letTimePass();

private:
    std::deque<std::function<void()>> m_calls;
    std::deque<std::function<void()>> m_delayedCalls;
};

class ManualFileJobs final : public hashing::FileJobs {
public:
    void start(hashing::FileJob job) override;
    void cancel() override { m_stop.request_stop(); }

    bool pending() const { return m_job.has_value(); }
    const hashing::FileJob& job() const { return *m_job; }
    // Reports progress as the running job's reader would.
    void report(const hashing::ReadProgress& progress) const { m_job->progress(progress); }
    // Runs the pending job to its end through the real reader; a cancel before makes it end
    // cancelled.
    void run();

    int started = 0;

private:
    std::optional<hashing::FileJob> m_job;
    std::stop_source m_stop;
};

class ManualWorkerTasks final : public hashing::WorkerTasks {
public:
    void start(Task task) override;
    void cancel() override { m_stop.request_stop(); }

    bool pending() const { return m_task.has_value(); }
    // Runs the pending task to its end; a cancel before makes it see a stop request.
    void run();

private:
    std::optional<Task> m_task;
    std::stop_source m_stop;
};

}  // namespace tolvek::window::testing
