// A list window over a fake port in English, whose walks, list reads and file hashes run on the
// test's thread when the test lets them, with what the port shows read back as columns.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/ListWindow.h"
#include "app/window/StringTable.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/window/FakeListPort.h"
#include "tests/window/ManualBackground.h"

namespace tolvek::window::testing {

// Published SHA-256 of "abc" (FIPS 180-2, appendix B.1).
inline const std::string kAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

class ListWindowTest : public ::testing::Test {
public:
    ListWindowTest() { window.Open(*hashing::FindAlgorithm("sha256")); }

    // Runs the walks, list reads and file hashes started, to their end.
    void settle() {
        while (tasks.pending() || checks.pending()) {
            tasks.pending() ? tasks.run() : checks.run();
            ui.drain();
        }
    }
    // Runs the pending walk or list read and shows the rows it found.
    void gather() {
        tasks.run();
        ui.drain();
    }
    std::vector<std::string> statuses() const { return column(&ListRowView::status); }
    std::vector<std::string> column(std::string ListRowView::*field) const {
        std::vector<std::string> shown;
        for (const ListRowView& row : port.rows) {
            shown.push_back(row.*field);
        }
        return shown;
    }
    std::string saved(const std::string& name) const;

    tolvek::testing::TempFolder folder;
    FakeListPort port;
    ManualUiThread ui;
    ManualWorkerTasks checks;
    ManualWorkerTasks tasks;
    ListWindow window{port, ui, tasks, checks, [](int number) {
                          return StringTableText(1000 + number).value_or("");
                      }};
};

inline std::string ListWindowTest::saved(const std::string& name) const {
    return tolvek::testing::FileContents(folder.file(name));
}

}  // namespace tolvek::window::testing
