#include "app/hashing/FileJobs.h"

namespace tolvek::hashing {

void RunFileJob(const FileJob& job, std::stop_token stop) {
    ReadControl control;
    control.stop = std::move(stop);
    control.progress = job.progress;
    job.done(HashFileWith(job.fileName, job.providers, control));
}

void ThreadFileJobs::start(FileJob job) {
    m_worker.start(
        [job = std::move(job)](std::stop_token stop) { RunFileJob(job, std::move(stop)); });
}

}  // namespace tolvek::hashing
