// A few threads that run the independent pieces of one large computation side by side, such as
// the subtrees of a BLAKE3 tree; the calling thread always takes part.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace tolvek::engine {

// The processors this process may run on, asked once: its affinity mask, as taskset or a
// container's CPU set narrows it, rather than every processor of the machine.
std::size_t UsableCores();

class WorkerPool {
public:
    // Runs up to `threads` tasks at once: the caller's thread and `threads - 1` helpers, which
    // start when a batch first needs them, so that a run which never does starts no thread.
    explicit WorkerPool(std::size_t threads);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();

    // The pool of the process, one thread per usable core; started on first use.
    static WorkerPool& Shared();

    // How many tasks of one forEach may run at once: the pool's threads, narrowed by
    // limitThreads.
    std::size_t threads() const;

    // At most `threads` (at least 1) threads for each later forEach, the caller's included.
    void limitThreads(std::size_t threads);

    // Runs task(0) to task(count - 1), each once, on the calling thread and on helpers that are
    // free, and returns once every task has returned. Several threads may call it at once;
    // tasks must not call it themselves.
    void forEach(std::size_t count, const std::function<void(std::size_t)>& task);

private:
    struct Batch {
        std::size_t count;
        const std::function<void(std::size_t)>& task;
        std::size_t helpersAllowed;
        std::size_t helpers = 0;
        std::size_t next = 0;
        std::size_t finished = 0;
    };

    void startHelpers();
    void help(std::stop_token stop);
    Batch* batchNeedingHelp();
    void runNextTask(std::unique_lock<std::mutex>& lock, Batch& batch);

    std::mutex m_mutex;
    std::condition_variable_any m_workArrived;
    std::condition_variable m_taskFinished;
    std::vector<Batch*> m_batches;
    const std::size_t m_helperCount;
    std::atomic<std::size_t> m_limit;
    // Last, so that the helpers stop before what they use goes.
    std::vector<std::jthread> m_helpers;
};

}  // namespace tolvek::engine
