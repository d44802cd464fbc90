// The files window's sets through its port (tests/window/list_sets.cases): what each way in
// makes of the rows, and what copies, saves and reports keep after a check with a FAILED and a
// missing file, read back by sha256sum -c and sha1sum -c.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "tests/support/ShellRun.h"
#include "tests/support/VectorFile.h"
#include "tests/window/ListWindowFixture.h"
#include "tests/window/Scenarios.h"

namespace tolvek::window::testing {
namespace {

namespace fs = std::filesystem;

// Published SHA-1 of "abc" (FIPS 180-2, appendix A.1).
const std::string kAbcSha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";
// Published MD5 of "abc" (RFC 1321, appendix A.5).
const std::string kAbcMd5 = "900150983cd24fb0d6963f7d28e17f72";

constexpr const char* kCases = "window/list_sets.cases";

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
    // Names joined by spaces, each in the folder.
    std::vector<std::string> inAll(const std::string& names) const {
        std::vector<std::string> full = tolvek::testing::SplitField(names, ' ');
        std::ranges::for_each(full, [this](std::string& name) { name = in(name); });
        return full;
    }
    // The user's steps of list_sets.cases, then the window's work run to its end.
    void perform(const std::string& acts) {
        for (const std::string& act : tolvek::testing::SplitField(acts, '|')) {
            step(act);
        }
        settle();
    }
    void step(const std::string& act);
    // What the window shows of a field of list_steps.cases.
    std::string observe(const std::string& field);
    // `text` with {folder} and {bad} (bad.txt's digest now) filled in.
    std::string filled(const std::string& text) const {
        return tolvek::testing::Replaced(
            tolvek::testing::Replaced(text, "{folder}", folder.path().string()), "{bad}",
            digestOf("bad.txt"));
    }
    std::vector<std::string> split(const std::string& field) const {
        return tolvek::testing::SplitField(filled(field), '|');
    }
    // The rows' names, without the folder of the test for a name shown whole.
    std::vector<std::string> names() const {
        std::vector<std::string> shown = column(&ListRowView::file);
        for (std::string& name : shown) {
            name = tolvek::testing::Replaced(name, folder.path().string() + "/", "");
        }
        return shown;
    }
    // Each row as "name=status", or its name alone while it has no status.
    std::vector<std::string> rows() const {
        std::vector<std::string> shown = names();
        for (std::size_t row = 0; row < shown.size(); ++row) {
            shown[row] += port.rows[row].status.empty() ? "" : "=" + port.rows[row].status;
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

void ListSetTest::step(const std::string& act) {
    const std::string verb = act.substr(0, act.find(' '));
    const std::string rest = act.size() > verb.size() ? act.substr(verb.size() + 1) : "";
    const std::vector<std::string> words = tolvek::testing::SplitField(rest, ' ');
    if (verb == "drop") {
        std::string joined;
        for (const std::string& name : inAll(rest)) {
            joined.append(joined.empty() ? "" : "\r").append(name);
        }
        window.DropHandler(joined);
    } else if (verb == "open" || verb == "add") {
        port.openNames = inAll(rest);
        verb == "open" ? window.OpenAction() : window.AddFilesAction();
    } else if (verb == "addFolder") {
        port.folderName = in(rest);
        window.AddFolderAction();
    } else if (verb == "paste") {
        port.clipboard = filled(rest);
        window.PasteNamesAction();
    } else if (verb == "check") {
        window.CheckList(in(rest));
    } else if (verb == "remove") {
        std::vector<std::size_t> chosen;
        std::ranges::transform(words, std::back_inserter(chosen),
                               [](const std::string& row) { return std::stoul(row); });
        window.RemoveRowsAction(chosen);
    } else if (verb == "write") {
        folder.write(words.at(0), rest.substr(std::min(rest.size(), words.at(0).size() + 1)));
    } else if (verb == "save") {
        port.saveName = in(rest);
        window.SaveListAction();
    } else if (verb == "confirm") {
        port.confirmAnswer = rest == "yes";
    } else if (verb == "copyRow" || verb == "copyAll") {
        const LineStyle style = words.back() == "bsd" ? LineStyle::Bsd : LineStyle::Gnu;
        verb == "copyAll" ? window.CopyAllAction(style)
                          : window.CopyRowAction(std::stoul(words.at(0)), style);
    } else {
        const std::map<std::string, std::function<void()>> plain = {
            {"clear", [this] { window.ClearAction(); }},
            {"cancel", [this] { window.CancelAction(); }},
            {"settle", [this] { settle(); }},
            {"gather", [this] { gather(); }},
            {"runTasks", [this] { tasks.run(); }},
            {"runChecks", [this] { checks.run(); }},
            {"drain", [this] { ui.drain(); }},
        };
        ASSERT_TRUE(plain.contains(act)) << "no such step: " << act;
        plain.at(act)();
    }
}

std::string ListSetTest::observe(const std::string& field) {
    if (field.starts_with("File ")) {
        return saved(field.substr(5));
    }
    static const char* const kMarks[] = {"Ok", "Failed", "Missing", "Unreadable", "Cancelled"};
    std::vector<std::string> marks;
    for (const ListRowView& row : port.rows) {
        marks.emplace_back(row.mark ? kMarks[static_cast<int>(*row.mark)] : "");
    }
    const ProgressDisplay& progress = port.progress;
    const auto yes = [](bool value) { return std::string(value ? "yes" : "no"); };
    const std::map<std::string, std::function<std::string()>> fields = {
        {"Title", [&] { return port.texts.title; }},
        {"Headings", [&] { return Joined(port.texts.headings); }},
        {"Subject", [&] { return progress.subject; }},
        {"State", [&] { return progress.state; }},
        {"Permille", [&] { return std::to_string(progress.permille.value_or(-1)); }},
        {"Cancel", [&] { return progress.cancelCaption; }},
        {"Heard", [&] { return Joined(std::exchange(port.announcements, {})); }},
        {"Rows", [&] { return Joined(rows()); }},
        {"RowCount", [&] { return std::to_string(port.rows.size()); }},
        {"Marks", [&] { return Joined(marks); }},
        {"Columns", [&] { return Joined(port.columns); }},
        {"Digests", [&] { return Joined(digests()); }},
        {"Summary", [&] { return window.Summary(); }},
        {"Running", [&] { return yes(window.Running()); }},
        {"Checking", [&] { return yes(checks.pending()); }},
        {"Clipboard", [&] { return port.clipboard; }},
        {"Questions", [&] { return Joined(std::exchange(port.questions, {})); }},
        {"Buttons", [&] { return Joined(std::exchange(port.questionButtons, {})); }},
        {"Messages", [&] { return Joined(std::exchange(port.messages, {})); }},
        {"Suggested", [&] { return Joined(port.suggestedNames); }},
    };
    if (!fields.contains(field)) {
        ADD_FAILURE() << "no such field: " << field;
        return {};
    }
    return tolvek::testing::Replaced(fields.at(field)(), folder.path().string(), "{folder}");
}

TEST_F(ListSetTest, EachWayInMakesTheSetItShould) {
    for (const tolvek::testing::Case& set : tolvek::testing::ReadCaseFile(kCases, "Ways in")) {
        SCOPED_TRACE(set.get("What"));
        window.ClearAction();
        perform(set.get("Acts"));
        const std::vector<std::string> expected = split(set.get("Rows"));
        EXPECT_EQ(rows(), expected);
        EXPECT_EQ(port.hintShown, expected.empty());
        EXPECT_EQ(window.RowCount(), expected.size());
        EXPECT_FALSE(window.Running());
    }
    EXPECT_TRUE(port.messages.empty()) << port.messages.front();
}

TEST_F(ListSetTest, SavesAndCopiesKeepTheExpectedDigestsOneListPerAlgorithm) {
    for (const tolvek::testing::Case& save : tolvek::testing::ReadCaseFile(kCases, "Saves")) {
        SCOPED_TRACE(save.get("What"));
        port.messages.clear();
        port.confirmAnswer = save.get("Keep") == "yes";
        perform(save.get("Acts"));
        window.CopyAllAction(LineStyle::Gnu);
        EXPECT_EQ(port.clipboard, filled(save.get("Copied")));
        port.saveName = in(save.get("SaveAs"));
        window.SaveListAction();
        const std::vector<std::string> lists = split(save.get("List"));
        for (std::size_t list = 0; list < lists.size(); ++list) {
            EXPECT_EQ(saved(lists[list]), split(save.get("Contents"))[list]) << lists[list];
            EXPECT_EQ(checkedBy(split(save.get("Tool"))[list], lists[list]),
                      split(save.get("Verdict"))[list])
                << lists[list];
        }
        EXPECT_EQ(port.messages, split(save.get("Messages")));
    }
}

// The verify field finds the digest the user holds among the digests the files have, in any
// column; only the rows whose marks change are drawn again, and an outcome is said once.
TEST_F(ListSetTest, TheVerifyFieldMarksEachDigestEqualToItAndSaysWhichMatched) {
    port.pickedAlgorithms = {hashing::FindAlgorithm("md5"), hashing::FindAlgorithm("sha256")};
    window.ChooseAlgorithmsAction();
    perform("drop data/listcheck/SHA256SUMS b.txt");
    ASSERT_EQ(statuses(), (std::vector<std::string>{"OK", "FAILED", "missing", ""}));
    for (const tolvek::testing::Case& test : tolvek::testing::ReadCaseFile(kCases, "Verify")) {
        SCOPED_TRACE(test.where);
        std::vector<std::string> heard = port.announcements;
        const std::size_t drawnBefore = port.rowsDrawn;
        window.VerifyChangedHandler(test.get("Typed"));
        EXPECT_EQ(port.rowsDrawn - drawnBefore, std::stoul(test.get("Drawn")));
        window.VerifyChangedHandler(test.get("Typed"));
        if (!test.get("Outcome").empty()) {
            heard.push_back(port.verifyOutcome);
        }
        EXPECT_EQ(port.announcements, heard) << "said once, the same words not again";
        EXPECT_EQ(tolvek::testing::Replaced(port.verifyOutcome, folder.path().string() + "/", ""),
                  test.get("Outcome"));
        std::vector<std::string> marked;
        for (std::size_t row = 0; row < port.rows.size(); ++row) {
            for (std::size_t column = 0; column < port.rows[row].verified.size(); ++column) {
                if (port.rows[row].verified[column]) {
                    marked.push_back(names()[row] + "/" + port.columns[column]);
                    EXPECT_TRUE(port.rows[row].digests[column].ends_with(" — matches"));
                }
            }
        }
        EXPECT_EQ(marked, split(test.get("Marked")));
    }
    // A check that ends says what the digest matched, after its summary.
    window.VerifyChangedHandler(kAbc);
    perform("drop b.txt");
    ASSERT_GE(port.announcements.size(), 2U);
    EXPECT_EQ(port.announcements.end()[-2], "1 of 1 files") << "the summary first";
    EXPECT_EQ(port.announcements.back(), port.verifyOutcome);
    EXPECT_TRUE(port.verifyOutcome.starts_with("Matches the expected digest: "))
        << port.verifyOutcome;
}

// The picker's algorithms hash each file in one read, a column each; a save writes a list each.
TEST_F(ListSetTest, SeveralAlgorithmsGiveAColumnAndAListEachAndThePickerKeepsTheChoice) {
    const std::vector<const hashing::AlgorithmEntry*> chosen = {hashing::FindAlgorithm("md5"),
                                                                hashing::FindAlgorithm("sha256")};
    window.RememberChoiceIn(in("config/files-algorithms"));
    port.pickedAlgorithms = chosen;
    window.ChooseAlgorithmsAction();
    window.Open(*hashing::FindAlgorithm("sha1"));  // as Ctrl+L does with SHA1 selected
    perform("drop a.txt b.txt");
    EXPECT_EQ(port.columns, (std::vector<std::string>{"MD5", "SHA256"}));
    EXPECT_EQ(digests("MD5"), std::vector<std::string>(2, kAbcMd5));
    EXPECT_EQ(digests("SHA256"), std::vector<std::string>(2, kAbc));

    port.saveName = in("sums");
    window.SaveListAction();
    EXPECT_EQ(saved("sums.md5"), kAbcMd5 + "  a.txt\n" + kAbcMd5 + "  b.txt\n");
    EXPECT_EQ(checkedBy("md5sum", "sums.md5"), "a.txt: OK\nb.txt: OK\n0\n");
    EXPECT_EQ(checkedBy("sha256sum", "sums.sha256"), "a.txt: OK\nb.txt: OK\n0\n");
    window.CopyRowAction(0, LineStyle::Gnu);
    EXPECT_EQ(port.clipboard,
              "MD5 (" + in("a.txt") + ") = " + kAbcMd5 + "\nSHA256 (" + in("a.txt") + ") = " + kAbc)
        << "GNU lines name no algorithm: two take the BSD form";
    window.CopyCellAction(1, kFirstDigestColumn);
    EXPECT_EQ(port.clipboard, kAbcMd5);
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
    perform("check data/listcheck/SHA256SUMS");
    const tolvek::testing::Case report = tolvek::testing::ReadCaseFile(kCases, "Report").at(0);
    for (const auto& [name, form] : {std::pair{"report.csv", "Csv"}, {"report.txt", "Text"}}) {
        port.saveName = in(name);
        window.ExportReportAction();
        EXPECT_EQ(saved(name), filled(report.get(form)));
    }
}

// The list window's steps through its port (tests/window/list_steps.cases).
class ListScenarioTest : public ListSetTest, public ::testing::WithParamInterface<Scenario> {};

TEST_P(ListScenarioTest, EachStepShowsWhatItShould) {
    RunScenario(GetParam(), *this);
}

INSTANTIATE_TEST_SUITE_P(ListWindow, ListScenarioTest,
                         ::testing::ValuesIn(ScenariosOf("list_steps.cases")), ScenarioName);

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
    for (const ListRowView& row : port.rows) {
        EXPECT_TRUE(row.auditMark && !row.mark);
    }
    EXPECT_EQ(rows(), split(tolvek::testing::ReadCaseFile(kCases, "Audit").at(0).get("Rows")));
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

    folder.write("mixed.list", "MD5 (a.txt) = " + kAbcMd5 + "\n" + kAbc + "  b.txt\n");
    window.CheckFolderAgainstList(in("mixed.list"), in("t"));
    settle();
    EXPECT_EQ(port.messages,
              std::vector<std::string>{in("mixed.list") +
                                       " does not name one algorithm for all its "
                                       "lines, so no folder can be checked against it."});
    EXPECT_TRUE(port.rows.empty());

    // More files than the window adds in one turn: every one of them is the folder's.
    shell(
        "mkdir many && cd many && for i in $(seq 2001); do echo $i > $i; done && "
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
