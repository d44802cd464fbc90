// The files window's wiring: its keys reach its actions (and say so to screen readers), Tab walks
// it in reading order, and the
// algorithm picker groups, searches and ticks the entries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "app/qt/AlgorithmPicker.h"
#include "app/qt/ListRowsModel.h"
#include "app/window/StringTable.h"
#include "tests/qt/FrontEndFixture.h"

namespace tolvek::desktop::testing {
namespace {

// Published SHA-256 of "abc" (FIPS 180-2, appendix B.1).
const std::string kAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

class FilesWindowTest : public RealEntriesTest {
protected:
    QTreeView& rows() { return *frontEnd->listView().findChild<QTreeView*>("ListRows"); }
    void press(const QKeySequence& keys) {
        QTest::keySequence(&frontEnd->listView(), keys);
        waitForFilesWindow();
    }
    std::vector<std::string> shownNames() {
        std::vector<std::string> names;
        for (int row = 0; row < rows().model()->rowCount(); ++row) {
            names.push_back(CellOf(rows(), row, 0).toString().toStdString());
        }
        return names;
    }
};

TEST_F(FilesWindowTest, KeysReachOpenPasteRemoveCopyAndCheckFolder) {
    const std::string a = files.write("a.txt", "abc");
    const std::string b = files.write("b.txt", "abc");
    frontEnd->listWindow().Open(*hashing::FindAlgorithm("sha256"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frontEnd->listView()));
    auto& hint = *frontEnd->listView().findChild<QLabel*>("ListEmptyHint");
    EXPECT_TRUE(hint.isVisible()) << "the empty window says what it does";
    EXPECT_FALSE(hint.text().isEmpty());

    listOpenNames = {a};
    press(QKeySequence::Open);
    EXPECT_EQ(shownNames(), std::vector<std::string>{a});
    EXPECT_FALSE(hint.isVisible());

    QGuiApplication::clipboard()->setText(QString::fromStdString(a + "\n" + b + "\n"));
    press(QKeySequence::Paste);
    EXPECT_EQ(shownNames(), (std::vector<std::string>{a, b}));

    rows().setCurrentIndex(rows().model()->index(1, 0));
    press(QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), kAbc + "  " + b);
    auto& copyCell = *frontEnd->listView().findChild<QMenu*>("ListCopyCellMenu");
    EXPECT_TRUE(rows().actions().contains(copyCell.menuAction())) << "in the rows' menu";
    ASSERT_EQ(copyCell.actions().size(), 3);  // File, Status, SHA256
    copyCell.actions().at(2)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), kAbc);
    press(QKeySequence::Delete);
    EXPECT_EQ(shownNames(), std::vector<std::string>{a});

    listOpenNames = {files.write("SHA256SUMS", kAbc + "  a.txt\n" + kAbc + "  gone.txt\n")};
    listFolder = files.path().string();
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    ASSERT_EQ(shownNames(), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(CellOf(rows(), 0, 1), QStringLiteral("unchanged"));
    EXPECT_EQ(CellOf(rows(), 1, 1), QStringLiteral("moved from gone.txt"));
    EXPECT_FALSE(CellOf(rows(), 1, 1, Qt::DecorationRole).value<QIcon>().isNull());
    const auto& command = *frontEnd->listView().findChild<QPushButton*>("ListCheckFolderButton");
    EXPECT_EQ(command.accessibleDescription().toStdString(), "Shortcut: Ctrl+Shift+O");
}

TEST_F(FilesWindowTest, TabGoesInReadingOrderAndEnterPressesTheFocusedButton) {
    frontEnd->listWindow().Open(*hashing::FindAlgorithm("sha256"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frontEnd->listView()));
    listOpenNames = {files.write("a.txt", "abc")};
    press(QKeySequence::Open);
    frontEnd->listView().findChild<QWidget*>(QStringLiteral("ListSetCommand0"))->setFocus();
    ExpectTabOrder("files");

    auto& clear = *frontEnd->listView().findChild<QPushButton*>("ListSetCommand5");
    clear.setFocus();
    QTest::keyClick(&clear, Qt::Key_Return);
    EXPECT_EQ(rows().model()->rowCount(), 0) << "Enter on a focused button acts";
}

TEST_F(FilesWindowTest, ItsMessageBoxAnswersInTheWindowsLanguage) {
    chooseLanguage(8);  // Russian
    frontEnd->window().OpenListWindowAction();
    frontEnd->listView().showMessage("a.sha1");
    auto* box = frontEnd->listView().findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->button(QMessageBox::Ok)->text().toStdString(), "ОК");
    box->close();
}

TEST_F(FilesWindowTest, CtrlShiftVPastesTheDigestToVerifyWhichMarksItsCell) {
    const std::string a = files.write("a.txt", "abc");
    frontEnd->listWindow().Open(*hashing::FindAlgorithm("sha256"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frontEnd->listView()));
    listOpenNames = {a};
    press(QKeySequence::Open);
    ASSERT_EQ(shownNames(), std::vector<std::string>{a});

    QGuiApplication::clipboard()->setText(QString::fromStdString("SHA256 (x) = " + kAbc));
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    auto& field = *frontEnd->listView().findChild<QLineEdit*>("ListVerifyField");
    auto& outcome = *frontEnd->listView().findChild<QLabel*>("ListVerifyOutcome");
    EXPECT_TRUE(field.hasFocus());
    EXPECT_EQ(outcome.text().toStdString(), "Matches the expected digest: " + a + " (SHA256)");
    EXPECT_TRUE(outcome.isVisible());
    const auto digest = [this](int role) { return CellOf(rows(), 0, 2, role); };
    EXPECT_EQ(digest(Qt::DisplayRole).toString().toStdString(), kAbc + " — matches");
    EXPECT_FALSE(digest(Qt::DecorationRole).value<QIcon>().isNull());

    field.clear();
    EXPECT_FALSE(outcome.isVisible());
    EXPECT_EQ(digest(Qt::DisplayRole).toString().toStdString(), kAbc);
    EXPECT_TRUE(digest(Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(FilesWindowTest, ThePickerGroupsSearchesAndTicks) {
    window::ListWindowTexts texts;
    texts.setCommands = {"", "", "", "", "", "", "", "Algorithms…"};
    texts.pickerGroups = {"Modern", "Classic", "Checksums"};
    texts.pickerSearch = "Search";
    AlgorithmPicker picker(nullptr, texts, {hashing::FindAlgorithm("sha256")});
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("Algorithms"));
    auto& tree = *picker.findChild<QTreeWidget*>("AlgorithmEntries");
    ASSERT_EQ(tree.topLevelItemCount(), 3);
    const auto find = [&](const QString& caption) {
        return tree.findItems(caption, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    };
    ASSERT_NE(find("MD5"), nullptr);
    EXPECT_EQ(find("MD5")->parent()->text(0), QStringLiteral("Classic"));
    EXPECT_EQ(find("SHA256")->parent()->text(0), QStringLiteral("Modern"));
    EXPECT_EQ(find("CRC32")->parent()->text(0), QStringLiteral("Checksums"));

    QTest::keyClicks(picker.findChild<QLineEdit*>("AlgorithmSearch"), "256");
    EXPECT_TRUE(find("MD5")->isHidden());
    EXPECT_TRUE(tree.topLevelItem(2)->isHidden()) << "a group with nothing to show goes";
    EXPECT_FALSE(find("SHA256")->isHidden());

    find("MD5")->setCheckState(0, Qt::Checked);
    EXPECT_EQ(picker.chosen(),
              (std::vector<const hashing::AlgorithmEntry*>{hashing::FindAlgorithm("md5"),
                                                           hashing::FindAlgorithm("sha256")}))
        << "in table order";
}

// A check of many rows changes each once: the view hears of them together, not row by row, reads
// each at once, and the status icon is made once, not for each row.
TEST(ListRowsModelTest, ChangedRowsAreToldTogetherAndReadAtOnce) {
    int iconsMade = 0;
    const auto markIcon = [&iconsMade](const window::ListRowView&) {
        ++iconsMade;
        return QIcon(QPixmap(4, 4));
    };
    ListRowsModel model(nullptr, markIcon, QIcon());
    model.setHeadings({"File", "Status", "SHA256"});
    const auto row = [](std::size_t index, std::optional<checks::CheckStatus> mark) {
        return window::ListRowView{std::to_string(index), {"00"}, mark ? "OK" : "", mark, {false}};
    };
    for (std::size_t index = 0; index < 1000; ++index) {
        model.setRow(index, row(index, std::nullopt));
    }
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    for (std::size_t index = 10; index < 1000; ++index) {
        model.setRow(index, row(index, checks::CheckStatus::Ok));
        EXPECT_FALSE(model.index(static_cast<int>(index), 1).data(Qt::DecorationRole).isNull());
    }
    EXPECT_EQ(iconsMade, 1);
    EXPECT_EQ(model.index(999, 1).data(), QStringLiteral("OK"));
    EXPECT_EQ(changed.count(), 0) << "not yet";
    ASSERT_TRUE(changed.wait(5000));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>(), model.index(10, 0));
    EXPECT_EQ(changed.at(0).at(1).value<QModelIndex>(), model.index(999, 2));

    model.setRowCount(500);
    EXPECT_EQ(model.rowCount(), 500);
    model.setRow(499, row(499, std::nullopt));
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(changed.at(1).at(0).value<QModelIndex>(), model.index(499, 0));
}

}  // namespace
}  // namespace tolvek::desktop::testing
