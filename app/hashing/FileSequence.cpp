#include "app/hashing/FileSequence.h"

#include <algorithm>
#include <utility>

namespace tolvek::hashing {

namespace {

// A batch of small files is handed on once it holds this many bytes or files: large enough
// for its hashing to outlast the threads' meeting many times over, small enough for the
// threads to share the work evenly.
constexpr std::size_t kBatchBytes = std::size_t{512} << 10;
constexpr std::size_t kBatchFiles = 128;
// Batches read ahead per hashing thread, so that no thread waits for reads.
constexpr std::size_t kBatchesPerThread = 4;

}  // namespace

std::size_t MostTasksHeld(std::size_t threads) {
    // The batches read ahead, and the one filling.
    return (kBatchesPerThread * std::max<std::size_t>(threads, 1) + 1) * kBatchFiles;
}

FileSequence::FileSequence(const ReadControl& control)
    : m_control(control),
      m_lookAhead(kBatchesPerThread * std::max<std::size_t>(control.tuning.threads, 1)) {
    m_control.progress = nullptr;
    for (std::size_t worker = 1; worker < control.tuning.threads; ++worker) {
        m_workers.emplace_back([this](const std::stop_token& stop) { workerLoop(stop); });
    }
}

// The workers go first, as they were made last: each finishes the batch it hashes.
FileSequence::~FileSequence() = default;

bool FileSequence::add(FileTask task) {
    std::unique_lock lock(m_mutex);
    if (!reportHashed(lock) || ended()) {
        return false;
    }
    lock.unlock();
    ReadControl opening = m_control;
    opening.readStreams = task.readStreams;
    FileContent content = FileContent::Open(task.name, opening);
    lock.lock();
    if (content.readsWhenFed()) {
        // It is read on every core, so the files before it go first.
        if (!drain(lock)) {
            return false;
        }
        lock.unlock();
        return hashAlone(task, content);
    }
    // A name can be long too: a list line's name is whatever the line holds.
    const std::size_t bytes = content.loadedBytes() + task.name.size();
    return append(lock, {std::move(task), std::move(content)}, bytes);
}

bool FileSequence::addReport(std::function<bool()> report) {
    FileTask task;
    task.report = std::move(report);
    std::unique_lock lock(m_mutex);
    return !m_ended && append(lock, {std::move(task), std::nullopt}, 0);
}

bool FileSequence::append(std::unique_lock<std::mutex>& lock, Item item, std::size_t bytes) {
    m_filling.bytes += bytes;
    m_filling.items.push_back(std::move(item));
    const bool full = m_filling.bytes >= kBatchBytes || m_filling.items.size() >= kBatchFiles;
    return !full || pushFilling(lock);
}

bool FileSequence::finish() {
    std::unique_lock lock(m_mutex);
    return drain(lock) && !ended();
}

bool FileSequence::ended() {
    m_ended = m_ended || m_control.stop.stop_requested();
    return m_ended;
}

bool FileSequence::pushFilling(std::unique_lock<std::mutex>& lock) {
    while (reportHashed(lock) && m_pending.size() >= m_lookAhead) {
        hashWaitingOrWait(lock);
    }
    if (m_ended) {
        return false;
    }
    m_pending.push_back(std::exchange(m_filling, {}));
    m_changed.notify_all();
    return true;
}

bool FileSequence::drain(std::unique_lock<std::mutex>& lock) {
    if (!m_filling.items.empty() && !pushFilling(lock)) {
        return false;
    }
    while (reportHashed(lock) && !m_pending.empty()) {
        hashWaitingOrWait(lock);
    }
    return !m_ended;
}

bool FileSequence::hashAlone(FileTask& task, FileContent& content) {
    ReadControl control = m_control;
    control.progress = task.progress;
    if (task.hash) {
        task.hash(content, control);
    }
    m_ended = task.report && !task.report();
    return !m_ended;
}

void FileSequence::workerLoop(const std::stop_token& stop) {
    std::unique_lock lock(m_mutex);
    for (;;) {
        Batch* batch = nullptr;
        if (!m_changed.wait(lock, stop, [&] { return (batch = oldestWaiting()) != nullptr; })) {
            return;
        }
        hash(lock, *batch);
    }
}

// The calling thread hashes too when it may not read ahead any further.
void FileSequence::hashWaitingOrWait(std::unique_lock<std::mutex>& lock) {
    if (Batch* batch = oldestWaiting()) {
        hash(lock, *batch);
        return;
    }
    m_changed.wait(lock, [&] { return m_pending.front().hashed; });
}

void FileSequence::hash(std::unique_lock<std::mutex>& lock, Batch& batch) {
    batch.taken = true;
    lock.unlock();
    for (Item& item : batch.items) {
        if (item.content && item.task.hash) {
            item.task.hash(*item.content, m_control);
        }
    }
    lock.lock();
    batch.hashed = true;
    m_changed.notify_all();
}

bool FileSequence::reportHashed(std::unique_lock<std::mutex>& lock) {
    while (!m_ended && !m_pending.empty() && m_pending.front().hashed) {
        Batch batch = std::move(m_pending.front());
        m_pending.pop_front();
        lock.unlock();
        for (Item& item : batch.items) {
            if (item.task.report && !item.task.report()) {
                m_ended = true;
                break;
            }
        }
        lock.lock();
    }
    return !m_ended;
}

FileSequence::Batch* FileSequence::oldestWaiting() {
    const auto waiting =
        std::ranges::find_if(m_pending, [](const Batch& batch) { return !batch.taken; });
    return waiting == m_pending.end() ? nullptr : &*waiting;
}

}  // namespace tolvek::hashing
