// tolvek-cli over many files and a large one with 1 to 4 threads, stopped at random moments as
// Ctrl+C stops it: every line printed is a line the whole run prints, and a run left alone
// prints them all. Built with ThreadSanitizer, this is the race check of the reader, the
// sequence of many files, the workers and BLAKE3's threaded update.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

#include "cli/Cli.h"
#include "tests/support/TempFolder.h"

namespace tolvek::cli {
namespace {

constexpr int kSmallFiles = 120;
constexpr std::size_t kLargeFile = std::size_t{6} << 20;
constexpr int kStopsPerThreadCount = 4;

struct StressRun {
    int exitCode;
    std::string output;
};

// Runs `arguments`, stopped after `stopAfter` unless it is nothing.
StressRun runStopped(const std::vector<std::string>& arguments,
                     std::optional<std::chrono::microseconds> stopAfter) {
    std::stop_source interrupt;
    std::istringstream input;
    std::ostringstream output;
    std::ostringstream errors;
    std::jthread stopper;
    if (stopAfter) {
        // Woken early when the run ends first: the jthread asks its own stop as it goes.
        stopper = std::jthread([&, delay = *stopAfter](const std::stop_token& runEnded) {
            std::mutex mutex;
            std::condition_variable_any never;
            std::unique_lock lock(mutex);
            if (!never.wait_for(lock, runEnded, delay, [] { return false; }) &&
                !runEnded.stop_requested()) {
                interrupt.request_stop();
            }
        });
    }
    const int exitCode = RunCli(arguments, input, output, errors, {interrupt.get_token(), false});
    return {exitCode, output.str()};
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

class CliStress : public ::testing::Test {
protected:
    CliStress() : random(::testing::UnitTest::GetInstance()->random_seed()) {
        std::string bytes;
        for (int file = 0; file < kSmallFiles; ++file) {
            bytes.append(static_cast<std::size_t>(file * 97), static_cast<char>(file));
            folder.write("small" + std::to_string(file), bytes.substr(0, file * 131 % 20000));
        }
        std::string large(kLargeFile, '\0');
        for (std::size_t index = 0; index < large.size(); ++index) {
            large[index] = static_cast<char>(index * 2654435761U >> 24);
        }
        folder.write("large", large);
    }

    // A run at every thread count, each left alone once and stopped at random moments, against
    // the lines of the first whole run.
    void stressWith(const std::vector<std::string>& arguments) {
        std::optional<std::vector<std::string>> whole;
        for (const std::string threads : {"1", "2", "3", "4"}) {
            std::vector<std::string> withThreads = {"--threads", threads};
            withThreads.insert(withThreads.end(), arguments.begin(), arguments.end());
            const auto start = std::chrono::steady_clock::now();
            const StressRun full = runStopped(withThreads, std::nullopt);
            const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::steady_clock::now() - start);
            EXPECT_EQ(full.exitCode, kExitOk) << threads << " threads";
            if (!whole) {
                whole = linesOf(full.output);
            }
            EXPECT_EQ(linesOf(full.output), *whole) << threads << " threads";
            for (int stop = 0; stop < kStopsPerThreadCount; ++stop) {
                // Anywhere in a whole run's time, and now and then just after it.
                const std::chrono::microseconds after(random() % (took.count() * 5 / 4 + 1));
                const StressRun stopped = runStopped(withThreads, after);
                EXPECT_TRUE(stopped.exitCode == kExitInterrupted || stopped.exitCode == kExitOk);
                const std::vector<std::string> lines = linesOf(stopped.output);
                ASSERT_LE(lines.size(), whole->size());
                EXPECT_TRUE(std::equal(lines.begin(), lines.end(), whole->begin()))
                    << "stopped after " << after.count() << " us with " << threads << " threads";
            }
        }
    }

    testing::TempFolder folder;
    std::mt19937 random;
};

TEST_F(CliStress, HashingAFolderWithEveryThreadCountStoppedAnywhere) {
    stressWith({"-a", "blake3,sha256,crc32", "-r", folder.path().string()});
}

TEST_F(CliStress, CheckingAListWithEveryThreadCountStoppedAnywhere) {
    std::istringstream input;
    std::ostringstream list;
    std::ostringstream errors;
    ASSERT_EQ(RunCli({"-a", "blake3", "-r", folder.path().string()}, input, list, errors), kExitOk);
    stressWith({"-a", "blake3", "-c", folder.write("B3SUMS", list.str())});
}

}  // namespace
}  // namespace tolvek::cli
