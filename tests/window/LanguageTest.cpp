// The language blocks, LoadText, ApplyTexts, LanguageChangeHandler and the matching of a saved
// language name.
#include <gtest/gtest.h>

#include <set>

#include "app/window/Languages.h"
#include "app/window/Product.h"
#include "app/window/StringTable.h"
#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

struct BlockCase {
    int position;
    int block;
    const char* titleStart;
    const char* titleEnd;
    const char* hashStringButton;  // text 2
    const char* compareLabel;      // text 15
    const char* savedName;
};

// clang-format off
const BlockCase kBlockCases[] = {
    {0, 1000, "TOLVEK version 1.99", "English", "Hash String", "Hash to compare", "ENGLISH"},
    {1, 0, "TOLVEK version 1.99", "Deutsch", "Prüfe String", "Hash vergleichen", "DEUTSCH"},
    {2, 2000, "TOLVEK versão 1.99", "Português", "String Hash", "Hash comparar", "Portugu\xEAs-Brasil"},
    {3, 3000, "TOLVEK version 1.99", "Français", "Hash Chaîne", "Hasher comparer", "Fran\347ais"},
    {4, 4000, "TOLVEK versione 1.99", "(Italiano)", "Hash di Stringa", "Hash da confrontare", "ITALIANO"},
    {5, 5000, "TOLVEK versión 1.99", "- Español", "Hash de cadena", "Hash a comparar", "Espa\xF1ol"},
    {6, 6000, "TOLVEK version 1.99", "(Simplified Chinese)", "HASH 字串", "比较 HASH", "Simplified Chinese"},
    {7, 7000, "TOLVEK version 1.99", "- Hrvatski", "Isitaj Hash String", "Hash za usporedu", "Croatian"},
    {8, 8000, "TOLVEK version 1.99", "Russian", "Hash String", "Контрольный HASH", "Russian"},
    {9, 9000, "TOLVEK versie 1.99", "(Nederlands)", "Hash tekst", "Te vergelijken hash", "NEDERLANDS"},
    {10, 10000, "TOLVEK version 1.99", "Dansk", "Hash Streng", "Hash at sammenligne", "Danish"},
    {11, 11000, "TOLVEK version 1.99", "Your language", "Hash String", "Hash to compare", "FOR_TRANSLATE"},
};
// clang-format on

using LanguageChangeHandlerTest = MainWindowTest;

TEST_F(LanguageChangeHandlerTest, EveryBlockIsAppliedAndSaved) {
    selectAlgorithm(12);
    for (const BlockCase& block : kBlockCases) {
        SCOPED_TRACE(block.titleEnd);
        selectLanguage(block.position);
        window.LanguageChangeHandler();
        EXPECT_EQ(window.LanguageBase(), block.block);
        const std::string title = windows.text(Control::MainWindow);
        EXPECT_TRUE(title.starts_with(block.titleStart)) << title;
        EXPECT_TRUE(title.ends_with(block.titleEnd)) << title;
        EXPECT_NE(title.find("(c) 1997-2009 TOLVEK team"), std::string::npos) << title;
        EXPECT_NE(title.find(std::string(" ").append(kVersion).append(" ")), std::string::npos)
            << title << " does not name the build's version " << kVersion;
        EXPECT_EQ(windows.text(Control::HashStringButton), block.hashStringButton);
        EXPECT_EQ(windows.text(Control::CompareLabel), block.compareLabel);
        EXPECT_EQ(savedFile(), std::string(block.savedName) + "\r\n12\r\n");
    }
}

TEST_F(LanguageChangeHandlerTest, GermanCaptionsAndStringWindowTitle) {
    selectLanguage(1);
    window.LanguageChangeHandler();
    EXPECT_EQ(windows.text(Control::HashFileButton), "Prüfe Datei");
    EXPECT_EQ(windows.text(Control::AboutButton), "Über");
    hashTextFromWindow("abc");
    EXPECT_EQ(windows.stringInputTitles.back(), "Geben Sie einen String ein.");
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

TEST_F(LanguageChangeHandlerTest, NoSelectionDoesNothing) {
    selectLanguage(-1);
    window.LanguageChangeHandler();
    EXPECT_TRUE(windows.textWrites.empty());
    EXPECT_EQ(savedFile(), "<none>");
    EXPECT_EQ(window.LanguageBase(), 1000);
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
    for (const BlockCase& block : kBlockCases) {
        SCOPED_TRACE(block.block);
        const auto text = [&](int number) { return StringTableText(block.block + number).value(); };
        EXPECT_NE(text(16).find("%1"), std::string::npos);
        EXPECT_NE(text(16).find("%2"), std::string::npos);
        EXPECT_NE(text(17).find("%1"), std::string::npos);
        for (int number = 18; number <= 25; ++number) {
            EXPECT_FALSE(text(number).empty()) << number;
        }
        EXPECT_NE(text(69).find("%1"), std::string::npos);
        EXPECT_NE(text(71).find("%1"), std::string::npos);
        const bool english = block.block == 1000 || block.block == 11000;
        EXPECT_EQ(text(18) == "Cancel", english);
        EXPECT_EQ(text(70) == "Hash again", english);
    }
}

// Features add their groups at once; a group whose numbers another already holds would be
// shadowed without a word.
TEST(StringTable, EveryGroupTextIsFoundUnderItsOwnNumber) {
    for (const TextGroup* group : TextGroupsAfterTheFifteen()) {
        EXPECT_GT(group->first, kTextsPerBlock);
        for (const BlockCase& block : kBlockCases) {
            const auto blockIndex = static_cast<std::size_t>(block.block / kBlockStride);
            for (int index = 0; index < group->size; ++index) {
                EXPECT_EQ(StringTableText(block.block + group->first + index),
                          group->text(blockIndex, static_cast<std::size_t>(index)))
                    << block.block + group->first + index;
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

using LanguageStartUpTest = MainWindowTest;

TEST_F(LanguageStartUpTest, Windows1252NameIsReadAndWrittenBackByteForByte) {
    exeFolder.write("sha.lng", "portugu\xEAs-brasil\n5\n");
    startUp();
    EXPECT_EQ(windows.selectedPosition(Control::LanguageList), 2);
    EXPECT_TRUE(windows.text(Control::MainWindow).starts_with("TOLVEK versão 1.99"));
    EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), 5);
    EXPECT_EQ(savedFile(), "Portugu\xEAs-Brasil\r\n5\r\n");
}

TEST_F(LanguageStartUpTest, Utf8NameGivesEnglish) {
    exeFolder.write("sha.lng", "Français\r\n5\r\n");
    startUp();
    EXPECT_EQ(windows.selectedPosition(Control::LanguageList), 0);
    EXPECT_EQ(savedFile(), "ENGLISH\r\n5\r\n");
}

}  // namespace
}  // namespace tolvek::window::testing
