// Each control of the main window reaches its action through the real widgets: clicks, keys,
// drops and the close request, checked by the fields' texts, the clipboard and the recorded
// message boxes and dialogs.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QLabel>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "app/qt/StringInputWindow.h"
#include "tests/qt/FrontEndFixture.h"

namespace tolvek::desktop::testing {
namespace {

constexpr int kSha1Position = 3;
constexpr int kGerman = 1;

using Names = std::vector<std::string>;

std::string clipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

// The file URL of a name's bytes, as a file manager builds it, percent-encoding every byte
// that is not plain ASCII.
QUrl fileUrl(const std::string& name) {
    return QUrl::fromEncoded("file://" +
                             QByteArray::fromStdString(name).toPercentEncoding("/"));
}

// Drops `names` as local file URLs on `target`, as a drag from a file manager ends.
void dropFiles(QWidget& target, const Names& names,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QList<QUrl> urls;
    for (const std::string& name : names) {
        urls.push_back(fileUrl(name));
    }
    QMimeData data;
    data.setUrls(urls);
    const QPointF centre = QRectF(target.rect()).center();
    QDragEnterEvent enter(centre.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    ASSERT_TRUE(enter.isAccepted()) << target.objectName().toStdString();
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(&target, &drop);
}

class WiringTest : public FrontEndTest {
protected:
    WiringTest() { startUp(); }

    window::testing::FakeProvider& fileRoute() { return entries.fileRoute(kSha1Position); }
    window::testing::FakeProvider& stringRoute() { return entries.stringRoute(kSha1Position); }
};

TEST_F(WiringTest, CopyPasteAndCompareWorkOnTheFieldsAndTheClipboard) {
    // Renew hashes a text that names no file as a string (a file's name: FileNamesAreBytes).
    field(Control::PathField).setText(QStringLiteral("abc"));
    click(Control::RenewButton);
    click(Control::CopyButton);
    EXPECT_EQ(clipboardText(), "7e4703");

    QGuiApplication::clipboard()->setText(QStringLiteral("  7E4703\r\n"));
    click(Control::PasteButton);
    EXPECT_EQ(fieldText(Control::CompareField), "7E4703");

    click(Control::CompareButton);
    field(Control::CompareField).setText(QStringLiteral("7e47"));
    click(Control::CompareButton);
    field(Control::CompareField).clear();
    click(Control::CompareButton);

    // Which text and caption each outcome gives is CompareActionTest's; here each reached a box.
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(messages[1].icon, QMessageBox::Warning);
    EXPECT_EQ(messages[2].icon, QMessageBox::Warning);
}

// Choosing computes nothing, but once a digest is shown the row below the controls says which
// entry made it (hashing again is DigestNoteTest's; the row's buttons, TheOfferRow test's); the
// file dialog starts at the last name.
TEST_F(WiringTest, ChoosingAnAlgorithmStartsNothingAndTheRowSaysWhichMadeTheDigest) {
    const std::string before = savedFile();
    QTest::keyClick(&list(Control::AlgorithmList), Qt::Key_Down);
    EXPECT_EQ(list(Control::AlgorithmList).currentIndex(), kSha1Position + 1);
    EXPECT_EQ(savedFile(), before);
    EXPECT_EQ(fieldText(Control::DigestField), "");

    const std::string chosen = files.write("x.iso", "iso");
    fileAnswers = {QUrl::fromLocalFile(QString::fromStdString(chosen)), std::nullopt};
    click(Control::HashFileButton);
    EXPECT_EQ(fieldText(Control::DigestField), "f11e04");
    click(Control::HashFileButton);  // cancelled
    EXPECT_EQ(fileDialogInitialNames.back().toStdString(), chosen) << "starts at the last name";
    const auto& row = *view().findChild<QWidget*>(QStringLiteral("OfferRow"));
    EXPECT_TRUE(row.isHidden());
    QTest::keyClick(&list(Control::AlgorithmList), Qt::Key_Down);
    EXPECT_EQ(fieldText(Control::DigestField), "f11e04");
    ASSERT_FALSE(row.isHidden());
    EXPECT_EQ(row.findChild<QLabel*>(QStringLiteral("OfferText"))->text(),
              QStringLiteral("The hash shown was made with Entry4."));
}

// Files dropped on the window or on a field other than PathField are the window's: one is
// hashed and its digest copied, two change nothing. On PathField the names are joined by a
// carriage return and tried as one name.
TEST_F(WiringTest, DroppedFilesReachTheirHandler) {
    const std::string one = files.write("one", "1");
    const std::string two = files.write("two", "2");
    const struct Case {
        const char* target;  // nullptr: the window itself
        Names names;
        Names requests;  // what the file route is given
        std::string path;
        std::string digest;  // also what the clipboard holds
    } cases[] = {
        {nullptr, {one, two}, {}, "", ""},
        {"PathField", {one, two}, {}, one + '\r' + two, "Could not open file"},
        {nullptr, {one}, {"1"}, one, "f11e03"},
        {"CompareField", {two}, {"2"}, two, "f11e03"},
        {"DigestField", {one}, {"1"}, one, "f11e03"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(::testing::Message() << (test.target ? test.target : "window") << ", "
                                          << test.names.size() << " files");
        field(Control::PathField).clear();
        field(Control::DigestField).clear();
        QGuiApplication::clipboard()->setText(QString());
        const std::size_t before = fileRoute().requests().size();
        QWidget* const target =
            test.target ? view().findChild<QWidget*>(QString::fromLatin1(test.target)) : &view();
        ASSERT_NE(target, nullptr);
        dropFiles(*target, test.names);
        waitForHash();
        const Names requests = fileRoute().requests();
        EXPECT_EQ(Names(requests.begin() + static_cast<std::ptrdiff_t>(before), requests.end()),
                  test.requests);
        EXPECT_EQ(fieldText(Control::PathField), test.path);
        EXPECT_EQ(fieldText(Control::DigestField), test.digest);
        EXPECT_EQ(clipboardText(), test.digest);
        EXPECT_EQ(fieldText(Control::CompareField), "");
    }
}

TEST_F(WiringTest, TheOfferRowComparesWhenAcceptedAndGoesWhenDeclined) {
    const std::string digest(40, 'a');
    fileRoute().answer = window::testing::Answer(digest);
    // The entry's digests are as long as `digest`, so lists of its digests hold that length.
    entries.stringRoute(kSha1Position).answer = window::testing::Answer(digest);
    files.write("x.iso.Entry3", digest);
    const QUrl iso = QUrl::fromLocalFile(QString::fromStdString(files.write("x.iso", "iso")));
    auto& offer = *view().findChild<QWidget*>(QStringLiteral("OfferRow"));
    for (const char* answer : {"OfferDeclineButton", "OfferAcceptButton"}) {
        SCOPED_TRACE(answer);
        fileAnswers = {iso};
        click(Control::HashFileButton);
        ASSERT_TRUE(turnUntil([&] { return !offer.isHidden(); }));
        EXPECT_EQ(offer.geometry().top(), kMainWindowSize.height()) << "below the controls";
        EXPECT_EQ(view().height(), offer.geometry().bottom() + 1);
        QTest::mouseClick(offer.findChild<QPushButton*>(QString::fromLatin1(answer)),
                          Qt::LeftButton);
        EXPECT_TRUE(offer.isHidden());
        EXPECT_EQ(view().size(), kMainWindowSize);
    }
    EXPECT_EQ(fieldText(Control::CompareField), digest);
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages.front().text, QStringLiteral("Hash is equal."));
}

TEST_F(WiringTest, TheShortcutOpensTheListWindowBesideWhichChecksADroppedList) {
    // Published SHA-256 of "abc" (FIPS 180-2, appendix B.1).
    const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    files.write("a.txt", "abc");
    const std::string list = files.write("SHA256SUMS", abc + "  a.txt\n" + abc + "  gone.txt\n");
    view().show();
    view().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view()));
    QTest::keySequence(&view(), kOpenListWindowKeys);
    ListWindowView& listView = frontEnd->listView();
    ASSERT_TRUE(listView.isVisible());
    EXPECT_EQ(listView.windowTitle(), QStringLiteral("Check list"));
    const QRect screen = listView.screen()->availableGeometry();
    if (view().frameGeometry().right() + listView.frameGeometry().width() < screen.right()) {
        EXPECT_GE(listView.x(), view().frameGeometry().right()) << "beside the main window";
    }
    EXPECT_TRUE(screen.contains(listView.frameGeometry().topLeft())) << "on the screen";

    dropFiles(listView, {list});
    auto& summary = *listView.findChild<QLabel*>(QStringLiteral("ListSummary"));
    waitForFilesWindow();
    EXPECT_EQ(summary.text(), QStringLiteral("1 OK, 1 missing"));
    const auto& rows = *listView.findChild<QTreeView*>(QStringLiteral("ListRows"));
    ASSERT_EQ(rows.model()->rowCount(), 2);
    EXPECT_EQ(rows.model()->headerData(2, Qt::Horizontal), QStringLiteral("SHA256"))
        << "a column per algorithm";
    EXPECT_EQ(CellOf(rows, 0, 2).toString().toStdString(), abc);
    EXPECT_EQ(CellOf(rows, 1, 1), QStringLiteral("missing"));
    EXPECT_FALSE(CellOf(rows, 1, 1, Qt::DecorationRole).value<QIcon>().isNull())
        << "an icon beside the word";
    QTest::mouseClick(listView.findChild<QPushButton*>(QStringLiteral("ListCommand3")),
                      Qt::LeftButton);
    EXPECT_EQ(clipboardText(), "SHA256 (a.txt) = " + abc + "\n") << "the missing file is left out";

    chooseLanguage(kGerman);
    EXPECT_TRUE(view().windowTitle().endsWith(QStringLiteral("Deutsch")));
    EXPECT_EQ(listView.windowTitle(), QStringLiteral("Liste prüfen"));
    EXPECT_EQ(CellOf(rows, 1, 1), QStringLiteral("fehlt"));
    EXPECT_EQ(summary.text(), QStringLiteral("1 OK, 1 fehlt"));
}

// The close button closes the main window later, from the event loop; the program ends with it,
// although the list window and a message box are open, and the choices are saved.
TEST_F(WiringTest, CloseButtonClosesTheOtherWindowsAndEndsTheProgram) {
    view().show();
    QTest::keyClick(&list(Control::AlgorithmList), Qt::Key_Down);
    frontEnd->window().OpenListWindowAction();
    DesktopServices::System().showMessage(QStringLiteral("Hash is equal."),
                                          QStringLiteral("Information"), QMessageBox::Information,
                                          {});
    bool shownAfterTheClick = false;
    QTimer::singleShot(0, &view(), [this, &shownAfterTheClick] {
        QTest::mouseClick(&button(Control::CloseButton), Qt::LeftButton);
        shownAfterTheClick = view().isVisible();
    });
    QTimer hangGuard;
    hangGuard.setSingleShot(true);
    QObject::connect(&hangGuard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    hangGuard.start(std::chrono::seconds(20));
    EXPECT_EQ(QApplication::exec(), 0) << "the program went on after its main window had closed";
    EXPECT_TRUE(shownAfterTheClick) << "the close request runs from the event loop";
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
    }
    EXPECT_EQ(savedFile(), "ENGLISH\r\n4\r\n");
}

// Ctrl+Shift+V pastes and compares; CompareField's menu entry and a Ctrl-drop on it take the
// expected digest from a second file; a plain drop on it is the window's.
TEST_F(WiringTest, VerifyingInOneStepAndFromASecondFile) {
    view().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view()));
    const std::string name = files.write("one", "1");
    dropFiles(view(), {name});
    waitForHash();
    QGuiApplication::clipboard()->setText(QStringLiteral("F1:1E:03\n"));
    QTest::keyClick(&field(Control::PathField), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(fieldText(Control::PathField), name) << "the shortcut is not the field's paste";

    fileAnswers = {QUrl::fromLocalFile(QString::fromStdString(files.write("copy", "1")))};
    emit field(Control::CompareField).customContextMenuRequested(QPoint(2, 2));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    auto* compare = menu->findChild<QAction*>(QStringLiteral("CompareWithFileAction"));
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(compare->text().toStdString(), "Compare with file…");
    compare->trigger();
    menu->close();
    waitForHash();
    dropFiles(field(Control::CompareField), {files.write("other", "2")}, Qt::ControlModifier);
    waitForHash();
    EXPECT_EQ(fileRoute().requests(), (Names{"1", "1", "2"}));
    ASSERT_EQ(messages.size(), 3u);
    for (const RecordedMessage& message : messages) {
        EXPECT_EQ(message.text.toStdString(), "Hash is equal.");
    }
    EXPECT_EQ(fieldText(Control::PathField), name);
}

// A name that is not UTF-8 reaches the file route as the system's bytes, whichever way it
// came, and PathField shows it readably; once the user edits it, it holds what it shows. After
// every hash DigestField shows where its digest starts, the tooltip all of it.
TEST_F(WiringTest, FileNamesAreBytes) {
    const std::string name = files.write("caf\xE9.txt", "abc");
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"command line", [&] { frontEnd->startUp({name}); }},
        {"dialog", [&] {
             fileAnswers = {fileUrl(name)};
             click(Control::HashFileButton);
         }},
        {"window drop", [&] { dropFiles(view(), {name}); }},
        {"path field drop", [&] { dropFiles(field(Control::PathField), {name}); }},
        {"renew", [&] { click(Control::RenewButton); }},
    };
    for (const auto& [way, hash] : ways) {
        SCOPED_TRACE(way);
        hash();
        waitForHash();
        EXPECT_EQ(fileRoute().requests().back(), "abc");
        EXPECT_TRUE(field(Control::PathField).text().endsWith(QStringLiteral("caf\uFFFD.txt")));
        const QLineEdit& digest = field(Control::DigestField);
        EXPECT_EQ(digest.cursorPosition(), 0) << "where a long digest starts";
        EXPECT_EQ(digest.toolTip(), digest.text());
    }
    field(Control::PathField).setText(QStringLiteral("abc"));
    click(Control::RenewButton);
    EXPECT_EQ(stringRoute().requests(), Names{"abc"});
}

// Every edit field of the program holds the whole of a long paste.
TEST_F(WiringTest, EditFieldsHoldTheWholeText) {
    const QString longText(100000, QLatin1Char('a'));
    // The string window is the main window's child: one search finds every field.
    const StringInputWindow stringWindow(&view());
    const QList<QLineEdit*> fields = view().findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 4);
    for (QLineEdit* edit : fields) {
        SCOPED_TRACE(edit->objectName().toStdString());
        edit->clear();
        edit->insert(longText);
        EXPECT_EQ(edit->text().size(), longText.size());
    }
}

// The compare boxes have no owner and block nothing: the call returns with the box shown and
// the main window enabled.
TEST(MessageBoxTest, BoxLeavesTheOtherWindowsUsable) {
    QWidget mainWindow;
    mainWindow.show();
    bool blockedByABox = false;
    // Closes a box that would block, so that a failing test still ends.
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            blockedByABox = true;
            modal->close();
        }
    });
    DesktopServices::System().showMessage(QStringLiteral("Hash is equal."),
                                          QStringLiteral("Information"), QMessageBox::Information,
                                          {});
    EXPECT_FALSE(blockedByABox);
    QMessageBox* box = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<QMessageBox*>(window); found && found->isVisible()) {
            box = found;
        }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parent(), nullptr);
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
    EXPECT_EQ(box->text().toStdString(), "Hash is equal.");
    EXPECT_EQ(box->windowTitle().toStdString(), "Information");
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    box->close();
}

class StartUpWiringTest : public FrontEndTest {};

TEST_F(StartUpWiringTest, FailedSelfTestShowsItsMessageWithTheProgramsCaptionAndNoIcon) {
    selfTestAnswer = engine::kHashTestFailed;
    EXPECT_EQ(frontEnd->startUp({}), window::StartUpOutcome::EndProgram);
    QApplication::processEvents();
    EXPECT_FALSE(view().isVisible());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text.toStdString(), "Could not verify library, error: Hash test failed");
    EXPECT_EQ(messages[0].caption.toStdString(), "TOLVEK");
    EXPECT_EQ(messages[0].icon, QMessageBox::NoIcon);
}

// What reaches the fields and the clipboard is FileNamesAreBytes' and StartUpTest's.
TEST_F(StartUpWiringTest, FileNamedOnTheCommandLineIsHashedBeforeTheWindowShows) {
    ASSERT_EQ(frontEnd->startUp({files.write("argument file.txt", "abc")}),
              window::StartUpOutcome::ShowWindow);
    EXPECT_FALSE(view().isVisible());
    waitForHash();
    EXPECT_TRUE(view().isVisible());
}

}  // namespace
}  // namespace tolvek::desktop::testing
