// The main window's layout: places and sizes, creation and Tab order, the fixed client size,
// and the controls that fit their caption as the language changes.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <map>

#include "app/hashing/AsciiText.h"
#include "app/window/Languages.h"
#include "app/window/TextNumbers.h"
#include "app/qt/ProgressRow.h"
#include "tests/qt/FrontEndFixture.h"
#include "tests/support/VectorFile.h"

namespace tolvek::desktop::testing {
namespace {

constexpr int kGerman = 1;
constexpr int kPortuguese = 2;

const std::vector<Control> kFitControls = {Control::HashStringButton, Control::HashFileButton,
                                           Control::CloseButton, Control::CompareLabel};
const std::vector<Control> kFixedWidthButtons = {Control::CopyButton, Control::PasteButton,
                                                 Control::RenewButton, Control::CompareButton,
                                                 Control::AboutButton};

class LayoutTest : public FrontEndTest {
protected:
    std::map<Control, int> widths(const std::vector<Control>& controls) {
        std::map<Control, int> result;
        for (const Control control : controls) {
            result[control] = view().control(control).width();
        }
        return result;
    }

    // A control that fits its caption shows all of it and stays inside the window.
    void expectFitsCaption(Control control) {
        const QWidget& widget = view().control(control);
        const int captionWidth = widget.fontMetrics().horizontalAdvance(view().text(control));
        EXPECT_GE(widget.width(), captionWidth) << view().text(control).toStdString();
        EXPECT_LE(widget.width(), captionWidth + 24) << view().text(control).toStdString();
        EXPECT_GE(widget.height(), widget.fontMetrics().height());
        EXPECT_LE(widget.geometry().right(), kMainWindowSize.width());
    }
};

TEST_F(LayoutTest, ControlsAreCreatedInOrderAtTheirPlaces) {
    startUp();
    std::vector<std::string> created;
    for (const QObject* child : view().children()) {
        if (child->isWidgetType()) {
            created.push_back(child->objectName().toStdString());
        }
    }
    std::vector<std::string> expected;
    for (const Place& place : PlacesOf("Main window")) {
        expected.push_back(place.name);
        const auto* widget = view().findChild<QWidget*>(QString::fromStdString(place.name));
        ASSERT_NE(widget, nullptr) << place.name;
        EXPECT_EQ(widget->pos(), place.geometry.topLeft()) << place.name;
        if (place.geometry.size().isEmpty()) {
            expectFitsCaption(*std::ranges::find_if(
                kFitControls, [&](Control control) { return &view().control(control) == widget; }));
        } else {
            EXPECT_EQ(widget->size(), place.geometry.size()) << place.name;
        }
    }
    // The progress and offer rows, the announcer and the lists' labels for screen readers (never
    // shown) come after the fifteen, so their creation and Tab order stay.
    for (const char* after :
         {"ProgressRow", "OfferRow", "Announcer", "AlgorithmListLabel", "LanguageListLabel"}) {
        expected.emplace_back(after);
    }
    EXPECT_EQ(created, expected);
}

TEST_F(LayoutTest, WindowKeepsItsClientSizeAndHasNoMaximizeBox) {
    startUp();
    view().show();
    view().resize(700, 400);
    EXPECT_EQ(view().size(), kMainWindowSize);
    EXPECT_EQ(view().minimumSize(), kMainWindowSize);
    EXPECT_EQ(view().maximumSize(), kMainWindowSize);
    EXPECT_FALSE(view().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(view().windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(view().windowIcon().isNull());
}

// Placed before it is first shown, when its frame is not known yet: the window's position is
// its frame's corner, which puts the client area in the middle.
TEST_F(LayoutTest, WindowIsCentredBeforeItIsFirstShown) {
    startUp();
    const QRect screen = view().screen()->availableGeometry();
    EXPECT_LE((view().pos() + view().rect().center() - screen.center()).manhattanLength(), 1);
}

TEST_F(LayoutTest, TabFollowsCreationOrderFromAlgorithmListAndWrapsAround) {
    startUp();
    view().show();
    QApplication::setActiveWindow(&view());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view()));
    ExpectTabOrder("main");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), "RenewButton");
}

TEST_F(LayoutTest, ListsAreSelectionOnlyAndDigestFieldIsReadOnly) {
    startUp();
    EXPECT_FALSE(list(Control::AlgorithmList).isEditable());
    EXPECT_FALSE(list(Control::LanguageList).isEditable());
    EXPECT_EQ(list(Control::AlgorithmList).count(), window::testing::FakeEntries::kCount);
    EXPECT_EQ(list(Control::AlgorithmList).itemText(29).toStdString(), "Entry29");
    EXPECT_EQ(list(Control::LanguageList).count(), 12);
    EXPECT_EQ(list(Control::LanguageList).itemText(2).toStdString(), "Português-Brasil");
    EXPECT_TRUE(field(Control::DigestField).isReadOnly());
    EXPECT_FALSE(field(Control::PathField).isReadOnly());
    EXPECT_FALSE(field(Control::CompareField).isReadOnly());
}

TEST_F(LayoutTest, FitControlsGrowWithLongerCaptionsWhileFixedButtonsKeepTheirWidth) {
    startUp();
    const std::map<Control, int> english = widths(kFitControls);
    const std::map<Control, int> fixedWidths = widths(kFixedWidthButtons);

    chooseLanguage(kGerman);
    ASSERT_EQ(button(Control::HashFileButton).text().toStdString(), "Prüfe Datei");
    for (const Control control : kFitControls) {
        EXPECT_GT(view().control(control).width(), english.at(control))
            << view().text(control).toStdString();
        expectFitsCaption(control);
    }
    EXPECT_EQ(widths(kFixedWidthButtons), fixedWidths);

    chooseLanguage(kPortuguese);
    ASSERT_EQ(button(Control::HashFileButton).text().toStdString(), "Arquivo Hash");
    EXPECT_GT(view().control(Control::HashFileButton).width(), english.at(Control::HashFileButton));
    EXPECT_GT(view().control(Control::CloseButton).width(), english.at(Control::CloseButton));
    EXPECT_EQ(widths(kFixedWidthButtons), fixedWidths);

    chooseLanguage(window::kEnglishPosition);
    EXPECT_EQ(widths(kFitControls), english);
}

// The progress row of a file with a long name, in the languages whose figures are longest: the
// figures show whole, the name gives way, and nothing covers anything else.
TEST_F(LayoutTest, ProgressRowElidesTheFileNameButNeverTheFigures) {
    startUp();
    const ProgressRow& row = view().progressRow();
    const auto& subject = *row.findChild<QLabel*>(QStringLiteral("ProgressSubject"));
    const auto& state = *row.findChild<QLabel*>(QStringLiteral("ProgressState"));
    const auto& cancel = *row.findChild<QPushButton*>(QStringLiteral("CancelButton"));
    const auto& bar = *row.findChild<QWidget*>(QStringLiteral("ProgressBar"));
    for (const tolvek::testing::Case& test :
         tolvek::testing::ReadCaseFile("qt/layout.cases", "Progress row")) {
        SCOPED_TRACE(test.where);
        view().showProgress({test.get("Subject"), test.get("State"), 500, "Cancel"});
        const QString whole = QString::fromStdString(test.get("Subject"));
        EXPECT_EQ(state.text(), QString::fromStdString(test.get("State")));
        EXPECT_LE(state.fontMetrics().horizontalAdvance(state.text()), state.width());
        EXPECT_LE(subject.fontMetrics().horizontalAdvance(subject.text()), subject.width());
        EXPECT_EQ(subject.text() == whole, whole.size() < 20) << subject.text().toStdString();
        EXPECT_EQ(subject.text().contains(QChar(0x2026)), whole.size() >= 20);
        EXPECT_TRUE(subject.text().endsWith(QStringLiteral(".iso")));
        EXPECT_EQ(subject.toolTip(), whole);
        for (const QWidget* other : std::initializer_list<const QWidget*>{&subject, &cancel, &bar}) {
            EXPECT_FALSE(state.geometry().intersects(other->geometry()))
                << other->objectName().toStdString();
        }
        EXPECT_FALSE(subject.geometry().intersects(bar.geometry()));
        EXPECT_TRUE(row.rect().contains(state.geometry()));
        EXPECT_GE(subject.x(), 16);
    }
}

// The note on the digest shown, in every language: its text gives way at its end, the whole in
// the tooltip, and the buttons show their whole captions.
TEST_F(LayoutTest, DigestNoteFitsInEveryLanguage) {
    startUp();
    const auto& row = *view().findChild<QWidget*>(QStringLiteral("OfferRow"));
    const auto& text = *row.findChild<QLabel*>(QStringLiteral("OfferText"));
    for (const QPushButton* button : row.findChildren<QPushButton*>()) {
        EXPECT_FALSE(text.geometry().intersects(button->geometry()));
    }
    const std::string longName = "/a/" + std::string(200, 'x') + ".iso";
    for (int language = 0; language < list(Control::LanguageList).count(); ++language) {
        SCOPED_TRACE(language);
        chooseLanguage(language);
        for (const std::string& pathText : {std::string("/no/such/file.iso"), longName}) {
            list(Control::AlgorithmList).setCurrentIndex(3);
            field(Control::PathField).setText(QString::fromStdString(pathText));
            click(Control::RenewButton);
            ASSERT_FALSE(row.isHidden());
            EXPECT_LE(text.fontMetrics().horizontalAdvance(text.text()), text.width());
            EXPECT_TRUE(text.toolTip().contains(
                QString::fromStdString(std::filesystem::path(pathText).filename())));
            EXPECT_EQ(text.text() == text.toolTip(), pathText != longName);
        }
        list(Control::AlgorithmList).setCurrentIndex(5);
        frontEnd->window().AlgorithmChangeHandler();
        const auto& hashAgain = *row.findChild<QPushButton*>(QStringLiteral("OfferAcceptButton"));
        ASSERT_TRUE(hashAgain.isVisible());
        EXPECT_LE(hashAgain.fontMetrics().horizontalAdvance(hashAgain.text()) + 8,
                  hashAgain.width())
            << hashAgain.text().toStdString();
        // The offer of another algorithm's checksum file names it on the button.
        view().showOffer({"SHA512SUMS",
                          hashing::FillPlaceholders(frontEnd->window().LoadText(window::kCheckWithText),
                                                    {"BLAKE2b-512"}),
                          "Dismiss"});
        const auto& dismiss = *row.findChild<QPushButton*>(QStringLiteral("OfferDeclineButton"));
        EXPECT_LE(hashAgain.fontMetrics().horizontalAdvance(hashAgain.text()) + 8,
                  hashAgain.width())
            << hashAgain.text().toStdString();
        EXPECT_FALSE(hashAgain.geometry().intersects(dismiss.geometry()));
    }
}

}  // namespace
}  // namespace tolvek::desktop::testing
