// The list window's widgets, implementing its port: a table of rows with a status icon beside
// each status word, progress over all files with Cancel, the summary, the copy and save
// commands, and drops of files, folders and lists. The core's ListWindow decides everything.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "app/window/ListWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace tolvek::desktop {

// The dialogs that wait for the user, which tests replace with canned answers.
struct ListWindowServices {
    std::function<std::optional<std::string>(QWidget* owner, const std::string& suggested)>
        chooseSaveName;
    std::function<bool(QWidget* owner, const std::string& question)> confirm;

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
    void setRow(std::size_t index, const window::ListRowView& row) override;
    void showProgress(const window::ProgressDisplay& display) override;
    void setClipboardText(const std::string& text) override;
    std::optional<std::string> chooseSaveName(const std::string& suggested) override;
    bool confirm(const std::string& question) override;
    void showMessage(const std::string& text) override;

private:
    QWidget& m_beside;
    ListWindowServices m_services;
    QTreeWidget* m_rows;
    QLabel* m_subject;
    QProgressBar* m_bar;
    QLabel* m_summary;
    QPushButton* m_cancel;
    std::vector<QPushButton*> m_commands;
};

}  // namespace tolvek::desktop
