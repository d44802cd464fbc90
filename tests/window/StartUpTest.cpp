// StartUpHandler and CloseHandler: the saved choices, the self-test, the command-line file and
// the splitting rule for raw command lines, and the moments sha.lng is written.
#include <gtest/gtest.h>

#include "app/window/CommandLine.h"
#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

using StartUpTest = MainWindowTest;

TEST_F(StartUpTest, BuildingFillsBothLists) {
    EXPECT_EQ(windows.lists[Control::AlgorithmList].size(), 30U);
    EXPECT_EQ(windows.lists[Control::AlgorithmList][29], "Entry29");
    EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), 3);
    EXPECT_EQ(windows.lists[Control::LanguageList].size(), 12U);
    EXPECT_EQ(windows.lists[Control::LanguageList][2], "Português-Brasil");
    EXPECT_EQ(windows.selectedPosition(Control::LanguageList), 0);
}

TEST_F(StartUpTest, WithoutSavedFileEnglishAndSha1AreSaved) {
    EXPECT_EQ(startUp(), StartUpOutcome::ShowWindow);
    EXPECT_EQ(windows.selectedPosition(Control::LanguageList), 0);
    EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), 3);
    EXPECT_EQ(windows.text(Control::HashFileButton), "Hash file");
    EXPECT_EQ(savedFile(), "ENGLISH\r\n3\r\n");
    EXPECT_TRUE(windows.messages.empty());
}

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

TEST_F(StartUpTest, FailedSelfTestEndsTheProgramWithItsMessage) {
    exeFolder.write("sha.lng", "ENGLISH\r\n7\r\n");
    selfTestAnswer = engine::kHashTestFailed;
    EXPECT_EQ(startUp({"/data/file"}), StartUpOutcome::EndProgram);
    ASSERT_EQ(windows.messages.size(), 1U);
    EXPECT_EQ(windows.messages[0].text, "Could not verify library, error: Hash test failed");
    EXPECT_EQ(windows.messages[0].caption, "");
    EXPECT_EQ(windows.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), 3);
    EXPECT_TRUE(entries.fileRoute(3).requests().empty());
    EXPECT_TRUE(entries.fileRoute(7).requests().empty());
    EXPECT_EQ(savedFile(), "ENGLISH\r\n7\r\n");
}

TEST_F(StartUpTest, SavedPositionLine) {
    for (const tolvek::testing::Case& saved :
         tolvek::testing::ReadCaseFile("window/window_texts.cases", "Saved position")) {
        exeFolder.write("sha.lng", "ENGLISH\r\n" + saved.get("Line2") + "\r\n");
        selectAlgorithm(3);
        startUp();
        EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), std::stoi(saved.get("Selected")))
            << saved.where;
        window.CloseHandler();  // no selection is saved as -1, as the table selects it again
        EXPECT_EQ(savedFile(), "ENGLISH\r\n" + saved.get("Selected") + "\r\n") << saved.where;
    }
}

TEST_F(StartUpTest, CommandLineFileIsHashedWithTheRestoredEntryAndNotCopied) {
    exeFolder.write("sha.lng", "ENGLISH\r\n7\r\n");
    windows.clipboard = "kept";
    const std::string name = existingFile("file.iso");
    startUp({name, "/ignored"});
    EXPECT_EQ(windows.text(Control::PathField), name);
    EXPECT_EQ(window.LastFileName(), name);
    EXPECT_EQ(entries.fileRoute(7).requests(), std::vector<std::string>{"file.iso"});
    EXPECT_EQ(digestField(), "f11e07");
    EXPECT_EQ(windows.clipboard, "kept");
    EXPECT_EQ(windows.clipboardWrites, 0);
    EXPECT_FALSE(window.HashFromField());
    EXPECT_TRUE(windows.openFileInitialNames.empty());
}

// The window is first shown once start-up is over: at once without a file to hash, else when
// the file's hash has ended or when its progress would appear, whichever comes first.
TEST_F(StartUpTest, TheWindowShowsOnceTheStartUpHashHasEndedOrItsProgressWouldAppear) {
    using namespace std::chrono_literals;
    const struct Case {
        const char* what;
        bool withFile;
        engine::HashResult selfTest;
        std::vector<std::chrono::milliseconds> reports;
        bool halfASecondPasses;
        int showsBeforeTheEnd;
        int shows;
        const char* digestWhenShown;
    } cases[] = {
        {"no file", false, engine::kHashOk, {}, false, 1, 1, ""},
        {"a quick file", true, engine::kHashOk, {100ms, 400ms}, false, 0, 1, "f11e03"},
        {"a slow file", true, engine::kHashOk, {100ms, 600ms, 900ms}, false, 1, 1, ""},
        // A read that hangs reports nothing.
        {"a stalled read", true, engine::kHashOk, {}, true, 1, 1, ""},
        {"failed self-test", true, engine::kHashTestFailed, {}, true, 0, 0, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        FakeWindowSystem fresh;
        fresh.exeFolder = exeFolder.path();
        MainWindow started(fresh, {jobs, ui}, [&] { return test.selfTest; }, entries.table());
        const std::vector<std::string> arguments =
            test.withFile ? std::vector{existingFile("file")} : std::vector<std::string>{};
        started.StartUpHandler(arguments);
        for (const std::chrono::milliseconds elapsed : test.reports) {
            jobs.report({static_cast<std::uint64_t>(elapsed.count()) << 10, 1U << 20, elapsed});
            ui.drain();
        }
        if (test.halfASecondPasses) {
            ui.letTimePass();
            ui.drain();
        }
        EXPECT_EQ(fresh.windowShows, test.showsBeforeTheEnd);
        EXPECT_EQ(fresh.progress.has_value(), !test.reports.empty() && test.showsBeforeTheEnd == 1);
        settle();
        EXPECT_EQ(fresh.windowShows, test.shows);
        EXPECT_EQ(fresh.digestWhenShown, test.digestWhenShown);
        EXPECT_FALSE(fresh.progressWhenShown) << "the window shows, then its progress";
        ui.letTimePass();  // nothing of this window may wait beyond its life
        ui.drain();
        EXPECT_EQ(fresh.windowShows, test.shows);
    }
}

TEST(SplitCommandLine, Arguments) {
    for (const tolvek::testing::Case& command :
         tolvek::testing::ReadCaseFile("window/window_texts.cases", "SplitCommandLine")) {
        EXPECT_EQ(SplitCommandLine(command.get("Line")),
                  tolvek::testing::SplitField(command.get("Arguments"), '|'))
            << command.where;
    }
}

TEST_F(StartUpTest, EmptyFirstArgumentNamesNoFile) {
    startUp({"", "/data/second"});
    EXPECT_EQ(windows.text(Control::PathField), "");
    EXPECT_TRUE(entries.fileRoute(3).requests().empty());
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
