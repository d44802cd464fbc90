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
    ListWindowRun() { window.Open(*digest::FindAlgorithm("sha256")); }

    // Runs the walks, list reads and file hashes the actions started, to their end.
    void settle() {
        while (tasks.pending() || jobs.pending()) {
            tasks.pending() ? tasks.run() : jobs.run();
            ui.drain();
        }
    }

    app::testing::FakeListPort port;
    app::testing::ManualUiThread ui;
    app::testing::ManualFileJobs jobs;
    app::testing::ManualWorkerTasks tasks;
    app::ListWindow window{port, {jobs, ui}, tasks, [](int number) {
                               return app::StringTableText(1000 + number).value_or("");
                           }};
};

}  // namespace tolvek::faults
