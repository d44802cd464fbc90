#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <stop_token>
#include <thread>

#include "cli/Cli.h"

namespace {

// Turns Ctrl+C into a stop request: SIGINT is blocked in every thread and taken here through a
// signal descriptor, so the stop runs as ordinary code and not inside a signal handler. A program
// that has not ended soon after (blocked reading standard input from a terminal) ends here. The
// watcher sleeps until a signal or the program's end wakes it, so that ending costs no wait.
class InterruptWatcher {
public:
    InterruptWatcher() {
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);
        m_signal = ::signalfd(-1, &signals, SFD_CLOEXEC);
        if (m_signal < 0) {
            pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);  // Ctrl+C then ends at once
        }
        m_ended = ::eventfd(0, EFD_CLOEXEC);
        m_thread = std::thread([this] { watch(); });
    }

    ~InterruptWatcher() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_ended, &one, sizeof one);
        m_thread.join();
        ::close(m_signal);
        ::close(m_ended);
    }

    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    std::stop_token interrupt() const { return m_interrupt.get_token(); }

private:
    static constexpr int kGraceMilliseconds = 500;

    void watch() {
        if (waitFor(m_signal, -1)) {
            return;  // the program ended first
        }
        m_interrupt.request_stop();
        if (!waitFor(m_ended, kGraceMilliseconds)) {
            std::_Exit(tolvek::cli::kExitInterrupted);
        }
    }

    // Waits until `descriptor` can be read, the program's end or the timeout; true when the
    // program ended.
    bool waitFor(int descriptor, int timeoutMilliseconds) const {
        pollfd waits[] = {{m_ended, POLLIN, 0}, {descriptor, POLLIN, 0}};
        for (;;) {
            const int ready = ::poll(waits, descriptor == m_ended ? 1 : 2, timeoutMilliseconds);
            if (ready >= 0 || errno != EINTR) {
                return (waits[0].revents & POLLIN) != 0;
            }
        }
    }

    int m_signal = -1;
    int m_ended = -1;
    std::stop_source m_interrupt;
    std::thread m_thread;
};

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const InterruptWatcher watcher;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const tolvek::cli::CliContext context{watcher.interrupt(), ::isatty(STDERR_FILENO) == 1};
    return tolvek::cli::RunCli(arguments, std::cin, std::cout, std::cerr, context);
}
