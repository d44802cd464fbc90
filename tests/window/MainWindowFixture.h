// A main window over the fake port and fake entries, with sha.lng in a temporary folder and a
// self-test whose answer the test chooses.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/window/MainWindow.h"
#include "tests/window/FakeEntries.h"
#include "tests/window/FakeWindowSystem.h"
#include "tests/window/ManualBackground.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"

namespace tolvek::window::testing {

class MainWindowTest : public ::testing::Test {
protected:
    // Over `table`, or the fake entries when it is empty.
    explicit MainWindowTest(std::span<const AlgorithmEntry> table = {});

    // StartUpHandler, and the hash of a file it names run to its end.
    StartUpOutcome startUp(const std::vector<std::string>& arguments = {});
    // Runs the pending file hashes and worker tasks to their end and delivers everything they
    // posted.
    void settle();
    void selectAlgorithm(int position) { windows.selectPosition(Control::AlgorithmList, position); }
    void selectLanguage(int position) { windows.selectPosition(Control::LanguageList, position); }
    // HashFileAction from its button, the dialog answering `name`, run to its end.
    void hashFileFromDialog(const std::string& name);
    // HashStringAction from its button, the string window ending with `text`.
    void hashTextFromWindow(const std::string& text, ModalResult how = ModalResult::Ok) {
        windows.stringInputAnswers.push_back({how, text});
        window.HashStringAction(Control::HashStringButton);
    }
    // A file in a temporary folder whose bytes are its name `name`; gives its full name.
    std::string existingFile(const std::string& name) const { return dataFolder.write(name, name); }
    std::string digestField() const { return windows.text(Control::DigestField); }
    // The bytes of sha.lng in the executable's folder; "<none>" when there is no such file.
    std::string savedFile() const {
        return tolvek::testing::SavedBytes(exeFolder.path() / "sha.lng");
    }

    tolvek::testing::TempFolder exeFolder;
    tolvek::testing::TempFolder configRoot;
    tolvek::testing::TempFolder dataFolder;
    FakeWindowSystem windows;
    ManualUiThread ui;
    ManualFileJobs jobs;
    // For a list window the test attaches: its walks and list reads, its checks.
    ManualWorkerTasks tasks;
    ManualWorkerTasks checks;
    FakeEntries entries;
    engine::HashResult selfTestAnswer = engine::kHashOk;
    // Runs inside the self-test, to look at the state at that moment.
    std::function<void()> duringSelfTest;
    MainWindow window;
};

}  // namespace tolvek::window::testing
