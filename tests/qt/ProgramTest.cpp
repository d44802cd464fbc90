// The real program, started with arguments that look like Qt's own options: argument 1 still
// names the file hashed at start-up. The program is copied into a temporary folder, so that
// the sha.lng it writes stays there, and the file's first read, seen through inotify, shows
// that start-up hashed it.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/TempFolder.h"

namespace tolvek::desktop::testing {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;

constexpr auto kStartUpLimit = std::chrono::seconds(20);

// This process's environment with the offscreen platform and a configuration folder of the
// test's own.
std::vector<std::string> childEnvironment(const fs::path& folder) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string_view text(*variable);
        if (!text.starts_with("QT_QPA_PLATFORM=") && !text.starts_with("XDG_CONFIG_HOME=")) {
            variables.emplace_back(text);
        }
    }
    variables.push_back("QT_QPA_PLATFORM=offscreen");
    variables.push_back("XDG_CONFIG_HOME=" + (folder / "config").string());
    return variables;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Starts `program` in `folder` with `arguments`; gives its id. Everything the child needs is
// made before the fork, as a child of a threaded process may only call what is safe there.
pid_t start(const fs::path& program, const fs::path& folder, const Arguments& arguments) {
    std::vector<std::string> argumentTexts{program.string()};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentTexts = childEnvironment(folder);
    const std::vector<char*> argv = pointersTo(argumentTexts);
    const std::vector<char*> envp = pointersTo(environmentTexts);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) == 0) {
            ::execve(program.c_str(), argv.data(), envp.data());
        }
        ::_exit(127);
    }
    return child;
}

enum class Outcome { FileRead, ProgramEnded, TimedOut };

// Waits until the watched file is read or the program ends.
Outcome awaitRead(int watch, pid_t program) {
    const auto deadline = std::chrono::steady_clock::now() + kStartUpLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd events{watch, POLLIN, 0};
        if (::poll(&events, 1, 100) > 0) {
            return Outcome::FileRead;
        }
        int status = 0;
        if (::waitpid(program, &status, WNOHANG) == program) {
            return Outcome::ProgramEnded;
        }
    }
    return Outcome::TimedOut;
}

TEST(ProgramTest, ArgumentOneNamesTheFileWhateverItsText) {
    const Arguments cases[] = {
        {"-reverse"},         {"-widgetcount"},     {"-style", "Fusion"},
        {"-session", "name"}, {"-platform", "xyz"}, {"--", "other"},
    };
    for (const Arguments& arguments : cases) {
        SCOPED_TRACE(arguments.front());
        const tolvek::testing::TempFolder folder;
        const fs::path program = folder.path() / "tolvek";
        fs::copy_file(TOLVEK_PROGRAM, program);
        const std::string file = folder.write(arguments.front(), "abc");

        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, file.c_str(), IN_ACCESS), 0);
        const pid_t child = start(program, folder.path(), arguments);
        ASSERT_GT(child, 0);
        const Outcome outcome = awaitRead(watch, child);
        ::close(watch);
        EXPECT_EQ(outcome, Outcome::FileRead)
            << (outcome == Outcome::ProgramEnded ? "the program ended" : "the file was not read");
        if (outcome != Outcome::ProgramEnded) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        // The start-up save shows that the program went through its start-up in its folder.
        EXPECT_TRUE(fs::exists(folder.path() / "sha.lng"));
    }
}

}  // namespace
}  // namespace tolvek::desktop::testing
