// The desktop program: the main window's widgets, the port over them, and the core's
// MainWindow whose actions the widgets' signals start.
#pragma once

#include <QKeySequence>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "app/qt/Accessibility.h"
#include "app/window/AccessibleNames.h"
#include "app/window/MainWindow.h"
#include "app/qt/ListWindowView.h"
#include "app/qt/MainWindowView.h"
#include "app/qt/QtWindowSystem.h"

namespace tolvek::desktop {

// Opens the list window, empty.
inline const QKeySequence kOpenListWindowKeys = ShortcutKeys(window::kOpenListWindowShortcut);

class DesktopFrontEnd {
public:
    // Builds the main window with its lists filled and its handlers connected; not shown yet.
    DesktopFrontEnd(DesktopServices services, ProgramFolders folders, window::SelfTest selfTest,
                    std::span<const window::AlgorithmEntry> entries = hashing::AlgorithmEntries(),
                    ListWindowServices listServices = ListWindowServices::System());

    // Centres the window and runs the core's start-up on the command line's arguments
    // (without argument 0). On EndProgram the window must not be shown.
    window::StartUpOutcome startUp(const std::vector<std::string>& arguments);
    // tolvek-files: the files window alone, with `names` (absolute) in it; the main window stays
    // hidden and sha.lng as it is. On EndProgram no window must be shown.
    window::StartUpOutcome startUpFilesWindow(const std::vector<std::string>& names);
    // Names another tolvek-files start handed over: into the files window, which comes forward.
    void openInFilesWindow(const std::vector<std::string>& names);

    MainWindowView& view() { return *m_view; }
    window::MainWindow& window() { return m_window; }
    ListWindowView& listView() { return *m_listView; }
    window::ListWindow& listWindow() { return m_listWindow; }

private:
    void connectHandlers();
    void connectCompareFieldMenu();

    std::unique_ptr<MainWindowView> m_view;
    QtWindowSystem m_windows;
    QtUiThread m_ui;
    // Goes after the window: a job still running then is told to stop and waited for, and what
    // it posts dies with the view.
    hashing::ThreadFileJobs m_jobs;
    window::MainWindow m_window;
    // The list window's own worker, so that it checks files while the main window hashes.
    std::unique_ptr<ListWindowView> m_listView;
    hashing::ThreadWorkerTasks m_listChecking;
    hashing::ThreadWorkerTasks m_listGathering;
    window::ListWindow m_listWindow;
};

}  // namespace tolvek::desktop
