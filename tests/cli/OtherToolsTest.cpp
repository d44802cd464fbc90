// Lists that other tools write, checked by tolvek-cli, and tolvek-cli's lists checked by them.
#include <gtest/gtest.h>

#include "tests/support/ShellRun.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::cli {
namespace {

bool installed(const std::string& programs) {
    for (const std::string& program : testing::SplitField(programs, ' ')) {
        if (std::system(("command -v '" + program + "' >/dev/null 2>&1").c_str()) != 0) {
            return false;
        }
    }
    return true;
}

// The shell's start for every command of a case: $T and the case's file names.
std::string preamble(const std::string& names) {
    const std::string spaces = "a 'sp ace'";
    const std::string backslash = spaces + " 'back\\slash'";
    return std::string("T='") + TOLVEK_CLI_PROGRAM + "'; set -- " +
           (names == "spaces" ? spaces : names == "all" ? backslash + " 'new\nline'" : backslash) +
           "; ";
}

TEST(OtherTools, ListsEachWayAndBack) {
    for (const testing::Case& trip : testing::ReadCaseFile("cli/other_tools.cases")) {
        SCOPED_TRACE(trip.where);
        if (!installed(trip.get("Needs"))) {
            std::cout << trip.where << ": skipped, " << trip.get("Needs") << " not installed\n";
            continue;
        }
        const testing::TempFolder folder;
        for (const char* name : {"a", "sp ace", "back\\slash", "new\nline"}) {
            folder.write(name, std::string("contents of ") + name);
        }
        const std::string start = preamble(trip.get("Names"));
        const testing::Outcome written = testing::RunIn(folder.path(), start + trip.get("Write"));
        if (written.exitCode != 0) {
            ADD_FAILURE() << written.errors;
            continue;
        }
        const testing::Outcome checked = testing::RunIn(folder.path(), start + trip.get("Check"));
        EXPECT_EQ(checked.exitCode, std::stoi(trip.get("Status", "0")))
            << checked.output << checked.errors;
        if (trip.get("Says").find("FAILED") == std::string::npos) {
            EXPECT_EQ(checked.output.find("FAILED"), std::string::npos) << checked.output;
        }
        EXPECT_NE((checked.output + checked.errors).find(trip.get("Says")), std::string::npos)
            << checked.output << checked.errors;
    }
}

}  // namespace
}  // namespace tolvek::cli
