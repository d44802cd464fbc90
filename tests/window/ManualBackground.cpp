#include "tests/window/ManualBackground.h"

#include <gtest/gtest.h>

namespace tolvek::window::testing {

void ManualUiThread::drain() {
    while (!m_calls.empty()) {
        runFirst();
    }
}

void ManualUiThread::runFirst() {
    if (m_calls.empty()) {
        return;
    }
    const std::function<void()> call = std::move(m_calls.front());
    m_calls.pop_front();
    call();
}

void ManualUiThread::letTimePass() {
    while (!m_delayedCalls.empty()) {
        m_calls.push_back(std::move(m_delayedCalls.front()));
        m_delayedCalls.pop_front();
    }
}

void ManualFileJobs::start(hashing::FileJob job) {
    EXPECT_FALSE(m_job.has_value()) << "a second job started while one runs";
    m_job = std::move(job);
    m_stop = {};
    ++started;
}

void ManualFileJobs::run() {
    ASSERT_TRUE(m_job.has_value());
    const hashing::FileJob job = *std::exchange(m_job, std::nullopt);
    hashing::RunFileJob(job, m_stop.get_token());
}

void ManualWorkerTasks::start(Task task) {
    EXPECT_FALSE(m_task.has_value()) << "a second task started while one runs";
    m_task = std::move(task);
    m_stop = {};
}

void ManualWorkerTasks::run() {
    ASSERT_TRUE(m_task.has_value());
    const Task task = *std::exchange(m_task, std::nullopt);
    task(m_stop.get_token());
}

}  // namespace tolvek::window::testing
