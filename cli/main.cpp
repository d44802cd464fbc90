#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <stop_token>

#include "cli/Cli.h"

namespace {

// Turns Ctrl+C into a stop request: SIGINT is blocked in every thread and taken here through a
// signal descriptor, so the stop runs as ordinary code and not inside a signal handler. A program
// that has not ended soon after (blocked reading standard input from a terminal) ends here. The
// watcher sleeps until a signal or the program's end wakes it, so that ending costs no wait.
class InterruptWatcher {
public:
    InterruptWatcher() {
        const sigset_t signals = interruptSignal();
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);
        m_signal = ::signalfd(-1, &signals, SFD_CLOEXEC);
        m_ended = ::eventfd(0, EFD_CLOEXEC);
        if (m_signal < 0 || !start()) {
            pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);  // Ctrl+C then ends at once
        }
    }

    ~InterruptWatcher() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_ended, &one, sizeof one);
        if (m_started) {
            ::pthread_join(m_thread, nullptr);
        }
        ::close(m_signal);
        ::close(m_ended);
    }

    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    std::stop_token interrupt() const { return m_interrupt.get_token(); }

private:
    static constexpr int kGraceMilliseconds = 500;

    static sigset_t interruptSignal() {
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        return signals;
    }

    // The watcher starts on the processor the program runs on: it only goes to sleep, and
    // waking an idle processor for that, then again to end it, costs a short run a tenth of a
    // millisecond on a virtual machine.
    bool start() {
        pthread_attr_t attributes;
        ::pthread_attr_init(&attributes);
        cpu_set_t here;
        CPU_ZERO(&here);
        if (const int processor = ::sched_getcpu(); processor >= 0) {
            CPU_SET(processor, &here);
            ::pthread_attr_setaffinity_np(&attributes, sizeof here, &here);
        }
        m_started = ::pthread_create(&m_thread, &attributes, [](void* watcher) -> void* {
            static_cast<InterruptWatcher*>(watcher)->watch();
            return nullptr;
        }, this) == 0;
        ::pthread_attr_destroy(&attributes);
        return m_started;
    }

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
    pthread_t m_thread{};
    bool m_started = false;
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
