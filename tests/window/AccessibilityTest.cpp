// What screen readers are told through the port: the controls' names in every language, with the
// shortcuts they are triggered by, and what appears where the focus is not (the row below the
// controls, a long hash's progress and its end), each once.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "app/window/Languages.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

using namespace std::chrono_literals;
using Texts = std::vector<std::string>;

class AccessibilityTest : public MainWindowTest {
protected:
    AccessibilityTest() {
        startUp();
        selectAlgorithm(4);
    }

    void pick(int position) {
        selectAlgorithm(position);
        window.AlgorithmChangeHandler();
    }
    // A hash of a.iso that reports progress a second in, left running.
    void startLongHash() {
        windows.openFileAnswers.emplace_back(existingFile("a.iso"));
        window.HashFileAction(Control::HashFileButton);
        jobs.report({1 << 20, 4 << 20, 1000ms});
        ui.drain();
    }
    Texts heard() { return std::exchange(windows.announcements, {}); }
};

// Each translation fills every placeholder with the key or the name it stands for.
TEST_F(AccessibilityTest, EveryLanguageNamesTheShortcutsAndTheProduct) {
    for (std::size_t language = 0; language < kLanguages.size(); ++language) {
        SCOPED_TRACE(kLanguages[language].shown);
        selectLanguage(static_cast<int>(language));
        window.LanguageChangeHandler();
        const AccessibleNames& names = windows.accessibleNames;
        std::string all = names.progressBar.name + "|" + names.cancelButton.description + "|" +
                          names.stringField.name;
        for (const auto& [control, text] : names.controls) {
            all += "|" + text.name + "|" + text.description;
        }
        EXPECT_EQ(all.find('%'), std::string::npos) << all;
        for (const char* fill : {"TOLVEK", "Ctrl+Shift+V", "Ctrl+L", "Esc"}) {
            EXPECT_NE(all.find(fill), std::string::npos) << fill;
        }
    }
}

TEST_F(AccessibilityTest, WhatAppearsWhereTheFocusIsNotIsAnnouncedOnce) {
    const std::string madeWithEntry4 = "The hash shown was made with Entry4.";
    const std::string progress = "Entry4: a.iso \u2013 1.0 MiB of 4.0 MiB, 1.0 MiB/s, 0:03 left";
    const struct Case {
        const char* what;
        std::function<void()> act;
        Texts heard;
    } cases[] = {
        {"a hash that ends within a moment",
         [this] { hashFileFromDialog(existingFile("a.iso")); }, {}},
        {"the note appears as another entry is picked", [this] { pick(6); }, {madeWithEntry4}},
        {"the same note while a third one is picked", [this] { pick(7); }, {}},
        {"dismissed, and back with the next pick",
         [this] {
             window.DeclineOfferAction();
             pick(8);
         },
         {madeWithEntry4}},
        {"a long hash's progress, then its end",
         [this] {
             pick(4);  // the entry that made the digest: the note goes, silently
             startLongHash();
             jobs.report({3 << 20, 4 << 20, 2000ms});
             settle();
         },
         {progress, "Entry4: a.iso \u2013 Done"}},
        {"a long hash cancelled",
         [this] {
             startLongHash();
             window.CancelHashAction();
             settle();
         },
         {progress, "Entry4: a.iso \u2013 Cancelled"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        heard();
        test.act();
        EXPECT_EQ(heard(), test.heard);
    }
}

}  // namespace
}  // namespace tolvek::window::testing
