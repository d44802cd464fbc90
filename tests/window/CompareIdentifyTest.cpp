// CompareAction over the real entries: the forgiving reading of CompareField, the line after an
// equal digest of a checksum or broken hash, the search for the entry that gives the expected
// digest, and the ways of getting an expected digest in one step (paste and compare, a second
// file).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

// Published digests of "abc": RFC 1321, the RIPEMD designers' set, FIPS 180-4.
const std::string kMd5 = "900150983cd24fb0d6963f7d28e17f72";
const std::string kRipemd128 = "c14a12199c66e4ba84636b0f69144c77";
const std::string kSha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";
const std::string kSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

class CompareIdentifyTest : public MainWindowTest {
protected:
    CompareIdentifyTest() : MainWindowTest(hashing::AlgorithmEntries()) { startUp(); }

    void select(std::string_view caption) {
        const AlgorithmEntry* entry = hashing::FindAlgorithm(caption);
        ASSERT_NE(entry, nullptr) << caption;
        selectAlgorithm(static_cast<int>(entry - hashing::AlgorithmEntries().data()));
    }
    std::string_view selectedCaption() const {
        const AlgorithmEntry* entry =
            hashing::EntryAt(hashing::AlgorithmEntries(), windows.selectedPosition(Control::AlgorithmList));
        return entry != nullptr ? entry->caption : "<none>";
    }
    std::string abcFile() const { return dataFolder.write("abc.txt", "abc"); }

    void compareWith(const std::string& expected) {
        windows.texts[Control::CompareField] = expected;
        window.CompareAction();
        settle();
    }

    // The one box the compare showed, message or question.
    ShownMessage shownBox() {
        EXPECT_EQ(windows.messages.size() + windows.questions.size(), 1U);
        return windows.questions.empty() ? windows.messages.back() : windows.questions.back().box;
    }
};

TEST_F(CompareIdentifyTest, MessageForEachOutcomeInThreeLanguages) {
    const std::map<std::string, int> positions = {{"English", 0}, {"German", 1}, {"Russian", 8}};
    for (const tolvek::testing::Case& test : tolvek::testing::ReadCaseFile("window/compare.cases")) {
        SCOPED_TRACE(test.where);
        selectLanguage(positions.at(test.get("Language")));
        window.LanguageChangeHandler();
        select(test.get("Selected"));
        if (test.has("File")) {
            hashFileFromDialog(dataFolder.write("abc.txt", test.get("Contents", "abc")));
        } else {
            hashTextFromWindow(test.get("Contents", "abc"));
        }
        const std::string digest = digestField();
        windows.messages.clear();
        windows.questions.clear();
        compareWith(test.get("Expected"));

        const ShownMessage shown = shownBox();
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

TEST_F(CompareIdentifyTest, YesSelectsTheEntryAndShowsItsDigest) {
    select("MD5");
    hashFileFromDialog(abcFile());
    compareWith(kRipemd128);
    ASSERT_EQ(windows.questions.size(), 1U);
    windows.questions[0].answered(false);
    EXPECT_EQ(selectedCaption(), "MD5");
    EXPECT_EQ(digestField(), kMd5);

    compareWith(kRipemd128);
    ASSERT_EQ(windows.questions.size(), 2U);
    windows.questions[1].answered(true);
    EXPECT_EQ(selectedCaption(), "RIPE-MD128");
    EXPECT_EQ(digestField(), kRipemd128);
    compareWith(kRipemd128);
    EXPECT_EQ(windows.messages.back().text, "Hash is equal.");

    // An answer that comes after another hash selects, but leaves that hash's digest.
    select("MD5");
    hashFileFromDialog(abcFile());
    compareWith(kSha1);
    ASSERT_EQ(windows.questions.size(), 3U);
    hashTextFromWindow("abc");
    windows.questions[2].answered(true);
    EXPECT_EQ(selectedCaption(), "SHA1");
    EXPECT_EQ(digestField(), kMd5);
}

// One read of the file for every other entry of the length, with progress, and Cancel leaves
// the plain answer.
TEST_F(CompareIdentifyTest, SearchRunsInTheBackgroundAndCanBeCancelled) {
    select("MD5");
    hashFileFromDialog(abcFile());
    windows.texts[Control::CompareField] = kRipemd128;
    window.CompareAction();
    ASSERT_TRUE(jobs.pending());
    EXPECT_EQ(jobs.job().providers.size(), 9U);
    EXPECT_TRUE(windows.messages.empty());
    jobs.report({1, 3, std::chrono::seconds(1)});
    ui.drain();
    ASSERT_TRUE(windows.progress.has_value());
    EXPECT_EQ(windows.progress->subject, "Looking for the algorithm of abc.txt");

    window.CancelHashAction();
    settle();
    EXPECT_EQ(windows.progressStates.back(), "Cancelled");
    EXPECT_TRUE(windows.questions.empty());
    EXPECT_EQ(shownBox().text, "Hash is not equal. Please check it");
    EXPECT_EQ(digestField(), kMd5);
}

TEST_F(CompareIdentifyTest, FileGoneSinceItWasHashedSaysSo) {
    select("MD5");
    hashFileFromDialog(abcFile());
    std::filesystem::remove(abcFile());
    compareWith(kRipemd128);
    EXPECT_EQ(shownBox().text, "Hash is not equal. Please check it\nCould not open file");
}

TEST_F(CompareIdentifyTest, PasteAndCompareIsOneStep) {
    select("SHA256");
    hashFileFromDialog(abcFile());
    windows.clipboard = "SHA256 (abc.txt) = " + kSha256 + "\r\n";
    window.PasteAndCompareAction();
    EXPECT_EQ(windows.text(Control::CompareField), "SHA256 (abc.txt) = " + kSha256);
    EXPECT_EQ(shownBox().text, "Hash is equal.");
}

TEST_F(CompareIdentifyTest, SecondFileGivesTheExpectedDigest) {
    select("MD5");
    const std::string first = abcFile();
    hashFileFromDialog(first);
    windows.openFileAnswers.emplace_back(dataFolder.write("copy.txt", "abc"));
    window.CompareWithFileAction();
    settle();
    EXPECT_EQ(windows.openFileInitialNames.back(), first);
    EXPECT_EQ(windows.text(Control::CompareField), kMd5);
    EXPECT_EQ(shownBox().text,
              "Hash is equal.\nMD5 detects accidental damage, but not deliberate tampering.");
    EXPECT_EQ(window.LastFileName(), first);
    windows.messages.clear();

    window.CompareFieldDropHandler(dataFolder.write("other.txt", "abd"));
    settle();
    EXPECT_EQ(shownBox().text,
              "Hash is not equal. Please check it\nNone of the algorithms of "
              "this length gives this hash (10 tried).");
    windows.messages.clear();

    // Several names, a cancelled dialog: nothing; a file that cannot be hashed: why, in a box.
    window.CompareFieldDropHandler(first + "\r" + first);
    windows.openFileAnswers.emplace_back(std::nullopt);
    window.CompareWithFileAction();
    EXPECT_FALSE(jobs.pending());
    EXPECT_TRUE(windows.messages.empty());
    windows.texts[Control::CompareField] = "kept";
    window.CompareFieldDropHandler(dataFolder.file("missing"));
    settle();
    EXPECT_EQ(shownBox().text, "Could not open file");
    EXPECT_EQ(windows.text(Control::CompareField), "kept");
    EXPECT_EQ(digestField(), kMd5);
    EXPECT_EQ(window.CompareWithFileCaption(), "Compare with file…");
}

}  // namespace
}  // namespace tolvek::window::testing
