// The files window's sets through its port: what each way in makes of the rows (new set, Add,
// duplicates, Clear, Remove, Paste, lists), and what copies, saves and reports keep after a
// check with a FAILED and a missing file, read back by sha256sum -c and sha1sum -c.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "app/hashing/AsciiText.h"
#include "tests/support/ShellRun.h"
#include "tests/window/ListWindowFixture.h"

namespace tolvek::window::testing {
namespace {

namespace fs = std::filesystem;

// Published SHA-1 of "abc" (FIPS 180-2, appendix A.1).
const std::string kAbcSha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";

class ListSetTest : public ListWindowTest {
public:
    ListSetTest() {
        fs::create_directories(folder.path() / "tree");
        fs::create_directories(folder.path() / "data" / "listcheck");
        for (const char* name :
             {"a.txt", "b.txt", "tree/x", "tree/y", "data/listcheck/ok.txt", "data/one.txt"}) {
            folder.write(name, "abc");
        }
        folder.write("data/listcheck/bad.txt", "corrupt");
        folder.write("data/listcheck/SHA256SUMS",
                     kAbc + "  ok.txt\n" + kAbc + "  bad.txt\n" + kAbc + "  gone.txt\n");
        folder.write("data/x.sha1", kAbcSha1 + "  one.txt\n");
    }

    std::string in(const std::string& name) const { return folder.file(name); }
    void drop(const std::vector<std::string>& names) {
        std::string joined;
        for (const std::string& name : names) {
            joined.append(joined.empty() ? "" : "\r").append(in(name));
        }
        window.DropHandler(joined);
    }
    // The rows' names, without the folder of the test for a name shown whole.
    std::vector<std::string> names() const {
        std::vector<std::string> shown = column(&ListRowView::file);
        for (std::string& name : shown) {
            if (name.starts_with(folder.path().string() + "/")) {
                name.erase(0, folder.path().string().size() + 1);
            }
        }
        return shown;
    }
    // The digest the row of `name` shows.
    std::string digestOf(const std::string& name) const {
        const auto row = std::ranges::find(port.rows, name, &ListRowView::file);
        return row == port.rows.end() || row->digests.empty() ? "" : row->digests.front();
    }
    // What sha256sum -c or sha1sum -c says of a list we saved, and its exit status.
    std::string checkedBy(const std::string& tool, const std::string& list) const {
        const fs::path path = in(list);
        const std::string command = tool + " -c '" + path.filename().string() + "' 2>&1";
        const tolvek::testing::Outcome run = tolvek::testing::RunIn(path.parent_path(), command);
        return run.output + std::to_string(run.exitCode) + "\n";
    }
};

TEST_F(ListSetTest, EachWayInMakesTheSetItShould) {
    using Act = std::function<void(ListSetTest&)>;
    const struct {
        const char* what;
        Act act;
        std::vector<std::string> names;
        std::vector<std::string> statuses;
    } cases[] = {
        {"a drop replaces the set, also while the last one is read",
         [](ListSetTest& t) {
             t.drop({"a.txt"});
             t.drop({"b.txt"});
         },
         {"b.txt"},
         {""}},
        {"Open replaces the set once it has been read",
         [](ListSetTest& t) {
             t.drop({"tree"});
             t.settle();
             t.port.openNames = {t.in("a.txt")};
             t.window.OpenAction();
         },
         {"a.txt"},
         {""}},
        {"Add files adds, but never a file twice",
         [](ListSetTest& t) {
             t.drop({"a.txt"});
             t.port.openNames = {t.in("b.txt"), t.in("./a.txt")};
             t.window.AddFilesAction();
         },
         {"a.txt", "b.txt"},
         {"", ""}},
        {"a folder added twice lists its files once",
         [](ListSetTest& t) {
             t.port.folderName = t.in("tree");
             t.window.AddFolderAction();
             t.window.AddFolderAction();
         },
         {"tree/x", "tree/y"},
         {"", ""}},
        {"Clear empties the window",
         [](ListSetTest& t) {
             t.drop({"a.txt"});
             t.settle();
             t.window.ClearAction();
         },
         {},
         {}},
        {"Remove takes the rows chosen",
         [](ListSetTest& t) {
             t.drop({"tree", "a.txt", "b.txt"});
             t.settle();
             t.window.RemoveRowsAction({2, 0});
         },
         {"tree/y", "b.txt"},
         {"", ""}},
        {"Paste names takes a line each, file:// addresses too",
         [](ListSetTest& t) {
             t.port.clipboard =
                 "file://" + t.folder.path().string() + "/a%2Etxt\r\n  " + t.in("b.txt") + " \n\n";
             t.window.PasteNamesAction();
         },
         {"a.txt", "b.txt"},
         {"", ""}},
        {"a list check replaces a hash set",
         [](ListSetTest& t) {
             t.drop({"a.txt"});
             t.window.CheckList(t.in("data/listcheck/SHA256SUMS"));
         },
         {"ok.txt", "bad.txt", "gone.txt"},
         {"OK", "FAILED", "missing"}},
        {"lists and files dropped together, each list with its own algorithm",
         [](ListSetTest& t) {
             t.drop({"data/x.sha1", "data/listcheck/SHA256SUMS", "a.txt"});
         },
         {"one.txt", "ok.txt", "bad.txt", "gone.txt", "a.txt"},
         {"OK", "OK", "FAILED", "missing", ""}},
        {"a file named with a list of another algorithm beside it is checked against it",
         [](ListSetTest& t) {
             // Published MD5 of "abc" (RFC 1321, appendix A.5).
             t.folder.write("data/one.txt.md5", "900150983cd24fb0d6963f7d28e17f72  one.txt\n");
             t.drop({"data/listcheck/bad.txt", "data/one.txt", "a.txt"});
         },
         {"data/listcheck/bad.txt", "data/one.txt", "a.txt"},
         {"FAILED", "OK", ""}},
        {"a folder of downloaded model files checks against its pointers, size first",
         [](ListSetTest& t) {
             t.folder.write("repo/.git/lfs/objects/ba/78/" + kAbc, "abc");
             const std::string pointer =
                 "version https://git-lfs.github.com/spec/v1\noid sha256:" + kAbc + "\nsize ";
             t.folder.write("repo/model.bin", pointer + "3\n");
             t.folder.write("repo/sub/big.bin", pointer + "4\n");
             t.drop({"repo/model.bin", "repo/sub/big.bin"});
         },
         {"model.bin", "big.bin"},
         {"OK", "FAILED"}},
    };
    for (const auto& set : cases) {
        SCOPED_TRACE(set.what);
        window.ClearAction();
        set.act(*this);
        settle();
        EXPECT_EQ(names(), set.names);
        EXPECT_EQ(statuses(), set.statuses);
        EXPECT_EQ(port.hintShown, set.names.empty());
        EXPECT_EQ(window.RowCount(), set.names.size());
        EXPECT_FALSE(window.Running());
    }
    EXPECT_TRUE(port.messages.empty()) << port.messages.front();
}

// After a check, a list keeps what each file is to be, never the corruption the check found.
TEST_F(ListSetTest, SavesAndCopiesKeepTheExpectedDigestsOneListPerAlgorithm) {
    const struct {
        const char* what;
        std::vector<std::string> dropped;
        bool keepFailed;
        std::string saveAs;
        // Each list saved, its contents ({bad} is bad.txt's digest now), and what the tool says.
        std::vector<std::array<std::string, 4>> lists;
        std::string copied;  // Copy all (GNU)
        std::vector<std::string> messages;
    } cases[] = {
        {"FAILED and missing left out; names relative to the list's folder",
         {"data/listcheck/SHA256SUMS"},
         false,
         "data/mixed.sha256",
         {{"data/mixed.sha256", kAbc + "  listcheck/ok.txt\n", "sha256sum",
           "listcheck/ok.txt: OK\n0\n"}},
         kAbc + "  ok.txt\n",
         {}},
        {"a FAILED file kept when confirmed, its content now the reference",
         {"data/listcheck/SHA256SUMS"},
         true,
         "data/listcheck/again",
         {{"data/listcheck/again.sha256", kAbc + "  ok.txt\n{bad}  bad.txt\n", "sha256sum",
           "ok.txt: OK\nbad.txt: OK\n0\n"}},
         kAbc + "  ok.txt\n{bad}  bad.txt\n",
         {}},
        {"two algorithms, two lists; a copy names each line's algorithm",
         {"data/x.sha1", "data/listcheck/SHA256SUMS"},
         false,
         "data/both.txt",
         {{"data/both.sha1", kAbcSha1 + "  one.txt\n", "sha1sum", "one.txt: OK\n0\n"},
          {"data/both.sha256", kAbc + "  listcheck/ok.txt\n", "sha256sum",
           "listcheck/ok.txt: OK\n0\n"}},
         "SHA1 (one.txt) = " + kAbcSha1 + "\nSHA256 (ok.txt) = " + kAbc + "\n",
         {}},
        {"a file outside the list's folder keeps an absolute name, and the user is told",
         {"data/x.sha1"},
         false,
         "tree/out.sha1",
         {{"tree/out.sha1", kAbcSha1 + "  {folder}/data/one.txt\n", "sha1sum",
           "{folder}/data/one.txt: OK\n0\n"}},
         kAbcSha1 + "  one.txt\n",
         {"These files lie outside the list's folder and were saved with absolute names:\n"
          "{folder}/data/one.txt"}},
    };
    for (const auto& save : cases) {
        SCOPED_TRACE(save.what);
        const auto filled = [this](std::string text) {
            for (const auto& [mark, value] :
                 {std::pair<std::string, std::string>{"{bad}", digestOf("bad.txt")},
                  {"{folder}", folder.path().string()}}) {
                for (std::size_t at; (at = text.find(mark)) != std::string::npos;) {
                    text.replace(at, mark.size(), value);
                }
            }
            return text;
        };
        port.messages.clear();
        port.confirmAnswer = save.keepFailed;
        drop(save.dropped);
        settle();
        window.CopyAllAction(LineStyle::Gnu);
        EXPECT_EQ(port.clipboard, filled(save.copied));
        port.saveName = in(save.saveAs);
        window.SaveListAction();
        for (const auto& [list, contents, tool, verdict] : save.lists) {
            EXPECT_EQ(saved(list), filled(contents)) << list;
            EXPECT_EQ(checkedBy(tool, list), filled(verdict)) << list;
        }
        std::vector<std::string> messages;
        for (const std::string& message : save.messages) {
            messages.push_back(filled(message));
        }
        EXPECT_EQ(port.messages, messages);
    }
}

// The verify field finds the digest the user holds among the digests the files have: never an
// expected digest of a list that no file has confirmed (gone.txt), in any column. Only the rows
// whose marks change are drawn again.
TEST_F(ListSetTest, TheVerifyFieldMarksEachDigestEqualToItAndSaysWhichMatched) {
    // Published MD5 of "abc" (RFC 1321, appendix A.5).
    const std::string abcMd5 = "900150983cd24fb0d6963f7d28e17f72";
    port.pickedAlgorithms = {hashing::FindAlgorithm("md5"), hashing::FindAlgorithm("sha256")};
    window.ChooseAlgorithmsAction();
    drop({"data/listcheck/SHA256SUMS", "b.txt"});
    settle();
    ASSERT_EQ(statuses(), (std::vector<std::string>{"OK", "FAILED", "missing", ""}));
    const struct {
        std::string typed;
        std::string outcome;
        std::vector<std::string> marked;  // row/column
        std::size_t drawn;
    } cases[] = {
        {std::string(" ").append(hashing::AsciiUpper(kAbc)).append("\n"),
         "Matches the expected digest: ok.txt (SHA256), b.txt (SHA256)",
         {"ok.txt/SHA256", "b.txt/SHA256"},
         2},
        {"MD5 (b.txt) = " + abcMd5,
         "Matches the expected digest: b.txt (MD5)",
         {"b.txt/MD5"},
         2},
        {std::string(64, 'b'),
         "None of the 3 digests of that length matches the expected digest.",
         {},
         1},
        {"hello", "The text holds no digest of a length the program knows.", {}, 0},
        {"", "", {}, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.typed);
        const std::vector<std::string> heardBefore = port.announcements;
        const std::size_t drawnBefore = port.rowsDrawn;
        window.VerifyChangedHandler(test.typed);
        EXPECT_EQ(port.rowsDrawn - drawnBefore, test.drawn);
        window.VerifyChangedHandler(test.typed);
        std::vector<std::string> heard = heardBefore;
        if (!test.outcome.empty()) {
            heard.push_back(port.verifyOutcome);
        }
        EXPECT_EQ(port.announcements, heard) << "said once, the same words not again";
        std::string outcome = port.verifyOutcome;
        for (std::size_t at;
             (at = outcome.find(folder.path().string() + "/")) != std::string::npos;) {
            outcome.erase(at, folder.path().string().size() + 1);
        }
        EXPECT_EQ(outcome, test.outcome);
        std::vector<std::string> marked;
        for (std::size_t row = 0; row < port.rows.size(); ++row) {
            for (std::size_t column = 0; column < port.rows[row].verified.size(); ++column) {
                if (port.rows[row].verified[column]) {
                    marked.push_back(names()[row] + "/" + port.columns[column]);
                    EXPECT_TRUE(port.rows[row].digests[column].ends_with(" — matches"));
                }
            }
        }
        EXPECT_EQ(marked, test.marked);
    }
    // A check that ends says what the digest matched, after its summary.
    window.VerifyChangedHandler(kAbc);
    drop({"b.txt"});
    settle();
    ASSERT_GE(port.announcements.size(), 2U);
    EXPECT_EQ(port.announcements.end()[-2], "1 of 1 files") << "the summary first";
    EXPECT_EQ(port.announcements.back(), port.verifyOutcome);
    EXPECT_TRUE(port.verifyOutcome.starts_with("Matches the expected digest: "))
        << port.verifyOutcome;
}

// The picker's algorithms hash each file in one read, a column each; a save writes a list each.
TEST_F(ListSetTest, SeveralAlgorithmsGiveAColumnAndAListEachAndThePickerKeepsTheChoice) {
    // Published MD5 of "abc" (RFC 1321, appendix A.5).
    const std::string abcMd5 = "900150983cd24fb0d6963f7d28e17f72";
    const std::vector<const hashing::AlgorithmEntry*> chosen = {hashing::FindAlgorithm("md5"),
                                                                hashing::FindAlgorithm("sha256")};
    window.RememberChoiceIn(in("config/files-algorithms"));
    port.pickedAlgorithms = chosen;
    window.ChooseAlgorithmsAction();
    window.Open(*hashing::FindAlgorithm("sha1"));  // as Ctrl+L does with SHA1 selected
    drop({"a.txt", "b.txt"});
    settle();
    EXPECT_EQ(port.columns, (std::vector<std::string>{"MD5", "SHA256"}));
    EXPECT_EQ(digests("MD5"), std::vector<std::string>(2, abcMd5));
    EXPECT_EQ(digests("SHA256"), std::vector<std::string>(2, kAbc));

    port.saveName = in("sums");
    window.SaveListAction();
    EXPECT_EQ(saved("sums.md5"), abcMd5 + "  a.txt\n" + abcMd5 + "  b.txt\n");
    EXPECT_EQ(checkedBy("md5sum", "sums.md5"), "a.txt: OK\nb.txt: OK\n0\n");
    EXPECT_EQ(checkedBy("sha256sum", "sums.sha256"), "a.txt: OK\nb.txt: OK\n0\n");
    window.CopyRowAction(0, LineStyle::Gnu);
    EXPECT_EQ(port.clipboard,
              "MD5 (" + in("a.txt") + ") = " + abcMd5 + "\nSHA256 (" + in("a.txt") + ") = " + kAbc)
        << "GNU lines name no algorithm: two take the BSD form";
    window.CopyCellAction(1, kFirstDigestColumn);
    EXPECT_EQ(port.clipboard, abcMd5);
    window.CopyColumnAction(kFileColumn);
    EXPECT_EQ(port.clipboard, in("a.txt") + "\n" + in("b.txt") + "\n");

    port.pickedAlgorithms.reset();
    window.ChooseAlgorithmsAction();
    EXPECT_EQ(port.offeredAlgorithms, chosen);

    // The next run starts with the choice; an id this version does not have is passed over.
    std::ofstream(in("config/files-algorithms"), std::ios::app) << "no-such-hash\n";
    FakeListPort nextPort;
    ListWindow next{nextPort, ui, tasks, checks, [](int) { return std::string(); }};
    next.RememberChoiceIn(in("config/files-algorithms"));
    next.Open(*hashing::FindAlgorithm("sha1"));
    next.ChooseAlgorithmsAction();
    EXPECT_EQ(nextPort.offeredAlgorithms, chosen);
}

TEST_F(ListSetTest, AReportKeepsEveryStatusAsTextAndCsv) {
    window.CheckList(in("data/listcheck/SHA256SUMS"));
    settle();
    const std::string bad = digestOf("bad.txt");
    port.saveName = in("report.csv");
    window.ExportReportAction();
    EXPECT_EQ(saved("report.csv"),
              "file,algorithm,expected,digest,status\r\n"
              "ok.txt,SHA256," +
                  kAbc + "," + kAbc +
                  ",OK\r\n"
                  "bad.txt,SHA256," +
                  kAbc + "," + bad +
                  ",FAILED\r\n"
                  "gone.txt,SHA256," +
                  kAbc + ",,missing\r\n");
    port.saveName = in("report.txt");
    window.ExportReportAction();
    EXPECT_EQ(saved("report.txt"), "OK  SHA256  " + kAbc +
                                       "  ok.txt\n"
                                       "FAILED  SHA256  " +
                                       bad +
                                       "  bad.txt\n"
                                       "missing  SHA256  " +
                                       kAbc +
                                       "  gone.txt\n"
                                       "1 OK, 1 FAILED, 1 missing\n");
}

// A folder checked against a list made of it before: each file's class in the command line's
// words, the list's files found nowhere after them, the count of each class; a save blesses a
// changed file only when the user agrees, and keeps the listed digest of an unreadable one.
TEST_F(ListSetTest, AFolderCheckedAgainstItsListShowsEachFilesClass) {
    fs::create_directory(folder.path() / "t");
    for (const char* name : {"same", "changed", "moved", "re named", "gone", "moved and changed"}) {
        folder.write(std::string("t/") + name, std::string("content of ") + name);
    }
    folder.write("target", "abc");
    fs::create_symlink(in("target"), in("t/link"));
    const auto shell = [this](const std::string& command) {
        ASSERT_EQ(tolvek::testing::RunIn(folder.path(), command).exitCode, 0) << command;
    };
    shell("cd t && sha256sum * > ../sums && mv ../sums SHA256SUMS && cp SHA256SUMS SHA256SUMS~");
    shell(
        "cd t && mkdir sub && echo x >> changed && mv moved sub/ && mv 're named' renamed && "
        "rm gone ../target && mv 'moved and changed' sub/mc && echo y >> sub/mc && echo > new");
    window.CheckFolderAgainstList(in("t/SHA256SUMS"), in("t"));
    gather();
    window.CancelAction();
    settle();
    EXPECT_EQ(statuses(), std::vector<std::string>(7, "cancelled")) << "nothing classified";

    window.CheckFolderAgainstList(in("t/SHA256SUMS"), in("t"));
    settle();
    const std::vector<std::pair<std::string, std::string>> classes = {
        {"changed", "changed"},
        {"link", "unreadable"},
        {"new", "new"},
        {"renamed", "moved from re named"},
        {"same", "unchanged"},
        {"sub/mc", "new"},
        {"sub/moved", "moved from moved"},
        {"gone", "missing"},
        {"moved and changed", "missing"},
    };
    std::vector<std::pair<std::string, std::string>> shown;
    for (std::size_t row = 0; row < port.rows.size(); ++row) {
        shown.emplace_back(names()[row], port.rows[row].status);
        EXPECT_TRUE(port.rows[row].auditMark && !port.rows[row].mark);
    }
    EXPECT_EQ(shown, classes);
    EXPECT_EQ(port.progress.state,
              "1 unchanged, 1 changed, 2 moved, 2 new, 2 missing, 1 unreadable");
    EXPECT_TRUE(port.messages.empty());

    const std::string listed = tolvek::testing::FileContents(in("t/SHA256SUMS"));
    const std::string linkDigest = listed.substr(listed.find("  link") - 64, 64);
    for (const bool keepChanged : {false, true}) {
        SCOPED_TRACE(keepChanged);
        port.questions.clear();
        port.confirmAnswer = keepChanged;
        port.saveName = in(keepChanged ? "kept.sha256" : "left.sha256");
        window.SaveListAction();
        EXPECT_EQ(port.questions.size(), 1u);
        std::string expected = keepChanged ? digestOf("changed") + "  t/changed\n" : "";
        expected += linkDigest + "  t/link\n";
        for (const std::string name : {"new", "renamed", "same", "sub/mc", "sub/moved"}) {
            expected += digestOf(name) + "  t/" + name + "\n";
        }
        EXPECT_EQ(tolvek::testing::FileContents(port.saveName.value()), expected);
    }

    folder.write("mixed.list",
                 "MD5 (a.txt) = 900150983cd24fb0d6963f7d28e17f72\n" + kAbc + "  b.txt\n");
    window.CheckFolderAgainstList(in("mixed.list"), in("t"));
    settle();
    EXPECT_EQ(port.messages,
              std::vector<std::string>{in("mixed.list") +
                                       " does not name one algorithm for all its "
                                       "lines, so no folder can be checked against it."});
    EXPECT_TRUE(port.rows.empty());

    // More files than the window adds in one turn: every one of them is the folder's.
    shell("mkdir many && cd many && for i in $(seq 2001); do echo $i > $i; done && "
          "sha256sum * > ../sums && mv ../sums SHA256SUMS && echo x >> 1");
    window.CheckFolderAgainstList(in("many/SHA256SUMS"), in("many"));
    settle();
    EXPECT_EQ(port.progress.state, "2000 unchanged, 1 changed, 0 moved, 0 new, 0 missing");
}

// A list past the size the window reads whole is refused for its size, not as unopenable.
TEST_F(ListSetTest, AListTooLargeToReadIsRefusedForItsSize) {
    const std::string big = folder.writeSparse("big.sha256", (std::int64_t{16} << 20) + 1, '\n');
    window.CheckList(big);
    settle();
    window.DropHandler(big);
    settle();
    const std::string refused = big + " is larger than 16 MiB and is not read as a checksum list.";
    EXPECT_EQ(port.messages, (std::vector<std::string>{refused, refused}));
    EXPECT_TRUE(port.rows.empty());
}

}  // namespace
}  // namespace tolvek::window::testing
