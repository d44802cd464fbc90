#include "engine/WorkerPool.h"

#include <sched.h>

#include <algorithm>

namespace tolvek::engine {

std::size_t UsableCores() {
    static const std::size_t cores = [] {
        cpu_set_t allowed;
        if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
            return static_cast<std::size_t>(std::max(CPU_COUNT(&allowed), 1));
        }
        return static_cast<std::size_t>(std::max(1U, std::thread::hardware_concurrency()));
    }();
    return cores;
}

WorkerPool::WorkerPool(std::size_t threads)
    : m_helperCount(std::max<std::size_t>(threads, 1) - 1),
      m_limit(std::max<std::size_t>(threads, 1)) {}

WorkerPool::~WorkerPool() {
    for (std::jthread& helper : m_helpers) {
        helper.request_stop();
    }
}

WorkerPool& WorkerPool::Shared() {
    static WorkerPool pool(UsableCores());
    return pool;
}

std::size_t WorkerPool::threads() const {
    return std::min(m_helperCount + 1, m_limit.load(std::memory_order_relaxed));
}

void WorkerPool::limitThreads(std::size_t threads) {
    m_limit.store(std::max<std::size_t>(threads, 1), std::memory_order_relaxed);
}

void WorkerPool::forEach(std::size_t count, const std::function<void(std::size_t)>& task) {
    Batch batch{count, task, std::min(threads() - 1, count == 0 ? 0 : count - 1)};
    std::unique_lock lock(m_mutex);
    if (batch.helpersAllowed > 0) {
        startHelpers();
        m_batches.push_back(&batch);
        m_workArrived.notify_all();
    }
    while (batch.next < batch.count) {
        runNextTask(lock, batch);
    }
    std::erase(m_batches, &batch);
    m_taskFinished.wait(lock, [&] { return batch.finished == batch.count; });
}

// Under the mutex.
void WorkerPool::startHelpers() {
    while (m_helpers.size() < m_helperCount) {
        m_helpers.emplace_back([this](std::stop_token stop) { help(std::move(stop)); });
    }
}

// A helper touches a batch only while it holds the mutex or runs one of its tasks, and the
// batch's caller cannot return before the last task has been counted under the mutex.
void WorkerPool::help(std::stop_token stop) {
    std::unique_lock lock(m_mutex);
    for (;;) {
        Batch* batch = nullptr;
        if (!m_workArrived.wait(lock, stop,
                                [&] { return (batch = batchNeedingHelp()) != nullptr; })) {
            return;
        }
        ++batch->helpers;
        while (batch->next < batch->count) {
            runNextTask(lock, *batch);
        }
        --batch->helpers;
    }
}

WorkerPool::Batch* WorkerPool::batchNeedingHelp() {
    const auto found = std::ranges::find_if(m_batches, [](const Batch* batch) {
        return batch->next < batch->count && batch->helpers < batch->helpersAllowed;
    });
    return found == m_batches.end() ? nullptr : *found;
}

void WorkerPool::runNextTask(std::unique_lock<std::mutex>& lock, Batch& batch) {
    const std::size_t index = batch.next++;
    lock.unlock();
    batch.task(index);
    lock.lock();
    if (++batch.finished == batch.count) {
        m_taskFinished.notify_all();
    }
}

}  // namespace tolvek::engine
