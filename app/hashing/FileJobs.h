// Where file hashes run when their caller must stay responsive: a port, so that the main window
// starts, follows and cancels them the same way over a worker thread and in tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/hashing/Hashing.h"
#include "app/hashing/WorkerTasks.h"

namespace tolvek::hashing {

struct FileJob {
    std::string fileName;
    std::vector<const Provider*> providers;
    // Both run on the job's thread: progress as ReadControl says, then done exactly once.
    std::function<void(const ReadProgress&)> progress;
    std::function<void(FileDigests)> done;
};

class FileJobs {
public:
    virtual ~FileJobs() = default;

    // Starts `job`; the previous job has ended (its done handler has run).
    virtual void start(FileJob job) = 0;
    // Asks the running job to stop; its done handler then runs with `cancelled` set, unless it
    // had already finished. Does nothing without a running job.
    virtual void cancel() = 0;
};

// Each job on its own std::jthread. Destroying it cancels the running job and waits for it, so
// it goes before whatever the handlers use.
class ThreadFileJobs final : public FileJobs {
public:
    void start(FileJob job) override;
    void cancel() override { m_worker.cancel(); }

private:
    ThreadWorkerTasks m_worker;
};

// The job's work, on whichever thread calls it.
void RunFileJob(const FileJob& job, std::stop_token stop);

}  // namespace tolvek::hashing
