// Work that must not hold up its caller (hashing a file, walking dropped folders, reading
// checksum lists): a port, so that a window starts and cancels it the same way over a worker
// thread and in tests.
#pragma once

#include <functional>
#include <stop_token>
#include <thread>

namespace tolvek::hashing {

class WorkerTasks {
public:
    // Runs on the worker; it answers a stop request by ending early.
    using Task = std::function<void(std::stop_token)>;

    virtual ~WorkerTasks() = default;

    // Starts `task`; the previous task has ended.
    virtual void start(Task task) = 0;
    // Asks the running task to stop. Does nothing without a running task.
    virtual void cancel() = 0;
};

// Each task on its own std::jthread. Destroying it stops the running task and waits for it, so
// it goes before whatever the task uses.
class ThreadWorkerTasks final : public WorkerTasks {
public:
    ThreadWorkerTasks() = default;
    ThreadWorkerTasks(const ThreadWorkerTasks&) = delete;
    ThreadWorkerTasks& operator=(const ThreadWorkerTasks&) = delete;

    // The previous task has ended; joining only collects its thread.
    void start(Task task) override { m_thread = std::jthread(std::move(task)); }
    void cancel() override { m_thread.request_stop(); }

private:
    std::jthread m_thread;
};

}  // namespace tolvek::hashing
