#include "app/hashing/FileSequence.h"

#include <algorithm>
#include <utility>

#include "platform/ReadOnlyFile.h"

namespace tolvek::hashing {

namespace {

// A batch is handed on once it holds this many files: enough for its hashing to outlast the
// threads' meeting many times over, few enough for the threads to share the work evenly. Or
// once its names hold this many bytes: a list line's name is whatever the line holds.
constexpr std::size_t kBatchFiles = 64;
constexpr std::size_t kBatchNameBytes = std::size_t{512} << 10;
// Batches made ahead per hashing thread, so that no thread waits for the calling thread.
constexpr std::size_t kBatchesPerThread = 4;

}  // namespace

std::size_t MostTasksHeld(std::size_t threads) {
    // The batches made ahead, and the one filling.
    return (kBatchesPerThread * std::max<std::size_t>(threads, 1) + 1) * kBatchFiles;
}

FileSequence::FileSequence(const ReadControl& control)
    : m_control(control),
      m_lookAhead(kBatchesPerThread * std::max<std::size_t>(control.tuning.threads, 1)),
      m_callerFiles(m_control) {
    m_control.progress = nullptr;
}

// The workers go first, as they were made last: each finishes the batch it hashes.
FileSequence::~FileSequence() = default;

bool FileSequence::add(FileTask task) {
    std::unique_lock lock(m_mutex);
    if (!reportHashed(lock) || ended()) {
        return false;
    }
    return append(lock, {std::move(task), Kind::File});
}

bool FileSequence::addReport(std::function<bool()> report) {
    FileTask task;
    task.report = std::move(report);
    std::unique_lock lock(m_mutex);
    return !m_ended && append(lock, {std::move(task), Kind::ReportOnly});
}

bool FileSequence::append(std::unique_lock<std::mutex>& lock, Item item) {
    m_filling.nameBytes += item.task.name.size();
    m_filling.items.push_back(std::move(item));
    if (m_filling.items.size() < kBatchFiles && m_filling.nameBytes < kBatchNameBytes) {
        return true;
    }
    startWorkers();
    return pushFilling(lock);
}

bool FileSequence::finish() {
    std::unique_lock lock(m_mutex);
    return drain(lock) && !ended();
}

// Only once a batch is handed on while files are still being added: the calling thread hashes
// what is left at the end itself, so that a few files start no thread.
void FileSequence::startWorkers() {
    for (std::size_t worker = m_workers.size() + 1; worker < m_control.tuning.threads; ++worker) {
        m_workers.emplace_back([this](const std::stop_token& stop) { workerLoop(stop); });
    }
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

void FileSequence::workerLoop(const std::stop_token& stop) {
    GroupedFiles files(m_control);
    std::unique_lock lock(m_mutex);
    for (;;) {
        Batch* batch = nullptr;
        if (!m_changed.wait(lock, stop, [&] { return (batch = oldestWaiting()) != nullptr; })) {
            return;
        }
        hash(lock, *batch, files);
    }
}

// The calling thread hashes too when it may not add any further.
void FileSequence::hashWaitingOrWait(std::unique_lock<std::mutex>& lock) {
    if (Batch* batch = oldestWaiting()) {
        hash(lock, *batch, m_callerFiles);
        return;
    }
    m_changed.wait(lock, [&] { return m_pending.front().hashed; });
}

void FileSequence::hash(std::unique_lock<std::mutex>& lock, Batch& batch, GroupedFiles& files) {
    batch.taken = true;
    lock.unlock();
    platform::Opener opener;
    // Once a batch, as the threads share the stop token's count and the bytes read.
    ReadControl control = openingControl();
    std::uint64_t bytesRead = 0;
    for (Item& item : batch.items) {
        if (item.kind == Kind::File) {
            control.readStreams = item.task.readStreams;
            if (!keepsCached(bytesRead)) {
                control.tuning.keepCachedUpTo = 0;
            }
            bytesRead += hashFile(item, files, opener, control);
        }
    }
    m_bytesRead += bytesRead;
    files.hashAll();
    lock.lock();
    batch.hashed = true;
    m_changed.notify_all();
}

// A FIFO or device named on purpose is not even opened here: it is opened in its turn on the
// calling thread, as a file is read in turn. Opened ahead, it would hold a descriptor until then
// and take what its writer means for a later line naming it again. The look that tells spares
// the open its own. A file too large to be read whole is opened again there too. Gives the bytes
// read.
std::uint64_t FileSequence::hashFile(Item& item, GroupedFiles& files, platform::Opener& opener,
                                     const ReadControl& control) {
    if (item.task.readStreams) {
        const std::optional<platform::NameLook> look = opener.look(item.task.name);
        if (look && look->stream) {
            item.kind = Kind::OnCaller;
            return 0;
        }
    }
    FileContent content = FileContent::Open(item.task.name, control, files.scratch(), &opener);
    if (content.readsWhenFed()) {
        item.kind = Kind::OnCaller;
        return 0;
    }
    const std::uint64_t loaded = content.loadedBytes();
    if (item.task.hash && GroupedFiles::Gains(item.task.algorithms)) {
        files.add(std::move(content), item.task.algorithms, item.task.hash);
    } else if (item.task.hash) {
        item.task.hash(content, m_control);
    }
    return loaded;
}

// On the calling thread.
bool FileSequence::report(Item& item) {
    if (item.kind == Kind::OnCaller && item.task.hash) {
        ReadControl control = openingControl();
        control.progress = item.task.progress;
        control.readStreams = item.task.readStreams;
        FileContent content = FileContent::Open(item.task.name, control);
        m_bytesRead += content.size().value_or(0);
        item.task.hash(content, control);
    }
    return !item.task.report || item.task.report();
}

ReadControl FileSequence::openingControl() const {
    ReadControl control = m_control;
    if (!keepsCached(0)) {
        control.tuning.keepCachedUpTo = 0;
    }
    return control;
}

bool FileSequence::keepsCached(std::uint64_t alsoRead) const {
    return m_bytesRead.load(std::memory_order_relaxed) + alsoRead <=
           m_control.tuning.keepCachedUpTo;
}

bool FileSequence::reportHashed(std::unique_lock<std::mutex>& lock) {
    while (!m_ended && !m_pending.empty() && m_pending.front().hashed) {
        Batch batch = std::move(m_pending.front());
        m_pending.pop_front();
        lock.unlock();
        for (Item& item : batch.items) {
            if (!report(item)) {
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
