// tolvek-cli checking and writing lists beside the coreutils tools: the same lists checked by
// both with the same output, messages and exit status; lists written by one checked by the
// other; and -r over a tree with links, a file that cannot be read and odd names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "tests/support/ShellRun.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::cli {
namespace {

namespace fs = std::filesystem;

using testing::Outcome;
using testing::Replaced;
using testing::RunIn;

const std::string kProgram = std::string("'") + TOLVEK_CLI_PROGRAM + "'";

// Files with the names lists make hard, a folder, a link to nowhere and a corrupted file.
class ListFolder : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a", "sp ace", "it's", "back\\slash", "new\nline", "uni\xC3\xA9",
                                 " lead", "*star"}) {
            folder.write(name, std::string("contents of ") + name);
        }
        fs::create_directory(folder.path() / "folder");
        fs::create_symlink("nowhere", folder.path() / "dangling");
        folder.write("corrupted", "before");
        run("sha256sum -- * > SHA256SUMS 2>/dev/null; md5sum --tag -- * > tagged.md5 2>/dev/null");
        folder.write("corrupted", "after");
        // tests/cli/list_folder.cases
        const std::pair<std::string, std::string> digests[] = {{"{a}", digestOf("a")},
                                                               {"{lead}", digestOf("' lead'")},
                                                               {"{star}", digestOf("'*star'")}};
        for (const testing::Case& list : testing::ReadCaseFile("cli/list_folder.cases")) {
            std::string content = list.get("Content");
            for (const auto& [placeholder, digest] : digests) {
                content = Replaced(content, placeholder, digest);
            }
            folder.write(list.get("Name"), content);
        }
    }

    std::string digestOf(const std::string& name) const {
        return run("sha256sum " + name).output.substr(0, 64);
    }

    Outcome run(const std::string& command) const { return RunIn(folder.path(), command); }

    testing::TempFolder folder;
};

// The calls of tests/cli/coreutils.cases.
std::vector<testing::Case> callsOf(const std::string& section) {
    std::vector<testing::Case> calls = testing::ReadCaseFile("cli/coreutils.cases", section);
    for (testing::Case& call : calls) {
        for (auto& [key, value] : call.fields) {
            value = Replaced(value, "{ours}", kProgram);
        }
    }
    return calls;
}

TEST_F(ListFolder, ChecksLikeCoreutils) {
    for (const testing::Case& check : callsOf("Check")) {
        for (const testing::Case& options : callsOf("Check options")) {
            const std::string tool = check.get("Tool");
            const std::string arguments = " -c " + options.get("Options") + " " + check.get("List");
            SCOPED_TRACE(tool + arguments);
            const Outcome theirs = run(tool + arguments);
            const Outcome ours = run(kProgram + " " + check.get("Ours") + arguments);
            EXPECT_EQ(ours.output, theirs.output);
            EXPECT_EQ(ours.errors, Replaced(theirs.errors, tool + ":", "tolvek-cli:"));
            EXPECT_EQ(ours.exitCode, theirs.exitCode);
        }
    }
}

TEST_F(ListFolder, OptionsOfTheOtherModeFailLikeCoreutils) {
    for (const testing::Case& call : callsOf("Other mode")) {
        SCOPED_TRACE(call.get("Call"));
        const Outcome theirs = run("sha256sum " + call.get("Call"));
        const Outcome ours = run(kProgram + " -a sha256 " + call.get("Call"));
        EXPECT_EQ(ours.output, theirs.output);
        EXPECT_EQ(ours.errors, Replaced(theirs.errors, "sha256sum", "tolvek-cli"));
        EXPECT_EQ(ours.exitCode, theirs.exitCode);
    }
}

TEST_F(ListFolder, ListsRoundTripWithCoreutils) {
    fs::remove(folder.path() / "dangling");
    fs::remove(folder.path() / "folder");
    for (const testing::Case& trip : callsOf("Round trip")) {
        SCOPED_TRACE(trip.where);
        const Outcome written = run(trip.get("Write"));
        ASSERT_EQ(written.exitCode, 0) << written.errors;
        const Outcome checked = run(trip.get("Check"));
        EXPECT_EQ(checked.exitCode, 0) << checked.output << checked.errors;
        EXPECT_EQ(checked.output.find("FAILED"), std::string::npos) << checked.output;
        fs::remove(folder.path() / "ours");
        fs::remove(folder.path() / "theirs");
    }
}

// Sorted names, links to folders only with -L, a folder that holds itself, a file that cannot
// be read, special files skipped, each message in its place, and the digest of what a FIFO
// named on the command line gives.
TEST(ListCommand, RecursiveWalk) {
    const testing::TempFolder folder;
    fs::create_directories(folder.path() / "t" / "sub");
    folder.write("t/b", "b");
    folder.write("t/a b", "ab");
    folder.write("t/sub/c", "c");
    folder.write("t/new\nline", "n");
    fs::create_symlink("sub", folder.path() / "t" / "link");
    fs::create_symlink("..", folder.path() / "t" / "sub" / "up");
    fs::create_symlink("nowhere", folder.path() / "t" / "dangling");
    ::mkfifo((folder.path() / "t" / "fifo").c_str(), 0600);

    // Files are hashed while the next ones are read, yet every message comes where hashing in
    // turn would put it, and the files after a failure are still hashed.
    const Outcome plain = RunIn(folder.path(), kProgram + " -a crc32 -r t/b missing t t/b 2>&1");
    EXPECT_EQ(plain.output,
              // CRC-32 values from Python's zlib.crc32, at full width as list checkers read them.
              "71beeff9  t/b\n"
              "tolvek-cli: missing: No such file or directory\n"
              "9e83486d  t/a b\n"
              "71beeff9  t/b\n"
              "tolvek-cli: t/dangling: No such file or directory\n"
              "tolvek-cli: t/fifo: skipped, not a regular file\n"
              "\\7808a3d2  t/new\\nline\n"
              "06b9df6f  t/sub/c\n"
              "71beeff9  t/b\n")
        << plain.output;
    EXPECT_EQ(plain.exitCode, 1);

    const Outcome followed = RunIn(folder.path(), kProgram + " -a crc32 -rL t/");
    EXPECT_NE(followed.output.find("  t/link/c\n"), std::string::npos) << followed.output;
    EXPECT_NE(followed.errors.find("t/link/up: skipped, a folder that holds itself"),
              std::string::npos)
        << followed.errors;

    const Outcome named =
        RunIn(folder.path(), kProgram + " -a sha256 t/fifo & echo abc > t/fifo; wait");
    EXPECT_EQ(named.output,
              "edeaaff3f1774ad2888673770c6d64097e391bc362d7d6fb34982ddf0efd18cb  t/fifo\n");
}

}  // namespace
}  // namespace tolvek::cli
