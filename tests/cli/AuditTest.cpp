// tolvek-cli --audit over a tree with a file of each class, checked and updated twice.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ShellRun.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"

namespace tolvek::cli {
namespace {

const std::string kProgram = std::string("'") + TOLVEK_CLI_PROGRAM + "' ";

TEST(Audit, EachClassThenUpdatedTwice) {
    const testing::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "t");
    for (const char* name : {"same", "changed", "moved", "re named", "gone", "moved and changed",
                             "twin", "twin 2", "new\nline"}) {
        folder.write(std::string("t/") + name, std::string("content of ") + name);
    }
    folder.write("t/twin 2", "content of twin");
    const auto run = [&](const std::string& command) {
        return testing::RunIn(folder.path(), command);
    };
    ASSERT_EQ(run(kProgram + "-a sha256 -r t > SHA256SUMS").exitCode, 0);
    const std::string before = testing::FileContents(folder.path() / "SHA256SUMS");
    ASSERT_EQ(run("cd t && mkdir sub && echo x >> changed && mv moved sub/ && mv 're named' "
                  "renamed && rm gone && mv 'moved and changed' sub/mc && echo y >> sub/mc && "
                  "mv 'twin 2' sub/ && mv 'new\nline' sub/ && echo new > new")
                  .exitCode,
              0);

    const testing::Outcome first = run(kProgram + "--audit SHA256SUMS t --update");
    EXPECT_EQ(first.output,
              "t/changed: changed\n"
              "t/new: new\n"
              "t/renamed: moved from t/re named\n"
              "t/sub/mc: new\n"
              "t/sub/moved: moved from t/moved\n"
              "\\t/sub/new\\nline: moved from \\t/new\\nline\n"
              "t/sub/twin 2: moved from t/twin 2\n"
              "t/gone: missing\n"
              "t/moved and changed: missing\n"
              "2 unchanged, 1 changed, 4 moved, 2 new, 2 missing\n");
    EXPECT_EQ(first.exitCode, 1) << first.errors;
    EXPECT_EQ(testing::FileContents(folder.path() / "SHA256SUMS~"), before);
    EXPECT_EQ(run("sha256sum --strict -c SHA256SUMS").exitCode, 0);

    const testing::Outcome second = run(kProgram + "--audit SHA256SUMS t --update");
    EXPECT_EQ(second.output, "9 unchanged, 0 changed, 0 moved, 0 new, 0 missing\n");
    EXPECT_EQ(second.exitCode, 0) << second.errors;

    // Without a name that tells its algorithm, the list keeps it in BSD lines.
    ASSERT_EQ(run(kProgram + "-a blake2b --tag -r t > list && rm t/same").exitCode, 0);
    const testing::Outcome third = run(kProgram + "--audit list t --update");
    EXPECT_EQ(third.output, "t/same: missing\n8 unchanged, 0 changed, 0 moved, 0 new, 1 missing\n");
    EXPECT_EQ(run("b2sum --strict -c list && " + kProgram + "--audit list t").exitCode, 0);
}

}  // namespace
}  // namespace tolvek::cli
