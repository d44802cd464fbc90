// The worker pool runs every task of a batch exactly once, with several callers at a time, and
// a pool limited to one thread runs them all on the caller's.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/WorkerPool.h"

namespace tolvek::engine {
namespace {

TEST(WorkerPool, EveryTaskRunsOnceWhileOthersShareThePool) {
    for (const std::size_t threads : {1, 2, 5}) {
        WorkerPool pool(threads);
        for (const std::size_t count : {0, 1, 2, 7, 300}) {
            std::vector<std::vector<std::atomic<int>>> runs(3);
            {
                std::vector<std::jthread> callers;
                for (std::vector<std::atomic<int>>& caller : runs) {
                    caller = std::vector<std::atomic<int>>(count);
                    callers.emplace_back([&] {
                        pool.forEach(count, [&](std::size_t index) { ++caller[index]; });
                    });
                }
            }
            for (const std::vector<std::atomic<int>>& caller : runs) {
                for (std::size_t index = 0; index < count; ++index) {
                    ASSERT_EQ(caller[index], 1) << threads << " threads, task " << index << " of "
                                                << count;
                }
            }
        }
    }
}

TEST(WorkerPool, ALimitOfOneKeepsTheTasksOnTheCaller) {
    WorkerPool pool(4);
    pool.limitThreads(1);
    EXPECT_EQ(pool.threads(), 1u);
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::thread::id> ranOn(50);
    pool.forEach(ranOn.size(), [&](std::size_t index) { ranOn[index] = std::this_thread::get_id(); });
    EXPECT_EQ(std::count(ranOn.begin(), ranOn.end(), caller), 50);
}

}  // namespace
}  // namespace tolvek::engine
