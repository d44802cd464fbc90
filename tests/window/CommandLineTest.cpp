// The splitting rule for raw command lines.
#include <gtest/gtest.h>

#include "app/window/CommandLine.h"

namespace tolvek::window {
namespace {

TEST(SplitCommandLine, Arguments) {
    struct Case {
        std::string line;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"tolvek /data/file", {"tolvek", "/data/file"}},
        {"  tolvek\t a \r\n b  ", {"tolvek", "a", "b"}},
        {"tolvek\x01"
         "a\x1f"
         "b",
         {"tolvek", "a", "b"}},
        {R"(tolvek "/data/my file.txt")", {"tolvek", "/data/my file.txt"}},
        {R"("C:\Program Files\tolvek.exe" x)", {R"(C:\Program Files\tolvek.exe)", "x"}},
        // Empty quote pairs separate arguments.
        {R"(tolvek "" file)", {"tolvek", "file"}},
        {R"(tolvek """"file)", {"tolvek", "file"}},
        {R"(tolvek """x")", {"tolvek", "x"}},
        // Quotes inside an argument stay; only one enclosing pair goes.
        {R"(tolvek a"b c"d)", {"tolvek", R"(a"b c"d)"}},
        {R"(tolvek "a"b")", {"tolvek", R"(a"b)"}},
        {R"(tolvek ""a" b")", {"tolvek", R"(a" b")"}},
        {R"(tolvek x"")", {"tolvek", R"(x"")"}},
        {R"(tolvek ")", {"tolvek", R"(")"}},
        {R"(tolvek "open to the end)", {"tolvek", R"("open to the end)"}},
        {"tolvek \xE9t\xE9 \xC3\xA9", {"tolvek", "\xE9t\xE9", "\xC3\xA9"}},
        {std::string("tolvek a\0b", 10), {"tolvek", "a"}},
        {"", {}},
        {" \t ", {}},
        {R"("")", {}},
    };
    for (const Case& command : cases) {
        EXPECT_EQ(SplitCommandLine(command.line), command.arguments) << command.line;
    }
}

}  // namespace
}  // namespace tolvek::window
