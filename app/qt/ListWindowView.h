// The list window's widgets, implementing its port: the commands that make a set, a table of
// rows (or a hint while there are none) with a status icon beside each status word, a field for
// a digest to find among the rows' (Ctrl+Shift+V pastes into it) beside the command that checks
// a folder against a list, progress
// over all files with Cancel, the summary, the copy and save commands, their keys, and drops
// of files, folders and lists. The core's ListWindow decides everything.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/window/ListWindow.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QMenu;
class QTreeView;

namespace tolvek::desktop {

class Announcer;
class ListRowsModel;

// The dialogs that wait for the user, which tests replace with canned answers.
struct ListWindowServices {
    std::function<std::optional<std::string>(QWidget* owner, const std::string& suggested)>
        chooseSaveName;
    std::function<bool(QWidget* owner, const std::string& question,
                       const window::BoxButtons& buttons)>
        confirm;
    std::function<std::vector<std::string>(QWidget* owner)> chooseOpenNames;
    std::function<std::optional<std::string>(QWidget* owner)> chooseFolder;
    std::function<std::optional<std::vector<const hashing::AlgorithmEntry*>>(
        QWidget* owner, const window::ListWindowTexts& texts,
        const std::vector<const hashing::AlgorithmEntry*>& chosen)>
        chooseAlgorithms;

    static ListWindowServices System();
};

class ListWindowView final : public QWidget, public window::ListWindowPort {
    Q_OBJECT

public:
    // `beside` is the main window, which the list window opens next to.
    ListWindowView(QWidget& beside, ListWindowServices services);
    // The window's controls start `window`'s actions; set once, before it is shown.
    void connectTo(window::ListWindow& window);

    void setTexts(const window::ListWindowTexts& texts) override;
    void showWindow() override;
    void setColumns(const std::vector<std::string>& captions) override;
    void setRow(std::size_t index, const window::ListRowView& row) override;
    void setRowCount(std::size_t count) override;
    void showEmptyHint(bool shown) override;
    void showProgress(const window::ProgressDisplay& display) override;
    void setClipboardText(const std::string& text) override;
    std::optional<std::string> clipboardText() override;
    std::vector<std::string> chooseOpenNames() override;
    std::optional<std::string> chooseFolder() override;
    std::optional<std::vector<const hashing::AlgorithmEntry*>> chooseAlgorithms(
        const std::vector<const hashing::AlgorithmEntry*>& chosen) override;
    std::optional<std::string> chooseSaveName(const std::string& suggested) override;
    bool confirm(const std::string& question) override;
    void showMessage(const std::string& text) override;
    void announce(const std::string& text) override;
    void showVerifyOutcome(const std::string& text) override;

private:
    void connectKeys(window::ListWindow& window);
    void orderTabs();
    void placeOnScreen();
    void showHeadings();
    void widenToShow(std::size_t column, const std::string& digest, bool verified);
    void widenStatusFor(const std::string& status);
    std::vector<std::size_t> selectedRows() const;

    QWidget& m_beside;
    window::ListWindowTexts m_texts;
    std::vector<std::string> m_captions;
    std::set<std::string> m_measuredStatuses;
    std::vector<bool> m_sizedColumns;  // a digest column made wide enough for its digests
    ListWindowServices m_services;
    QTreeView* m_rows;
    ListRowsModel* m_model;
    QLabel* m_hint;
    QLabel* m_subject;
    QProgressBar* m_bar;
    QLabel* m_summary;
    QLineEdit* m_verify;
    QLabel* m_verifyOutcome;
    QPushButton* m_checkFolder;
    QPushButton* m_cancel;
    // The rows' menu (right button, or the menu key): a cell of the current row, or a whole
    // column, each column named by its heading.
    QMenu* m_copyCell;
    QMenu* m_copyColumn;
    std::vector<QPushButton*> m_commands;
    Announcer* m_announcer = nullptr;
    std::vector<QPushButton*> m_setCommands;
};

}  // namespace tolvek::desktop
