// Many files hashed in turn, as a list check or a folder walk asks. The files go in batches to
// every core, the calling thread among them, and each thread opens, reads and hashes its batch's
// files itself: a small file costs a few system calls, which on a fast disk or the page cache
// take as long as hashing it, so they are shared out too. A file too large to be read whole, or
// a FIFO or device named on purpose, is read and hashed on the calling thread as ReadFile reads
// (on every core, with progress), once the files before it are reported. Small files whose
// algorithms hash many messages at once wait in their thread's memory to be hashed together
// (GroupedFiles.h). Each file's report comes back in order on the calling thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/FileReader.h"
#include "app/hashing/GroupedFiles.h"

namespace tolvek::hashing {

struct FileTask {
    std::string name;
    // A FIFO or device is read too, as ReadControl::readStreams says.
    bool readStreams = false;
    // Hashes the file through `content`, as often as it needs, under `control`. Runs once, on
    // any thread of the sequence, so it shares nothing with the reports but its own result.
    ContentHash hash;
    // The algorithms `hash` asks for, when the caller knows them: a file read whole may then have
    // their digests worked out beforehand, together with other files' (GroupedFiles.h). They
    // stay valid until the task is reported.
    std::span<const AlgorithmEntry* const> algorithms;
    // Runs after `hash`, on the calling thread, in the order the tasks were added; false ends
    // the sequence.
    std::function<bool()> report;
    // The progress of a file read as it is hashed, which is done on the calling thread.
    std::function<void(const ReadProgress&)> progress;
};

// The tasks a sequence of `threads` threads holds at most, added and not yet reported: however
// many go through it, a sequence holds no more names and reports than these, and no more open
// files than two for each of its threads: a file and its folder.
std::size_t MostTasksHeld(std::size_t threads);

class FileSequence {
public:
    // The stop token and tuning of `control` apply to every file; `tuning.threads` hash at once,
    // the calling thread among them.
    explicit FileSequence(const ReadControl& control);
    FileSequence(const FileSequence&) = delete;
    FileSequence& operator=(const FileSequence&) = delete;
    // Waits for the hashes under way; reports nothing more.
    ~FileSequence();

    // Adds the next task, reporting those before it that are done; false once the sequence
    // has ended, the task then being dropped.
    bool add(FileTask task);
    // Adds a report of no file, such as a note that must keep its place among the files'
    // reports; it runs once those before it have run. False once the sequence has ended.
    bool addReport(std::function<bool()> report);
    // Waits for every task added so far, reporting each; false when the sequence ended early.
    // Tasks may be added after it.
    bool finish();

private:
    enum class Kind {
        File,        // opened, read and hashed on any thread
        OnCaller,    // read as it is hashed, on the calling thread when its report is due
        ReportOnly,  // a report of no file
    };
    struct Item {
        FileTask task;
        Kind kind;
    };
    // Files travel in batches, so that threads meet once per batch rather than per file.
    struct Batch {
        std::vector<Item> items;
        std::size_t nameBytes = 0;
        bool taken = false;
        bool hashed = false;
    };

    void startWorkers();
    bool ended();
    bool append(std::unique_lock<std::mutex>& lock, Item item);
    bool pushFilling(std::unique_lock<std::mutex>& lock);
    bool drain(std::unique_lock<std::mutex>& lock);
    void workerLoop(const std::stop_token& stop);
    void hashWaitingOrWait(std::unique_lock<std::mutex>& lock);
    void hash(std::unique_lock<std::mutex>& lock, Batch& batch, GroupedFiles& files);
    std::uint64_t hashFile(Item& item, GroupedFiles& files, platform::Opener& opener,
                           const ReadControl& control);
    bool report(Item& item);
    // The control a file is opened under: once the files read add up to more than the tuning
    // keeps cached, each is dropped from the page cache as it is read.
    ReadControl openingControl() const;
    // Whether a file opened now may stay in the page cache, with `alsoRead` bytes read by this
    // thread besides those counted.
    bool keepsCached(std::uint64_t alsoRead) const;
    bool reportHashed(std::unique_lock<std::mutex>& lock);
    Batch* oldestWaiting();

    ReadControl m_control;
    std::size_t m_lookAhead;
    Batch m_filling;  // the calling thread's, until it is full
    // What each thread reads its small files into, and holds some of them in.
    GroupedFiles m_callerFiles;
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::deque<Batch> m_pending;  // in the order added; references stay valid at both ends
    bool m_ended = false;
    std::atomic<std::uint64_t> m_bytesRead = 0;
    std::vector<std::jthread> m_workers;
};

}  // namespace tolvek::hashing
