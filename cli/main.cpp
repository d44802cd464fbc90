#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "cli/Cli.h"

namespace {

// Turns Ctrl+C into a stop request: SIGINT is blocked in every thread and taken here with
// sigtimedwait, so the stop runs as ordinary code and not inside a signal handler. A program
// that has not ended soon after (blocked reading standard input from a terminal) ends here.
class InterruptWatcher {
public:
    InterruptWatcher() {
        sigemptyset(&m_signals);
        sigaddset(&m_signals, SIGINT);
        pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
        m_thread = std::jthread([this](std::stop_token stop) { watch(stop); });
    }

    std::stop_token interrupt() const { return m_interrupt.get_token(); }

private:
    void watch(const std::stop_token& stop) {
        const timespec poll{0, 50'000'000};
        while (!stop.stop_requested()) {
            if (sigtimedwait(&m_signals, nullptr, &poll) == SIGINT) {
                m_interrupt.request_stop();
                endIfStillRunning(stop);
                return;
            }
        }
    }

    static void endIfStillRunning(const std::stop_token& stop) {
        for (int wait = 0; wait < 10 && !stop.stop_requested(); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!stop.stop_requested()) {
            std::_Exit(tolvek::cli::kExitInterrupted);
        }
    }

    sigset_t m_signals{};
    std::stop_source m_interrupt;
    std::jthread m_thread;
};

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const InterruptWatcher watcher;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string called = argc > 0 ? argv[0] : "";
    const tolvek::cli::CliContext context{watcher.interrupt(), ::isatty(STDERR_FILENO) == 1,
                                          called.substr(called.rfind('/') + 1)};
    return tolvek::cli::RunCli(arguments, std::cin, std::cout, std::cerr, context);
}
