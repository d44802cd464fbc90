// StartUpHandler and CloseHandler: the moments sha.lng is written, and the splitting rule for
// raw command lines (the other start-up steps are tests/window/start_steps.cases').
#include <gtest/gtest.h>

#include "app/window/CommandLine.h"
#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

using StartUpTest = MainWindowTest;

// The list gets the saved position after the self-test, but the file keeps it from the first
// save on, so that a program killed at any moment has not forgotten it.
TEST_F(StartUpTest, SavedPositionIsRestoredOnlyAfterTheSelfTest) {
    for (const tolvek::testing::Case& saved : tolvek::testing::ReadCaseFile(
             "window/window_texts.cases", "Saved during the self-test")) {
        SCOPED_TRACE(saved.where);
        exeFolder.write("sha.lng", saved.get("Saved"));
        selectAlgorithm(3);
        std::string fileDuringSelfTest;
        int positionDuringSelfTest = -2;
        duringSelfTest = [&] {
            fileDuringSelfTest = savedFile();
            positionDuringSelfTest = windows.selectedPosition(Control::AlgorithmList);
        };
        startUp();
        EXPECT_EQ(fileDuringSelfTest, saved.get("DuringSelfTest"));
        EXPECT_EQ(positionDuringSelfTest, 3);
        EXPECT_EQ(savedFile(), saved.get("DuringSelfTest"));
    }
    EXPECT_EQ(windows.text(Control::HashFileButton), "Prüfe Datei");
}

// Two windows started from one folder, both closed normally: the second one read the saved
// position, not a start-up rewrite of the first one.
TEST_F(StartUpTest, TwoWindowsFromOneFolderKeepTheSavedPosition) {
    exeFolder.write("sha.lng", "ENGLISH\r\n7\r\n");
    FakeWindowSystem otherWindows;
    otherWindows.exeFolder = windows.exeFolder;
    otherWindows.userConfigFolder = windows.userConfigFolder;
    MainWindow other(otherWindows, {jobs, ui}, [] { return engine::kHashOk; }, entries.table());
    startUp();
    other.StartUpHandler({});
    window.CloseHandler();
    other.CloseHandler();
    EXPECT_EQ(otherWindows.selectedPosition(Control::AlgorithmList), 7);
    EXPECT_EQ(savedFile(), "ENGLISH\r\n7\r\n");
}

TEST(SplitCommandLine, Arguments) {
    for (const tolvek::testing::Case& command :
         tolvek::testing::ReadCaseFile("window/window_texts.cases", "SplitCommandLine")) {
        EXPECT_EQ(SplitCommandLine(command.get("Line")),
                  tolvek::testing::SplitField(command.get("Arguments"), '|'))
            << command.where;
    }
}

// Closing the main window saves the choices, then closes the program's other windows and ends
// it.
TEST_F(StartUpTest, CloseButtonOnlyAsksToCloseAndClosingSavesThenEndsTheProgram) {
    startUp();
    selectAlgorithm(12);
    window.CloseButtonAction();
    EXPECT_EQ(windows.closeRequests, 1);
    EXPECT_EQ(savedFile(), "ENGLISH\r\n3\r\n");
    EXPECT_EQ(windows.programEnds, 0);
    std::string savedAtTheEnd;
    windows.whenProgramEnds = [&] { savedAtTheEnd = savedFile(); };
    window.CloseHandler();
    EXPECT_EQ(windows.programEnds, 1);
    EXPECT_EQ(savedAtTheEnd, "ENGLISH\r\n12\r\n");
}

}  // namespace
}  // namespace tolvek::window::testing
