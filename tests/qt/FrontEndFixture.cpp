#include "tests/qt/FrontEndFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>

#include "tests/support/VectorFile.h"

namespace tolvek::desktop::testing {

std::vector<Place> PlacesOf(const std::string& window) {
    std::vector<Place> places;
    for (const tolvek::testing::Case& place :
         tolvek::testing::ReadCaseFile("qt/layout.cases", window)) {
        const std::vector<std::string> numbers =
            tolvek::testing::SplitField(place.get("Place"), ' ');
        places.push_back({place.get("Name"),
                          QRect(std::stoi(numbers.at(0)), std::stoi(numbers.at(1)),
                                std::stoi(numbers.at(2)), std::stoi(numbers.at(3))),
                          place.has("Text") ? std::optional(place.get("Text")) : std::nullopt});
    }
    return places;
}

void ExpectTabOrder(const std::string& window) {
    for (const tolvek::testing::Case& order :
         tolvek::testing::ReadCaseFile("qt/layout.cases", "Tab order")) {
        if (order.get("Window") != window) {
            continue;
        }
        const std::vector<std::string> expected =
            tolvek::testing::SplitField(order.get("Next"), '|');
        ASSERT_EQ(QApplication::focusWidget()->objectName().toStdString(), order.get("Start"));
        std::vector<std::string> walked;
        while (walked.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked.push_back(QApplication::focusWidget()->objectName().toStdString());
        }
        EXPECT_EQ(walked, expected);
    }
}

void WhenModalShown(std::function<void(QDialog& window)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            ADD_FAILURE() << "no modal window is shown";
            return;
        }
        act(*window);
    });
}

FrontEndTest::FrontEndTest() : frontEnd(makeFrontEnd(entries.table())) {
    QGuiApplication::clipboard()->clear();
}

std::unique_ptr<DesktopFrontEnd> FrontEndTest::makeFrontEnd(
    std::span<const window::AlgorithmEntry> table) {
    DesktopServices services{
        [this](const QString& text, const QString& caption, QMessageBox::Icon icon,
               const window::BoxButtons&) {
            messages.push_back({text, caption, icon});
        },
        [this](const QString& text, const QString& caption, QMessageBox::Icon icon,
               const window::BoxButtons&, std::function<void(bool)> answered) {
            messages.push_back({text, caption, icon});
            answered(questionAnswer);
        },
        [this](QWidget*, const QString& initialName) {
            fileDialogInitialNames.push_back(initialName);
            std::optional<QUrl> answer;
            if (!fileAnswers.empty()) {
                answer = fileAnswers.front();
                fileAnswers.pop_front();
            }
            return answer;
        },
        [this](const QUrl& target) { openedUrls.push_back(target); },
    };
    ListWindowServices listServices = ListWindowServices::System();
    listServices.chooseOpenNames = [this](QWidget*) { return listOpenNames; };
    listServices.chooseFolder = [this](QWidget*) { return listFolder; };
    return std::make_unique<DesktopFrontEnd>(
        std::move(services), ProgramFolders{exeFolder.path(), configRoot.path()},
        [this] { return selfTestAnswer; }, table, std::move(listServices));
}

void FrontEndTest::startUp(const std::vector<std::string>& arguments) {
    ASSERT_EQ(frontEnd->startUp(arguments), window::StartUpOutcome::ShowWindow);
    waitForHash();
}

bool FrontEndTest::turnUntil(const std::function<bool()>& done) {
    QDeadlineTimer hangGuard(std::chrono::seconds(60));
    while (!done() && !hangGuard.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

void FrontEndTest::waitForHash() {
    EXPECT_TRUE(turnUntil([this] { return !frontEnd->window().HashRunning(); }))
        << "the file hash did not end";
}

void FrontEndTest::waitForFilesWindow() {
    QCoreApplication::processEvents();
    EXPECT_TRUE(turnUntil([this] { return !frontEnd->listWindow().Running(); }))
        << "the files window's work did not end";
}

void FrontEndTest::click(Control control) {
    QTest::mouseClick(&button(control), Qt::LeftButton);
    waitForHash();
}

void FrontEndTest::chooseLanguage(int position) {
    QComboBox& languages = list(Control::LanguageList);
    for (int step = 0; step < languages.count() && languages.currentIndex() != position; ++step) {
        QTest::keyClick(&languages,
                        languages.currentIndex() < position ? Qt::Key_Down : Qt::Key_Up);
    }
    ASSERT_EQ(languages.currentIndex(), position);
}

}  // namespace tolvek::desktop::testing
