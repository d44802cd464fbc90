// The language blocks, LoadText, ApplyTexts, LanguageChangeHandler and the matching of a saved
// language name.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

#include "app/window/Languages.h"
#include "app/window/Product.h"
#include "app/window/StringTable.h"
#include "app/window/TextNumbers.h"
#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

const std::vector<tolvek::testing::Case>& blocks() {
    static const std::vector<tolvek::testing::Case> all =
        tolvek::testing::ReadCaseFile("window/language_blocks.cases");
    return all;
}

int blockOf(const tolvek::testing::Case& block) {
    return std::stoi(block.get("Block"));
}

using LanguageChangeHandlerTest = MainWindowTest;

TEST_F(LanguageChangeHandlerTest, EveryBlockIsAppliedAndSaved) {
    selectAlgorithm(12);
    for (const tolvek::testing::Case& block : blocks()) {
        SCOPED_TRACE(block.where);
        selectLanguage(std::stoi(block.get("Position")));
        window.LanguageChangeHandler();
        EXPECT_EQ(window.LanguageBase(), blockOf(block));
        const std::string title = windows.text(Control::MainWindow);
        EXPECT_TRUE(title.starts_with(block.get("TitleStart"))) << title;
        EXPECT_TRUE(title.ends_with(block.get("TitleEnd"))) << title;
        EXPECT_NE(title.find("(c) 1997-2009 TOLVEK team"), std::string::npos) << title;
        EXPECT_NE(title.find(std::string(" ").append(kVersion).append(" ")), std::string::npos)
            << title << " does not name the build's version " << kVersion;
        EXPECT_EQ(windows.text(Control::HashStringButton), block.get("Text2"));
        EXPECT_EQ(windows.text(Control::CompareLabel), block.get("Text15"));
        EXPECT_EQ(savedFile(), block.get("Saved") + "\r\n12\r\n");
    }
}

TEST_F(LanguageChangeHandlerTest, AppliesTextsOneToNineAndFifteenOnly) {
    selectLanguage(5);
    window.LanguageChangeHandler();
    std::set<Control> written;
    for (const auto& [control, text] : windows.textWrites) {
        written.insert(control);
        EXPECT_FALSE(text.empty());
    }
    const std::set<Control> expected = {
        Control::MainWindow,   Control::HashStringButton, Control::HashFileButton,
        Control::CloseButton,  Control::RenewButton,      Control::CopyButton,
        Control::PasteButton,  Control::CompareButton,    Control::AboutButton,
        Control::CompareLabel,
    };
    EXPECT_EQ(written, expected);
    EXPECT_EQ(windows.textWrites.size(), expected.size());
}

TEST_F(LanguageChangeHandlerTest, LoadTextOutsideTheBlockIsEmpty) {
    EXPECT_EQ(window.LoadText(0), "");
    EXPECT_EQ(window.LoadText(34), "");
    EXPECT_EQ(window.LoadText(10), "Please choice a file or use drag&drop --> NEW calculate.");
    EXPECT_EQ(window.LoadText(18), "Cancel");
}

// The progress display fills the placeholders of texts 16 and 17 and shows the unit texts, the
// note on the digest shown those of texts 69 and 71; every language has them in its own words,
// the template as in English.
TEST(StringTable, EveryBlockHasTheProgressAndNoteTexts) {
    for (const tolvek::testing::Case& block : blocks()) {
        SCOPED_TRACE(block.where);
        const auto text = [&](int number) { return StringTableText(blockOf(block) + number).value(); };
        EXPECT_NE(text(16).find("%1"), std::string::npos);
        EXPECT_NE(text(16).find("%2"), std::string::npos);
        EXPECT_NE(text(17).find("%1"), std::string::npos);
        for (int number = 18; number <= 25; ++number) {
            EXPECT_FALSE(text(number).empty()) << number;
        }
        EXPECT_NE(text(69).find("%1"), std::string::npos);
        EXPECT_NE(text(71).find("%1"), std::string::npos);
        const bool english = blockOf(block) == 1000 || blockOf(block) == 11000;
        EXPECT_EQ(text(18) == "Cancel", english);
        EXPECT_EQ(text(70) == "Hash again", english);
    }
}

// Features add their groups at once; a group whose numbers another already holds would be
// shadowed without a word.
TEST(StringTable, EveryGroupTextIsFoundUnderItsOwnNumber) {
    for (const TextGroup* group : TextGroupsAfterTheFifteen()) {
        EXPECT_GT(group->first, kTextsPerBlock);
        for (const tolvek::testing::Case& block : blocks()) {
            const auto blockIndex = static_cast<std::size_t>(blockOf(block) / kBlockStride);
            for (int index = 0; index < group->size; ++index) {
                EXPECT_EQ(StringTableText(blockOf(block) + group->first + index),
                          group->text(blockIndex, static_cast<std::size_t>(index)))
                    << blockOf(block) + group->first + index;
            }
        }
    }
}

TEST(StringTable, MarkersFrameTheTemplateBlock) {
    EXPECT_EQ(StringTableText(11000),
              "If you want translate this program, translate from here- From 11000 - 11015");
    EXPECT_EQ(StringTableText(11999), "If you want translate this program, translate till here");
    for (const int id : {-1, 0, 34, 999, 1000, 1034, 10000, 11034, 11998, 12000, 12001, 65429}) {
        EXPECT_EQ(StringTableText(id), std::nullopt) << id;
    }
}

TEST(MatchLanguage, SavedNames) {
    for (const tolvek::testing::Case& saved :
         tolvek::testing::ReadCaseFile("window/window_texts.cases", "MatchLanguage")) {
        EXPECT_EQ(MatchLanguage(saved.get("Saved")), std::stoi(saved.get("Position")))
            << saved.where;
    }
}

// The real list in groups under the language's headings: every position once, the thirty first
// in their order, each entry's description its tooltip; a list of one group (the fake thirty)
// has no heading.
class AlgorithmGroupsTest : public MainWindowTest {
protected:
    AlgorithmGroupsTest() : MainWindowTest(hashing::AlgorithmEntries()) {}
};

TEST_F(AlgorithmGroupsTest, HeadingsFollowTheLanguagePositionsStay) {
    const std::span<const hashing::AlgorithmEntry> all = hashing::AlgorithmEntries();
    for (const int language : {1, 8}) {
        selectLanguage(language);
        window.LanguageChangeHandler();
        const std::vector<ListGroupDisplay>& groups = windows.listGroups[Control::AlgorithmList];
        ASSERT_EQ(groups.size(), 3U);
        std::vector<int> shown;
        for (std::size_t group = 0; group < groups.size(); ++group) {
            EXPECT_EQ(groups[group].heading,
                      window.LoadText(kFirstListGroupText + static_cast<int>(group)));
            shown.insert(shown.end(), groups[group].positions.begin(),
                         groups[group].positions.end());
        }
        std::vector<int> thirty(hashing::kSpecifiedEntries);
        std::iota(thirty.begin(), thirty.end(), 0);
        EXPECT_EQ(groups[0].positions, thirty);
        EXPECT_TRUE(std::ranges::all_of(groups[2].positions, [&](int position) {
            return all[static_cast<std::size_t>(position)].checksum;
        }));
        std::ranges::sort(shown);
        EXPECT_EQ(shown.size(), all.size());
        EXPECT_EQ(std::ranges::adjacent_find(shown), shown.end());
        EXPECT_EQ(windows.listTooltips[Control::AlgorithmList].at(44), all[44].description);
    }
    EXPECT_NE(windows.listGroups[Control::AlgorithmList][1].heading,
              windows.listGroups[Control::AlgorithmList][2].heading);
}

TEST_F(LanguageChangeHandlerTest, OneGroupHasNoHeading) {
    window.LanguageChangeHandler();
    const std::vector<ListGroupDisplay>& groups = windows.listGroups[Control::AlgorithmList];
    ASSERT_EQ(groups.size(), 1U);
    EXPECT_EQ(groups[0].heading, "");
}

}  // namespace
}  // namespace tolvek::window::testing
