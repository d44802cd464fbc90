// A list window over a fake port in English, for one run of an action: its background runs on
// the test's thread when the test settles it.
#pragma once

#include "app/window/ListWindow.h"
#include "app/window/StringTable.h"
#include "app/hashing/AlgorithmTable.h"
#include "tests/window/FakeListPort.h"
#include "tests/window/ManualBackground.h"

namespace tolvek::faults {

struct ListWindowRun {
    ListWindowRun() { window.Open(*hashing::FindAlgorithm("sha256")); }

    // Runs the walks, list reads and file hashes the actions started, to their end.
    void settle() {
        while (tasks.pending() || checks.pending()) {
            tasks.pending() ? tasks.run() : checks.run();
            ui.drain();
        }
    }

    window::testing::FakeListPort port;
    window::testing::ManualUiThread ui;
    window::testing::ManualWorkerTasks checks;
    window::testing::ManualWorkerTasks tasks;
    window::ListWindow window{port, ui, tasks, checks, [](int number) {
                               return window::StringTableText(1000 + number).value_or("");
                           }};
};

}  // namespace tolvek::faults
