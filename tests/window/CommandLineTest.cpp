// The splitting rule for raw command lines.
#include <gtest/gtest.h>

#include "app/window/CommandLine.h"
#include "tests/support/VectorFile.h"

namespace tolvek::window {
namespace {

TEST(SplitCommandLine, Arguments) {
    for (const testing::Case& command :
         testing::ReadCaseFile("window/window_texts.cases", "SplitCommandLine")) {
        EXPECT_EQ(SplitCommandLine(command.get("Line")),
                  testing::SplitField(command.get("Arguments"), '|'))
            << command.where;
    }
}

}  // namespace
}  // namespace tolvek::window
