// What screen readers are told through the port: the controls' names in every language, with the
// shortcuts they are triggered by (what appears where the focus is not is note_steps.cases').
#include <gtest/gtest.h>

#include "app/window/Languages.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

using AccessibilityTest = MainWindowTest;

// Each translation fills every placeholder with the key or the name it stands for.
TEST_F(AccessibilityTest, EveryLanguageNamesTheShortcutsAndTheProduct) {
    startUp();
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

}  // namespace
}  // namespace tolvek::window::testing
