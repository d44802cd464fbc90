// The list window's logic through its port: checking a list with a missing and a corrupted
// file, cancelling in the middle, dropped folders and lists looked at on the worker, copying and
// saving in both line styles, and the main window's language.
#include <gtest/gtest.h>

#include "tests/support/FileRights.h"
#include "tests/window/ListWindowFixture.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

const std::string kWrong(64, '0');

TEST_F(ListWindowTest, AListWithAMissingAndACorruptedFileGivesEachVerdictAndTheSummary) {
    folder.write("a.txt", "abc");
    folder.write("b.txt", "abc");
    const std::string list =
        folder.write("SHA256SUMS", kAbc + "  a.txt\n" + kWrong + "  b.txt\n" + kAbc + "  c.txt\n");
    window.CheckList(list);
    gather();
    EXPECT_EQ(port.texts.title, "Check list");
    EXPECT_EQ(port.texts.headings,
              (std::vector<std::string>{"File", "Algorithm", "Digest", "Status"}));
    EXPECT_EQ(port.progress.subject, "0 of 3 files");
    EXPECT_EQ(port.progress.cancelCaption, "Cancel");
    settle();
    // The window may not have the focus: a screen reader hears the end, once.
    EXPECT_EQ(port.announcements,
              std::vector<std::string>{"3 of 3 files \u2013 1 OK, 1 FAILED, 1 missing"});

    EXPECT_EQ(statuses(), (std::vector<std::string>{"OK", "FAILED", "missing"}));
    EXPECT_EQ(port.rows[1].mark, CheckStatus::Failed) << "the status has a mark, not colour alone";
    EXPECT_EQ(port.rows[2].mark, CheckStatus::Missing);
    EXPECT_EQ(port.columns, std::vector<std::string>{"SHA256"});
    EXPECT_EQ(digests()[1], kAbc) << "a failed file shows the digest it has";
    EXPECT_EQ(window.Summary(), "1 OK, 1 FAILED, 1 missing");
    EXPECT_EQ(port.progress.state, "1 OK, 1 FAILED, 1 missing");
    EXPECT_EQ(port.progress.subject, "3 of 3 files");
    EXPECT_EQ(port.progress.permille, 1000);
    EXPECT_EQ(port.progress.cancelCaption, "") << "nothing left to cancel";

    // The FAILED and the missing file are left out unless confirmed (the save table tests it).
    window.CopyRowAction(0, LineStyle::Bsd);
    EXPECT_EQ(port.clipboard, "SHA256 (a.txt) = " + kAbc);
    window.CopyAllAction(LineStyle::Gnu);
    EXPECT_EQ(port.clipboard, kAbc + "  a.txt\n");
    EXPECT_EQ(port.questions, (std::vector<std::string>{
                                  "These files FAILED the check:\nb.txt\nKeep them, with their "
                                  "current content as the reference? No leaves them out."}));
    EXPECT_EQ(port.questionButtons, std::vector<std::string>{"Yes|No"});
}

TEST_F(ListWindowTest, CancelInTheMiddleCancelsTheRest) {
    std::string lines;
    for (const char* name : {"a", "b", "c"}) {
        folder.write(name, "abc");
        lines += kAbc + "  " + name + "\n";
    }
    window.CheckList(folder.write("x.sha256", lines));
    gather();
    checks.run();
    ui.drain();
    EXPECT_EQ(port.progress.subject, "3 of 3 files");
    port.openNames = {folder.write("d", "abc"), folder.write("e", "abc")};
    window.AddFilesAction();
    gather();
    ASSERT_TRUE(checks.pending());
    EXPECT_EQ(port.progress.subject, "3 of 5 files");
    window.CancelAction();
    settle();
    EXPECT_EQ(statuses(), (std::vector<std::string>{"OK", "OK", "OK", "cancelled", "cancelled"}));
    EXPECT_EQ(window.Summary(), "3 OK, 2 cancelled");
    EXPECT_FALSE(window.Running());
    // Each end is announced once: the list's check, then the added files' cancelled one.
    EXPECT_EQ(port.announcements,
              (std::vector<std::string>{"3 of 3 files \u2013 3 OK",
                                        "5 of 5 files \u2013 3 OK, 2 cancelled"}));
}

// A long list's rows come a few thousand a turn, so that the window answers meanwhile; Cancel
// forgets those not added yet.
TEST_F(ListWindowTest, ALongListsRowsComeASliceATurnAndCancelForgetsTheRest) {
    std::string lines;
    for (int file = 0; file < 5000; ++file) {
        lines += kAbc + "  f" + std::to_string(file) + "\n";
    }
    window.CheckList(folder.write("long.sha256", lines));
    tasks.run();
    ui.runFirst();
    EXPECT_EQ(port.rows.size(), 2000U);
    ui.runFirst();  // the list's read has ended
    ui.runFirst();
    EXPECT_EQ(port.rows.size(), 4000U);
    EXPECT_TRUE(window.Running());
    window.CancelAction();
    settle();
    ui.drain();
    EXPECT_EQ(port.rows.size(), 4000U);
    EXPECT_EQ(port.rows.back().file, "f3999");
    EXPECT_FALSE(window.Running());
}

TEST_F(ListWindowTest, DroppedFilesAndFoldersAreHashedAndSavedAtomicallyWithoutOverwritingUnasked) {
    std::filesystem::create_directory(folder.path() / "tree");
    folder.write("tree/b", "abc");
    folder.write("tree/a", "abc");
    const std::string single = folder.write("single", "abc");
    window.DropHandler(folder.file("tree") + "\r" + single);
    settle();
    ASSERT_EQ(port.rows.size(), 3U);
    EXPECT_EQ(port.rows[0].file, folder.file("tree/a")) << "a folder's files in sorted order";
    EXPECT_EQ(digests()[2], kAbc);
    EXPECT_EQ(port.rows[2].status, "") << "a hashed file has nothing to fail against";

    port.saveName = folder.file("out");
    window.SaveListAction();
    EXPECT_EQ(port.suggestedNames.back(), "checksums.sha256");
    const std::string written = saved("out.sha256");
    EXPECT_EQ(written, kAbc + "  tree/a\n" + kAbc + "  tree/b\n" + kAbc + "  single\n")
        << "names relative to the list's folder";

    folder.write("out.sha256", "keep");
    port.confirmAnswer = false;
    window.SaveListAction();
    EXPECT_EQ(port.questions.back(), folder.file("out.sha256") + " already exists. Replace it?");
    EXPECT_EQ(saved("out.sha256"), "keep");
    port.confirmAnswer = true;
    window.SaveListAction();
    EXPECT_EQ(saved("out.sha256"), written);

    // A dropped checksum list is checked, not hashed.
    window.DropHandler(folder.file("out.sha256"));
    settle();
    EXPECT_EQ(statuses().back(), "OK");
    EXPECT_EQ(window.Summary(), "3 OK");
}

TEST_F(ListWindowTest, DropsAndListsAreLookedAtOnTheWorkerAndGiveRowsInTheirOrder) {
    std::filesystem::create_directory(folder.path() / "tree");
    folder.write("tree/b", "abc");
    folder.write("tree/a", "abc");
    folder.write("a.txt", "abc");
    const std::string list = folder.write("SHA256SUMS", kAbc + "  a.txt\n");
    const std::string single = folder.write("single", "abc");
    window.DropHandler(folder.file("tree") + "\r" + list);
    port.openNames = {single};
    window.AddFilesAction();  // waits for the drop
    EXPECT_TRUE(port.rows.empty()) << "the window's thread touched no file";
    EXPECT_TRUE(window.Running());
    EXPECT_EQ(port.progress.cancelCaption, "Cancel") << "a walk can be cancelled";
    EXPECT_FALSE(checks.pending());

    tasks.run();
    EXPECT_TRUE(port.rows.empty()) << "the rows arrive as posted calls";
    ui.drain();
    EXPECT_EQ(column(&ListRowView::file),
              (std::vector<std::string>{folder.file("tree/a"), folder.file("tree/b"), "a.txt"}));
    settle();
    EXPECT_EQ(
        column(&ListRowView::file),
        (std::vector<std::string>{folder.file("tree/a"), folder.file("tree/b"), "a.txt", single}));
    EXPECT_EQ(statuses(), (std::vector<std::string>{"", "", "OK", ""}));
    EXPECT_FALSE(window.Running());

    window.CheckList(folder.file("gone.sha256"));
    settle();
    EXPECT_EQ(port.messages,
              (std::vector<std::string>{folder.file("gone.sha256") + ": Could not open file"}));
    EXPECT_TRUE(port.rows.empty()) << "a new check replaces the set";
}

// A folder that cannot be read stops nothing but itself: the rest of the tree is listed and
// the window says what it skipped. The walk and the reads run on this thread, which reaches
// files as "nobody", so that the locked folder is locked for root too.
TEST_F(ListWindowTest, AFolderThatCannotBeReadIsSkippedAndTheRestListed) {
    namespace fs = std::filesystem;
    for (const char* name : {"tree/locked/deeper", "tree/sub", "tree/zzz"}) {
        fs::create_directories(folder.path() / name);
    }
    for (const char* name : {"tree/a", "tree/locked/x", "tree/locked/deeper/y", "tree/m",
                             "tree/sub/b", "tree/zzz/c", "tree/zzz/d"}) {
        folder.write(name, "abc");
    }
    // Open to everyone, whatever the umask, but for the one locked folder.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder.path())) {
        fs::permissions(entry.path(), entry.is_directory() ? fs::perms{0755} : fs::perms{0644});
    }
    fs::permissions(folder.path(), fs::perms{0755});
    fs::permissions(folder.path() / "tree" / "locked", fs::perms::none);
    {
        const tolvek::testing::FileRightsOfNobody nobody;
        window.DropHandler(folder.file("tree"));
        settle();
    }
    EXPECT_EQ(column(&ListRowView::file),
              (std::vector<std::string>{folder.file("tree/a"), folder.file("tree/m"),
                                        folder.file("tree/sub/b"), folder.file("tree/zzz/c"),
                                        folder.file("tree/zzz/d")}));
    EXPECT_EQ(digests(), std::vector<std::string>(5, kAbc));
    EXPECT_EQ(port.messages,
              (std::vector<std::string>{"These folders could not be read and were skipped:\n" +
                                        folder.file("tree/locked")}));
}

TEST_F(ListWindowTest, CancelStopsAWalkForgetsTheDropsWaitingAndCancelsTheFilesWaiting) {
    std::filesystem::create_directory(folder.path() / "tree");
    folder.write("tree/a", "abc");
    const std::string single = folder.write("single", "abc");
    window.CheckList(folder.write("x.sha256", kAbc + "  single\n" + kAbc + "  ./single\n"));
    gather();
    ASSERT_TRUE(checks.pending());
    port.folderName = folder.file("tree");
    window.AddFolderAction();
    port.openNames = {single};
    window.AddFilesAction();
    window.CancelAction();
    settle();
    EXPECT_EQ(statuses(), (std::vector<std::string>{"cancelled"}))
        << "one row for a file named twice; the additions waiting are forgotten";
    EXPECT_FALSE(window.Running());
    EXPECT_EQ(port.progress.cancelCaption, "");

    window.DropHandler(single);
    settle();
    EXPECT_EQ(digests(), std::vector<std::string>{kAbc}) << "a drop after Cancel counts";
}

// The list window speaks the main window's language.
class ListWindowLanguageTest : public MainWindowTest {};

TEST_F(ListWindowLanguageTest, AnOpenListWindowFollowsALanguageChange) {
    startUp();
    FakeListPort port;
    ListWindow list(port, ui, tasks, checks,
                    [this](int number) { return window.LoadText(number); });
    window.AttachListWindow(list);
    dataFolder.write("a.txt", "abc");
    window.OpenListWindowAction();
    list.CheckList(dataFolder.write("SHA256SUMS", kAbc + "  a.txt\n" + kAbc + "  b.txt\n"));
    settle();
    ASSERT_EQ(port.rows.size(), 2U);
    ASSERT_EQ(port.announcements.size(), 1U);

    selectLanguage(1);  // Deutsch
    window.LanguageChangeHandler();
    EXPECT_EQ(port.announcements.size(), 1U) << "the check ended once";
    EXPECT_EQ(port.texts.rowsName, "Dateien und ihr Status");
    EXPECT_EQ(port.texts.title, "Liste prüfen");
    EXPECT_EQ(port.texts.headings,
              (std::vector<std::string>{"Datei", "Algorithmus", "Hashwert", "Status"}));
    EXPECT_EQ(port.texts.commands.back(), "Liste speichern…");
    EXPECT_EQ(port.rows[1].status, "fehlt");
    EXPECT_EQ(port.rows[1].mark, CheckStatus::Missing);
    EXPECT_EQ(port.rows[0].digests, std::vector<std::string>{kAbc}) << "rows keep their data";
    EXPECT_EQ(port.rows[0].file, "a.txt");
    EXPECT_EQ(port.progress.subject, "2 von 2 Dateien");
    EXPECT_EQ(port.progress.state, "1 OK, 1 fehlt");
    port.saveName = dataFolder.write("out.sha256", "keep");
    list.SaveListAction();
    EXPECT_EQ(port.questionButtons, std::vector<std::string>{"Ja|Nein"}) << "replace it?";
}

}  // namespace
}  // namespace tolvek::window::testing
