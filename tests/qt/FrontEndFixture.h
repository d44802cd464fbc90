// The desktop front end over fake list entries, with sha.lng in a temporary folder and the
// message boxes, file dialog and URL opener replaced by recorders with canned answers.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/qt/DesktopFrontEnd.h"
#include "tests/window/FakeEntries.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"

namespace tolvek::desktop::testing {

using window::Control;

struct RecordedMessage {
    QString text;
    QString caption;
    QMessageBox::Icon icon;
};

// Runs `act` on the modal window as soon as its modal run has started; fails the test when no
// modal window comes up.
void WhenModalShown(std::function<void(QDialog& window)> act);

// The controls of one window as tests/qt/layout.cases places them: name, geometry, caption.
struct Place {
    std::string name;
    QRect geometry;
    std::optional<std::string> text;
};
std::vector<Place> PlacesOf(const std::string& window);

// Walks `window` with Tab from the focused control on, as tests/qt/layout.cases orders it: the
// names the focus went to, and the ones it should have.
void ExpectTabOrder(const std::string& window);

// What a table view shows in a cell: its text, or with Qt::DecorationRole its icon.
inline QVariant CellOf(const QAbstractItemView& view, int row, int column,
                       int role = Qt::DisplayRole) {
    return view.model()->index(row, column).data(role);
}

class FrontEndTest : public ::testing::Test {
protected:
    FrontEndTest();

    // A front end over `entries`, whose self-test answers `selfTestAnswer`.
    std::unique_ptr<DesktopFrontEnd> makeFrontEnd(std::span<const window::AlgorithmEntry> entries);
    // The start-up, and the hash of a file named in `arguments` run to its end.
    void startUp(const std::vector<std::string>& arguments = {});

    MainWindowView& view() { return frontEnd->view(); }
    QPushButton& button(Control control) {
        return *qobject_cast<QPushButton*>(&view().control(control));
    }
    QLineEdit& field(Control control) {
        return *qobject_cast<QLineEdit*>(&view().control(control));
    }
    QComboBox& list(Control control) { return view().list(control); }
    std::string fieldText(Control control) { return field(control).text().toStdString(); }
    // Clicks the button, and waits for a file hash it starts to end.
    void click(Control button);
    // Turns the event loop until `done` holds, giving up after a generous time instead of
    // hanging the test; says whether it holds.
    static bool turnUntil(const std::function<bool()>& done);
    // Turns the event loop until no file hash runs; a hash that never ends fails the test.
    void waitForHash();
    // The same for the files window's walks, list reads and checks, turning the loop at least
    // once.
    void waitForFilesWindow();
    // Picks a language the way a user does: focus on the list, then arrow keys.
    void chooseLanguage(int position);
    // The bytes of sha.lng in the executable's folder; "<none>" when there is none.
    std::string savedFile() const {
        return tolvek::testing::SavedBytes(exeFolder.path() / "sha.lng");
    }

    tolvek::testing::TempFolder exeFolder;
    tolvek::testing::TempFolder configRoot;
    tolvek::testing::TempFolder files;
    window::testing::FakeEntries entries;
    engine::HashResult selfTestAnswer = engine::kHashOk;

    // Message boxes and Yes/No boxes; every question is answered with `questionAnswer`.
    std::vector<RecordedMessage> messages;
    bool questionAnswer = false;
    std::deque<std::optional<QUrl>> fileAnswers;
    std::vector<QString> fileDialogInitialNames;
    std::vector<QUrl> openedUrls;
    // The files window's dialogs: its open dialog answers `listOpenNames`, its folder dialog
    // `listFolder`, the others cancel.
    std::vector<std::string> listOpenNames;
    std::optional<std::string> listFolder;

    std::unique_ptr<DesktopFrontEnd> frontEnd;
};

// The same over the program's own list entries and providers.
class RealEntriesTest : public FrontEndTest {
protected:
    RealEntriesTest() { frontEnd = makeFrontEnd(hashing::AlgorithmEntries()); }
};

}  // namespace tolvek::desktop::testing
