#include "tests/window/MainWindowFixture.h"

#include <fstream>
#include <sstream>

namespace tolvek::window::testing {

MainWindowTest::MainWindowTest(std::span<const AlgorithmEntry> table)
    : window(
          windows, {jobs, ui},
          [this] {
              if (duringSelfTest) {
                  duringSelfTest();
              }
              return selfTestAnswer;
          },
          table.empty() ? entries.table() : table) {
    windows.exeFolder = exeFolder.path();
    windows.userConfigFolder = configRoot.path() / "tolvek";
}

StartUpOutcome MainWindowTest::startUp(const std::vector<std::string>& arguments) {
    const StartUpOutcome outcome = window.StartUpHandler(arguments);
    settle();
    return outcome;
}

void MainWindowTest::settle() {
    ui.drain();
    while (jobs.pending() || tasks.pending() || checks.pending()) {
        if (tasks.pending()) {
            tasks.run();
        } else if (checks.pending()) {
            checks.run();
        } else {
            jobs.run();
        }
        ui.drain();
    }
}

void MainWindowTest::selectAlgorithm(int position) {
    windows.selectPosition(Control::AlgorithmList, position);
}

void MainWindowTest::selectLanguage(int position) {
    windows.selectPosition(Control::LanguageList, position);
}

void MainWindowTest::hashFileFromDialog(const std::string& name) {
    windows.openFileAnswers.emplace_back(name);
    window.HashFileAction(Control::HashFileButton);
    settle();
}

void MainWindowTest::hashTextFromWindow(const std::string& text, ModalResult how) {
    windows.stringInputAnswers.push_back({how, text});
    window.HashStringAction(Control::HashStringButton);
}

std::string MainWindowTest::savedFile() const {
    std::ifstream file(exeFolder.path() / "sha.lng", std::ios::binary);
    if (!file) {
        return "<none>";
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

}  // namespace tolvek::window::testing
