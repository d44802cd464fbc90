// The list window's logic through its port where a step table does not reach: a long list's
// rows a slice a turn, a folder that cannot be read, and the main window's language (the other
// steps are tests/window/list_steps.cases').
#include <gtest/gtest.h>

#include "tests/support/FileRights.h"
#include "tests/window/ListWindowFixture.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

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
