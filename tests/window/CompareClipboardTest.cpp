// CompareAction's outcomes by typed text (the other copy, paste and compare steps are
// tests/window/hash_steps.cases').
#include <gtest/gtest.h>

#include <map>

#include "app/hashing/AsciiText.h"
#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

constexpr const char* kSha1OfAbc = "a9993e364706816aba3e25717850c26c9cd0d89d";

class CompareActionTest : public MainWindowTest {
protected:
    // DigestField shows `digest`, as the last hash action left it.
    void hashGives(const std::string& digest) {
        entries.stringRoute(3).answer = Answer(digest);
        hashTextFromWindow("abc");
    }

    ShownMessage compareWith(const std::string& expected) {
        windows.texts[Control::CompareField] = expected;
        window.CompareAction();
        EXPECT_EQ(windows.messages.size(), 1U);
        ShownMessage shown = windows.messages.back();
        windows.messages.clear();
        return shown;
    }
};

constexpr const char* kEmpty = "Please select a file, or insert a hash to compare";
constexpr const char* kEqual = "Hash is equal.";
constexpr const char* kNotEqual = "Hash is not equal. Please check it";

// tests/window/compare_outcomes.cases
TEST_F(CompareActionTest, OutcomeByTypedText) {
    startUp();
    hashGives(kSha1OfAbc);
    const std::map<std::string, const char*> messages = {
        {"Equal", kEqual}, {"NotEqual", kNotEqual}, {"Empty", kEmpty}};
    for (const tolvek::testing::Case& compare :
         tolvek::testing::ReadCaseFile("window/compare_outcomes.cases")) {
        SCOPED_TRACE(compare.where);
        const ShownMessage shown = compareWith(compare.get("Expected"));
        EXPECT_EQ(shown.text, messages.at(compare.get("Shown")));
        const bool equal = compare.get("Shown") == "Equal";
        EXPECT_EQ(shown.caption, equal ? "Information" : "Warning");
        EXPECT_EQ(shown.icon, equal ? MessageIcon::Information : MessageIcon::Warning);
    }
    EXPECT_EQ(digestField(), kSha1OfAbc);
}

TEST(AsciiText, CaseMappingTouchesOnlyAsciiLetters) {
    EXPECT_EQ(hashing::AsciiUpper("az AZ 09 @[`{ \xEA\xE7\xF1"), "AZ AZ 09 @[`{ \xEA\xE7\xF1");
    EXPECT_EQ(hashing::AsciiLower("az AZ 09 @[`{ \xCA\xC7\xD1"), "az az 09 @[`{ \xCA\xC7\xD1");
}

}  // namespace
}  // namespace tolvek::window::testing
