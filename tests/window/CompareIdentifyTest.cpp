// CompareAction over the real entries (tests/window/compare.cases): the forgiving reading of
// CompareField, the line after an equal digest of a checksum or broken hash, and the box of
// each outcome in three languages (the search's steps are compare_steps.cases').
#include <gtest/gtest.h>

#include <map>

#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

class CompareIdentifyTest : public MainWindowTest {
protected:
    CompareIdentifyTest() : MainWindowTest(hashing::AlgorithmEntries()) { startUp(); }
};

TEST_F(CompareIdentifyTest, MessageForEachOutcomeInThreeLanguages) {
    const std::map<std::string, int> positions = {{"English", 0}, {"German", 1}, {"Russian", 8}};
    for (const tolvek::testing::Case& test : tolvek::testing::ReadCaseFile("window/compare.cases")) {
        SCOPED_TRACE(test.where);
        selectLanguage(positions.at(test.get("Language")));
        window.LanguageChangeHandler();
        selectAlgorithm(static_cast<int>(hashing::FindAlgorithm(test.get("Selected")) -
                                         hashing::AlgorithmEntries().data()));
        if (test.has("File")) {
            hashFileFromDialog(dataFolder.write("abc.txt", test.get("Contents", "abc")));
        } else {
            hashTextFromWindow(test.get("Contents", "abc"));
        }
        const std::string digest = digestField();
        windows.messages.clear();
        windows.questions.clear();
        windows.texts[Control::CompareField] = test.get("Expected");
        window.CompareAction();
        settle();

        ASSERT_EQ(windows.messages.size() + windows.questions.size(), 1U);
        const ShownMessage shown =
            windows.questions.empty() ? windows.messages.back() : windows.questions.back().box;
        EXPECT_EQ(shown.text, test.get("Message"));
        EXPECT_EQ(windows.questions.size(), test.get("Box") == "question" ? 1U : 0U);
        EXPECT_EQ(shown.buttons, test.get("Buttons", ""));
        const bool equal = test.get("Box") == "equal";
        EXPECT_EQ(shown.caption, equal ? "Information" : "Warning");
        EXPECT_EQ(shown.icon, equal ? MessageIcon::Information : MessageIcon::Warning);
        EXPECT_EQ(digestField(), digest) << "a compare never rewrites DigestField";
        EXPECT_EQ(windows.text(Control::CompareField), test.get("Expected"));
    }
}

}  // namespace
}  // namespace tolvek::window::testing
