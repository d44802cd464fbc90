// The WindowSystem port over Qt widgets: the main window's controls, the clipboard, the
// modal windows, and the desktop services (message boxes, the open-file dialog, opening a web
// page or a new mail), which tests replace with canned answers.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "app/window/UiThread.h"
#include "app/window/WindowSystem.h"

namespace tolvek::desktop {

class Announcer;
class MainWindowView;

// The services that would block on the user or leave the program.
struct DesktopServices {
    // A message box with an OK button only and no owner window, which leaves every other
    // window usable while it is shown; the call returns at once.
    std::function<void(const QString& text, const QString& caption, QMessageBox::Icon icon,
                       const window::BoxButtons& buttons)>
        showMessage;
    // The same with Yes and No buttons; `answered` runs with the choice (closing the box is No).
    std::function<void(const QString& text, const QString& caption, QMessageBox::Icon icon,
                       const window::BoxButtons& buttons, std::function<void(bool yes)> answered)>
        askQuestion;
    // The open-file dialog over `owner`, starting at `initialName`; the chosen file as a URL,
    // which keeps the bytes of its name, or nothing when cancelled.
    std::function<std::optional<QUrl>(QWidget* owner, const QString& initialName)> chooseFile;
    // Hands a web page or a mailto: address to the user's default program.
    std::function<void(const QUrl& target)> openUrl;

    // The real dialogs and the desktop's default programs.
    static DesktopServices System();
};

// Where sha.lng is kept.
struct ProgramFolders {
    std::filesystem::path executable;
    std::filesystem::path config;

    // This process's folders (ExecutableFolder and ConfigFolder of the core).
    static ProgramFolders OfThisProcess();
};

// The URL handed to the desktop for a link target; its text is the target unchanged.
QUrl TargetUrl(const std::string& target);

// Posts calls as queued calls to `context`'s thread; calls still queued when `context` goes
// are dropped.
class QtUiThread final : public window::UiThread {
public:
    explicit QtUiThread(QObject& context) : m_context(context) {}
    void post(std::function<void()> call) override;
    void postAfter(std::chrono::milliseconds delay, std::function<void()> call) override;

private:
    QObject& m_context;
};

class QtWindowSystem final : public window::WindowSystem {
public:
    QtWindowSystem(MainWindowView& view, DesktopServices services, ProgramFolders folders);

    std::string text(window::Control control) const override;
    void setText(window::Control control, const std::string& text) override;
    void setListEntries(window::Control list, const std::vector<std::string>& entries) override;
    int selectedPosition(window::Control list) const override;
    void selectPosition(window::Control list, int position) override;
    void setListGroups(window::Control list, const std::vector<window::ListGroupDisplay>& groups,
                       const std::vector<std::string>& tooltips) override;
    std::optional<std::string> runOpenFileDialog(const std::string& initialName) override;
    void showMessage(const std::string& text, const std::string& caption, window::MessageIcon icon,
                     const window::BoxButtons& buttons) override;
    void askQuestion(const std::string& text, const std::string& caption, window::MessageIcon icon,
                     const window::BoxButtons& buttons,
                     std::function<void(bool yes)> answered) override;
    window::StringInputResult runStringInputWindow(const std::string& title) override;
    void runAboutWindow() override;
    std::optional<std::string> clipboardText() override;
    void setClipboardText(const std::string& text) override;
    bool isExistingFile(const std::string& name) const override;
    void showProgress(const window::ProgressDisplay& display) override;
    void hideProgress() override;
    void showOffer(const window::OfferDisplay& offer) override;
    void hideOffer() override;
    void setAccessibleNames(const window::AccessibleNames& names) override;
    void announce(const std::string& text) override;
    void setHashControlsEnabled(bool enabled) override;
    void postClose() override;
    void showMainWindow() override;
    void endProgram() override;
    void openUrl(const std::string& target) override;
    std::filesystem::path executableFolder() const override { return m_folders.executable; }
    std::filesystem::path configFolder() const override { return m_folders.config; }

private:
    // The bytes last written into a control and the text the control showed for them.
    struct WrittenText {
        std::string bytes;
        QString shown;
    };

    MainWindowView& m_view;
    // Reading a control gives back the bytes written while it still shows them, so that a
    // file name that is not UTF-8 reaches the file routes unchanged.
    std::map<window::Control, WrittenText> m_written;
    DesktopServices m_services;
    ProgramFolders m_folders;
    Announcer* m_announcer;
    // Applied to each string-input window as it is built.
    window::AccessibleText m_stringFieldName;
};

}  // namespace tolvek::desktop
