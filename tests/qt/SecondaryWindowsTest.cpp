// The string-input and About windows: their places, looks, modal results, and the targets
// their links hand to the desktop.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QUrlQuery>
#include <stdexcept>

#include "app/qt/AboutWindow.h"
#include "app/qt/StringInputWindow.h"
#include "tests/qt/FrontEndFixture.h"

namespace tolvek::desktop::testing {
namespace {

// Published targets of the About window's links.
const std::string kContactPage = "http://www.tolvek.example/php/contact";
const std::string kNewMail =
    "mailto:translate@tolvek.example?subject=Your program TOLVEK 1.9x &body= Your program "
    "TOLVEK 1.9x";

template <typename Widget = QWidget>
Widget& child(const QWidget& window, const char* name) {
    auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::runtime_error(std::string("no child ") + name);
    }
    return *found;
}

void clickChild(const QWidget& window, const char* name) {
    QTest::mouseClick(&child(window, name), Qt::LeftButton);
}

struct Ending {
    const char* how;
    std::function<void(QDialog&)> end;
    int expectedResult;
};

const std::vector<Ending> kEndings = {
    {"OK button", [](QDialog& window) { clickChild(window, "OkButton"); }, 1},
    {"close box", [](QDialog& window) { window.close(); }, -1},
    {"Escape", [](QDialog& window) { QTest::keyClick(&window, Qt::Key_Escape); }, -1},
};
// Enter in the string window's field stands for OK.
const Ending kEnterInTheField = {
    "Enter", [](QDialog& window) { QTest::keyClick(&child(window, "StringField"), Qt::Key_Return); },
    1};

TEST(StringInputWindowTest, IsPlacedAsDesignedWithAnEmptyField) {
    const StringInputWindow window(nullptr);
    EXPECT_EQ(window.pos(), QPoint(401, 428));
    EXPECT_EQ(window.size(), QSize(379, 81));
    EXPECT_EQ(window.windowTitle().toStdString(), "Insert the String for HASH");
    EXPECT_EQ(child(window, "StringField").geometry(), QRect(16, 16, 353, 22));
    EXPECT_EQ(child(window, "OkButton").geometry(), QRect(152, 48, 64, 22));
    EXPECT_EQ(child<QPushButton>(window, "OkButton").text().toStdString(), "OK");
    EXPECT_EQ(window.text(), "");
    EXPECT_FALSE(window.isVisible());
}

TEST(StringInputWindowTest, EveryEndingGivesItsResultAndKeepsTheText) {
    std::vector<Ending> endings = kEndings;
    endings.push_back(kEnterInTheField);
    for (const Ending& ending : endings) {
        StringInputWindow window(nullptr);
        WhenModalShown([&](QDialog& shown) {
            QTest::keyClicks(&child(shown, "StringField"), "abc");
            ending.end(shown);
        });
        EXPECT_EQ(window.exec(), ending.expectedResult) << ending.how;
        EXPECT_EQ(window.text(), "abc") << ending.how;
    }
}

class StringWindowFromMainWindowTest : public FrontEndTest {};

TEST_F(StringWindowFromMainWindowTest, ClosingTheWindowStillHashesItsTextWithTheLanguagesTitle) {
    startUp();
    chooseLanguage(1);
    std::string title;
    WhenModalShown([&](QDialog& window) {
        title = window.windowTitle().toStdString();
        QTest::keyClicks(&child(window, "StringField"), "abc");
        window.close();
    });
    click(Control::HashStringButton);
    EXPECT_EQ(title, "Geben Sie einen String ein.");
    EXPECT_EQ(entries.stringRoute(3).requests(), std::vector<std::string>{"abc"});
    EXPECT_EQ(fieldText(Control::DigestField), "7e4703");
}

TEST(AboutWindowTest, MembersArePlacedAsDesigned) {
    const AboutWindow window(nullptr, [](window::AboutLink) {});
    EXPECT_EQ(window.pos(), QPoint(431, 286));
    EXPECT_EQ(window.size(), QSize(303, 217));
    EXPECT_EQ(window.windowTitle().toStdString(), "About");
    for (const Place& place : PlacesOf("About")) {
        const QWidget& member = child(window, place.name.c_str());
        EXPECT_EQ(member.geometry(), place.geometry) << place.name;
        if (place.text) {
            const auto* button = qobject_cast<const QPushButton*>(&member);
            const QString text =
                button ? button->text() : qobject_cast<const QLabel*>(&member)->text();
            EXPECT_EQ(text.toStdString(), *place.text) << place.name;
        }
    }
}

TEST(AboutWindowTest, LooksAsDesigned) {
    constexpr int kLinkCellHeight = 17;
    const AboutWindow window(nullptr, [](window::AboutLink) {});
    for (const char* link : {"WebLabel", "MailLabel", "ContactLabel"}) {
        const QWidget& label = child(window, link);
        EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 255)) << link;
        EXPECT_TRUE(label.font().underline()) << link;
        EXPECT_EQ(label.focusPolicy(), Qt::NoFocus) << link;
        // The whole line is visible, in the largest font whose cell is at most 17 pixels high,
        // or a smaller one only where that one would cut the line.
        const QString text = child<QLabel>(window, link).text();
        EXPECT_LE(label.fontMetrics().height(), kLinkCellHeight) << link;
        EXPECT_LE(label.fontMetrics().horizontalAdvance(text), label.width()) << link;
        QFont larger = label.font();
        larger.setPixelSize(larger.pixelSize() + 1);
        EXPECT_TRUE(QFontMetrics(larger).height() > kLinkCellHeight ||
                    QFontMetrics(larger).horizontalAdvance(text) > label.width())
            << link << " at " << label.font().pixelSize() << " pixels";
    }
    EXPECT_EQ(child(window, "CreditLabel").palette().color(QPalette::Window), QColor(0, 128, 128));
    EXPECT_TRUE(child(window, "NameLabel").font().bold());
    EXPECT_EQ(child(window, "NameLabel").palette().color(QPalette::WindowText),
              QColor(240, 251, 255));

    // White, the picture's background, is transparent; the drawing itself is not.
    const QImage picture = child<QLabel>(window, "Picture").pixmap().toImage();
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(picture.pixelColor(16, 16).alpha(), 255);
}

TEST(AboutWindowTest, EveryEndingGivesItsResult) {
    for (const Ending& ending : kEndings) {
        AboutWindow window(nullptr, [](window::AboutLink) {});
        WhenModalShown(ending.end);
        EXPECT_EQ(window.exec(), ending.expectedResult) << ending.how;
    }
}

class AboutFromMainWindowTest : public FrontEndTest {};

TEST_F(AboutFromMainWindowTest, LinksOpenTheirTargetsAndLeaveTheWindowOpen) {
    startUp();
    bool stillShown = false;
    WhenModalShown([&](QDialog& window) {
        clickChild(window, "WebLabel");
        clickChild(window, "ContactLabel");
        clickChild(window, "ContactLabel");
        clickChild(window, "MailLabel");
        stillShown = window.isVisible();
        clickChild(window, "OkButton");
    });
    click(Control::AboutButton);
    EXPECT_TRUE(stillShown);

    std::vector<std::string> opened;
    for (const QUrl& url : openedUrls) {
        opened.push_back(url.toString().toStdString());
    }
    EXPECT_EQ(opened,
              (std::vector<std::string>{kContactPage, kContactPage, kContactPage, kNewMail}));
    ASSERT_EQ(openedUrls.size(), 4u);
    // The mail program receives the subject with its trailing space and the body with its
    // leading one.
    const QUrlQuery query(openedUrls[3]);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject")).toStdString(),
              "Your program TOLVEK 1.9x ");
    EXPECT_EQ(query.queryItemValue(QStringLiteral("body")).toStdString(),
              " Your program TOLVEK 1.9x");
    EXPECT_EQ(openedUrls[3].scheme().toStdString(), "mailto");
    EXPECT_EQ(openedUrls[3].path().toStdString(), "translate@tolvek.example");
}

}  // namespace
}  // namespace tolvek::desktop::testing
