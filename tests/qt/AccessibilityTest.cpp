// What a screen reader finds, read through Qt's accessibility interface with no screen reader
// running: every window is a frame, dialog or alert with a name, and every control shown that
// takes the focus is called by a word (not "?" or "->"), in English and in Russian; what appears
// where the focus is not reaches it as a notification being shown.
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QMetaEnum>
#include <QTest>
#include <functional>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "app/window/Languages.h"
#include "tests/qt/FrontEndFixture.h"

namespace tolvek::desktop::testing {
namespace {

constexpr int kRussian = 8;

// What a screen reader calls a control: the labels that label it, else its name, unless that is
// the entry a drop-down shows (its name on Linux, where its label says what it is).
QString calledBy(QAccessibleInterface& control) {
    QStringList labels;
    for (const auto& [label, relation] : control.relations(QAccessible::Label)) {
        labels.push_back(label->text(QAccessible::Name));
    }
    const QString name = control.text(QAccessible::Name);
    if (!labels.isEmpty()) {
        return labels.join(QLatin1Char(' '));
    }
    const bool onlyItsEntry =
        control.role() == QAccessible::ComboBox && name == control.text(QAccessible::Value);
    return onlyItsEntry ? QString() : name;
}

// The controls below `node` that are shown and take the focus but are called by no word. The
// cells of an item view are its content, not controls.
void collectUnnamed(QAccessibleInterface& node, std::vector<std::string>& unnamed) {
    for (int index = 0; index < node.childCount(); ++index) {
        QAccessibleInterface& child = *node.child(index);
        if (child.state().invisible) {
            continue;
        }
        const QString called = calledBy(child);
        if (child.state().focusable && (called.isEmpty() || !called.front().isLetterOrNumber())) {
            unnamed.push_back(child.object()->objectName().toStdString() + " (" +
                              QMetaEnum::fromType<QAccessible::Role>().valueToKey(child.role()) +
                              ") called \"" + called.toStdString() + "\"");
        }
        if (child.tableInterface() == nullptr) {
            collectUnnamed(child, unnamed);
        }
    }
}

void expectEveryControlNamed(QWidget& window, const std::string& what) {
    SCOPED_TRACE(what);
    QAccessibleInterface& root = *QAccessible::queryAccessibleInterface(&window);
    EXPECT_TRUE(root.role() == QAccessible::Window || root.role() == QAccessible::Dialog ||
                root.role() == QAccessible::AlertMessage)
        << "role " << root.role();
    EXPECT_FALSE(root.text(QAccessible::Name).isEmpty());
    std::vector<std::string> unnamed;
    collectUnnamed(root, unnamed);
    EXPECT_EQ(unnamed, std::vector<std::string>{});
}

// The message box shown without a modal run, walked and closed.
void walkMessageBox(const std::string& what) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
            expectEveryControlNamed(*box, what);
            box->done(QMessageBox::Ok);
            return;
        }
    }
    ADD_FAILURE() << "no message box for " << what;
}

// Walks a modal window once its run has started, and closes it.
void walkWhenModalShown(const std::string& what) {
    WhenModalShown([what](QDialog& window) {
        expectEveryControlNamed(window, what);
        window.reject();
    });
}

using AccessibilityTest = RealEntriesTest;

TEST_F(AccessibilityTest, EveryWindowNamesEveryControlInTwoLanguages) {
    startUp();
    ListWindowView& listView = frontEnd->listView();
    for (const int language : {window::kEnglishPosition, kRussian}) {
        chooseLanguage(language);
        const std::string in = language == kRussian ? " in Russian" : " in English";
        expectEveryControlNamed(view(), "the main window" + in);
        view().showOffer({"The hash shown was made with SHA1.", "Hash again", "Dismiss"});
        expectEveryControlNamed(view(), "the offer row" + in);
        view().showProgress({"SHA1: a.iso", "1.0 MiB of 4.0 MiB", 250, "Cancel"});
        expectEveryControlNamed(view(), "the progress row" + in);
        view().hideProgress();
        walkWhenModalShown("the string-input window" + in);
        click(Control::HashStringButton);
        walkWhenModalShown("the About window" + in);
        click(Control::AboutButton);
        DesktopServices::System().showMessage("Hash is equal.", "Information",
                                              QMessageBox::Information, {});
        walkMessageBox("the compare message" + in);

        frontEnd->window().OpenListWindowAction();
        expectEveryControlNamed(listView, "the empty list window" + in);
        listView.setRow(0, {"a.iso", {""}, "", {}, {}});
        listView.showProgress({"0 of 1 files", "", 0, "Cancel"});
        listView.showVerifyOutcome("Matches the expected digest: a.iso (SHA1)");
        expectEveryControlNamed(listView, "the list window checking" + in);
        listView.showMessage("Could not save a.sha1");
        walkMessageBox("the list window's message" + in);
        walkWhenModalShown("the list window's question" + in);
        ListWindowServices::System().confirm(&listView, "a.sha1 already exists. Replace it?",
                                             {"Да", "Нет", {}, {}});
        listView.close();
    }
}

// What the notifications shown said, as a screen reader is sent it.
std::vector<std::string> g_notified;

class AnnouncementTest : public RealEntriesTest {
protected:
    // Qt sends accessibility events only while a screen reader listens, which switches the
    // platform's accessibility on; offscreen, nothing does but this.
    AnnouncementTest()
        : m_platform(*QGuiApplicationPrivate::platformIntegration()->accessibility()) {
        m_previous = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            QAccessibleInterface* source = event->accessibleInterface();
            if (event->type() == QAccessible::ObjectShow && source != nullptr &&
                source->role() == QAccessible::Notification) {
                g_notified.push_back(source->text(QAccessible::Name).toStdString());
            }
        });
        m_platform.setActive(true);
        startUp();
    }
    ~AnnouncementTest() override {
        m_platform.setActive(false);
        QAccessible::installUpdateHandler(m_previous);
    }

private:
    QPlatformAccessibility& m_platform;
    QAccessible::UpdateHandler m_previous;
};

TEST_F(AnnouncementTest, TheRowAppearingAndTheCheckEndingAreShownNotifications) {
    // Published SHA-256 of "abc" (FIPS 180-2, appendix B.1).
    const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    const std::string sums = files.write("SHA256SUMS", abc + "  a.txt\n");
    files.write("a.txt", "abc");
    const struct Case {
        const char* what;
        std::function<void()> act;
        std::string said;
    } cases[] = {
        {"the row appears",
         [&] {
             field(Control::PathField).setText(QStringLiteral("abc"));
             click(Control::RenewButton);
             QTest::keyClick(&list(Control::AlgorithmList), Qt::Key_Down);
         },
         "The hash shown was made with SHA1."},
        {"the check ends",
         [&] {
             frontEnd->window().OpenListWindowAction();
             frontEnd->listWindow().CheckList(sums);
             waitForFilesWindow();
         },
         "1 of 1 files \u2013 1 OK"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        g_notified.clear();
        test.act();
        EXPECT_EQ(g_notified, std::vector<std::string>{test.said});
    }
}

}  // namespace
}  // namespace tolvek::desktop::testing
