// tolvek-cli as a process: progress on standard error only on a terminal (a pseudo-terminal
// here) or when asked, Ctrl+C, lists and FIFOs as they arrive, and a standard output that cannot
// be written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "cli/Cli.h"
#include "tests/support/TempFolder.h"

namespace tolvek::cli {
namespace {

enum class ErrorsTo { Pipe, Terminal };

struct ProcessRun {
    int exitCode = -1;
    std::string output;
    std::string errors;
};

// Runs tolvek-cli with `arguments`, standard output to a pipe (or to `outputFile`), standard
// error to a pipe or a pseudo-terminal. `whileRunning` sees the process id and what the
// program has written so far, every tenth of a second and each time more arrives. A process
// still running after a minute is killed and fails the test.
ProcessRun runProgram(const std::vector<std::string>& arguments, ErrorsTo errorsTo,
                      const char* outputFile = nullptr,
                      std::function<void(pid_t, const ProcessRun&)> whileRunning = {}) {
    int outputPipe[2];
    int errorsPair[2];
    EXPECT_EQ(::pipe(outputPipe), 0);
    if (errorsTo == ErrorsTo::Terminal) {
        EXPECT_EQ(::openpty(&errorsPair[0], &errorsPair[1], nullptr, nullptr, nullptr), 0);
    } else {
        EXPECT_EQ(::pipe(errorsPair), 0);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const int output = outputFile != nullptr ? ::open(outputFile, O_WRONLY) : outputPipe[1];
        ::dup2(output, STDOUT_FILENO);
        ::dup2(errorsPair[1], STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(TOLVEK_CLI_PROGRAM)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(TOLVEK_CLI_PROGRAM, argv.data());
        ::_exit(127);
    }
    ::close(outputPipe[1]);
    ::close(errorsPair[1]);

    ProcessRun run;
    pollfd streams[] = {{outputPipe[0], POLLIN, 0}, {errorsPair[0], POLLIN, 0}};
    std::string* targets[] = {&run.output, &run.errors};
    const auto hangGuard = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    int open = 2;
    while (open > 0 && std::chrono::steady_clock::now() < hangGuard) {
        const int ready = ::poll(streams, 2, 100);
        for (int index = 0; ready > 0 && index < 2; ++index) {
            if (streams[index].fd < 0 || streams[index].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t count = ::read(streams[index].fd, buffer, sizeof buffer);
            if (count <= 0) {  // a pseudo-terminal whose other side closed gives EIO
                ::close(streams[index].fd);
                streams[index].fd = -1;
                --open;
                continue;
            }
            targets[index]->append(buffer, static_cast<std::size_t>(count));
        }
        if (whileRunning) {
            whileRunning(child, run);
        }
    }
    if (open > 0) {
        ADD_FAILURE() << "tolvek-cli did not end";
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

// MD2 is slow enough (about 11 MB/s) that 16 MiB take longer than the second after which a
// terminal shows progress.
TEST(CliProcess, ProgressOnlyOnATerminalOrWhenAsked) {
    tolvek::testing::TempFolder folder;
    const std::string name = folder.writeSparse("large.bin", std::int64_t{16} << 20, 1);
    const struct Case {
        ErrorsTo errorsTo;
        const char* option;
        bool showsProgress;
    } cases[] = {
        {ErrorsTo::Terminal, nullptr, true},
        {ErrorsTo::Pipe, nullptr, false},
        {ErrorsTo::Terminal, "--no-progress", false},
        {ErrorsTo::Pipe, "--progress", true},
    };
    std::optional<std::string> firstOutput;
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.errorsTo == ErrorsTo::Terminal ? "terminal " : "pipe ") +
                     (test.option != nullptr ? test.option : ""));
        std::vector<std::string> arguments{"-a", "md2", name};
        if (test.option != nullptr) {
            arguments.insert(arguments.begin(), test.option);
        }
        const ProcessRun run = runProgram(arguments, test.errorsTo);
        EXPECT_EQ(run.exitCode, kExitOk) << run.errors;
        EXPECT_TRUE(run.output.ends_with("  " + name + "\n")) << run.output;
        EXPECT_EQ(run.output, firstOutput.value_or(run.output));
        firstOutput = run.output;
        if (test.showsProgress) {
            EXPECT_NE(run.errors.find("\r" + name + ": "), std::string::npos) << run.errors;
            EXPECT_NE(run.errors.find(" of 16.0 MiB, "), std::string::npos) << run.errors;
            EXPECT_TRUE(run.errors.ends_with("\r\033[K")) << run.errors;
        } else {
            EXPECT_EQ(run.errors, "");
        }
    }
}

TEST(CliProcess, CtrlCStopsPromptlyWithExitStatus130) {
    tolvek::testing::TempFolder folder;
    const std::string name = folder.writeSparse("huge.bin", std::int64_t{1} << 30, 1);
    bool interrupted = false;
    const ProcessRun run = runProgram(
        {"--progress", "-a", "md2", name}, ErrorsTo::Pipe, nullptr,
        [&](pid_t child, const ProcessRun& soFar) {
            if (!interrupted && !soFar.errors.empty()) {
                interrupted = true;
                ::kill(child, SIGINT);
            }
        });
    EXPECT_TRUE(interrupted);
    EXPECT_EQ(run.exitCode, kExitInterrupted);
    EXPECT_EQ(run.output, "");
}

// -c checks each line as it arrives and shows its verdict before waiting for the next: the
// first verdict comes while the list's writer still holds it open.
TEST(CliProcess, AListIsCheckedAsItArrives) {
    tolvek::testing::TempFolder folder;
    const std::string file = folder.write("f", "abc");
    const std::string list = folder.file("list");
    ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
    // Read and write, so that opening waits for no reader; not passed on to the program.
    int writer = ::open(list.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    // FIPS 180-2's SHA-256 of "abc".
    const std::string line =
        "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  " + file + "\n";
    ASSERT_EQ(::write(writer, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool verdictWhileOpen = false;
    const ProcessRun run = runProgram(
        {"-c", "-a", "sha256", list}, ErrorsTo::Pipe, nullptr, [&](pid_t, const ProcessRun& soFar) {
            if (writer < 0) {
                return;
            }
            verdictWhileOpen = soFar.output == file + ": OK\n";
            if (verdictWhileOpen || std::chrono::steady_clock::now() > giveUp) {
                EXPECT_EQ(::write(writer, line.data(), line.size()),
                          static_cast<ssize_t>(line.size()));
                ::close(writer);
                writer = -1;
            }
        });
    EXPECT_TRUE(verdictWhileOpen) << "no verdict before the list ended";
    EXPECT_EQ(run.output, file + ": OK\n" + file + ": OK\n");
    EXPECT_EQ(run.exitCode, kExitOk) << run.errors;
}

// FIFOs among a list's files, written in the list's order by one writer that waits for each
// reader; a large file early in the list delays the turns after it. Each FIFO line is read whole
// in its turn, as a file is, and blocks none of the files after it; FIFOs opened ahead would
// hold a descriptor each, and a FIFO listed again would take its writer's second write on its
// first line.
TEST(CliProcess, FifosInAListAreReadInTheirTurn) {
    const struct Case {
        const char* what;
        std::size_t fifoLines;
        std::size_t fifos;  // FIFO line n names FIFO n % fifos
        int linesApart;
        rlim_t openFiles;  // the program's limit on open descriptors
    } cases[] = {
        {"two FIFOs", 2, 2, 90, RLIM_INFINITY},
        {"a FIFO listed again", 3, 2, 80, RLIM_INFINITY},
        {"60 FIFOs, 32 open files", 60, 60, 3, 32},
    };
    // FIPS 180-2's SHA-256 of "abc".
    const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  ";
    ::signal(SIGPIPE, SIG_IGN);  // a write nobody reads fails instead of ending the test
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        tolvek::testing::TempFolder folder;
        std::string list;
        std::string expected;
        std::vector<std::string> written;  // the FIFO of each FIFO line
        for (int index = 0; index < 200; ++index) {
            std::string name = folder.file(std::to_string(index));
            const std::size_t fifoLine = written.size();
            if (index == 10) {
                folder.writeSparse(std::to_string(index), std::int64_t{64} << 20, 1);
            } else if (index % test.linesApart == 1 && fifoLine < test.fifoLines) {
                name = folder.file("fifo" + std::to_string(fifoLine % test.fifos));
                if (!std::filesystem::exists(name)) {
                    ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
                }
                written.push_back(name);
            } else {
                folder.write(std::to_string(index), "abc");
            }
            list += abc + name + "\n";
            expected += name + (index == 10 ? ": FAILED\n" : ": OK\n");
        }
        std::atomic<bool> done = false;
        std::atomic<bool> writeFailed = false;
        std::jthread writer([&] {
            for (const std::string& fifo : written) {
                std::ofstream stream(fifo);
                writeFailed = !(stream << "abc" << std::flush) || writeFailed;
            }
            done = true;
        });
        rlimit inherited{};
        ::getrlimit(RLIMIT_NOFILE, &inherited);
        rlimit lowered = inherited;
        lowered.rlim_cur = std::min(test.openFiles, inherited.rlim_cur);
        ::setrlimit(RLIMIT_NOFILE, &lowered);
        const ProcessRun run = runProgram(
            {"--threads", "2", "-c", "-a", "sha256", folder.write("list", list)}, ErrorsTo::Pipe);
        ::setrlimit(RLIMIT_NOFILE, &inherited);
        EXPECT_EQ(run.output, expected);
        EXPECT_EQ(run.exitCode, kExitFailure) << run.errors;
        while (!done) {  // a writer that a failed run left waiting for a reader
            for (const std::string& fifo : written) {
                ::close(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_FALSE(writeFailed);
    }
}

TEST(CliProcess, AFailedWriteToStandardOutputIsAFailure) {
    const ProcessRun run = runProgram({"-a", "sha1", "-s", "abc"}, ErrorsTo::Pipe, "/dev/full");
    EXPECT_EQ(run.exitCode, kExitFailure);
    EXPECT_EQ(run.errors, "tolvek-cli: cannot write to standard output\n");
}

}  // namespace
}  // namespace tolvek::cli
