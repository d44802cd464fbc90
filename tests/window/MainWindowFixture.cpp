#include "tests/window/MainWindowFixture.h"


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

void MainWindowTest::hashFileFromDialog(const std::string& name) {
    windows.openFileAnswers.emplace_back(name);
    window.HashFileAction(Control::HashFileButton);
    settle();
}

}  // namespace tolvek::window::testing
