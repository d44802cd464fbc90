// The note in the row below the controls: which entry made the digest shown when another one is
// selected, with the offer to hash again, and that renew hashed a path's text because no file
// has that name. The fields stay as they are until the user asks to hash again.
#include <gtest/gtest.h>

#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

constexpr const char* kMadeWithEntry4 = "The hash shown was made with Entry4.";

class DigestNoteTest : public MainWindowTest {
protected:
    DigestNoteTest() { startUp(); }

    // The user picks an entry of AlgorithmList.
    void pick(int position) {
        selectAlgorithm(position);
        window.AlgorithmChangeHandler();
    }
    void renew(const std::string& text) {
        windows.texts[Control::PathField] = text;
        window.RenewHashAction();
        settle();
    }
    std::string note() const { return windows.offer ? windows.offer->text : std::string{}; }
};

TEST_F(DigestNoteTest, TheRowSaysWhichEntryMadeTheDigestAndOffersToHashAgain) {
    enum class Source { File, WindowText };
    const struct Case {
        const char* what;
        Source source;
        int picked;
        const char* note;            // empty: none
        const char* afterHashAgain;  // empty: no offer to hash again
    } cases[] = {
        {"a file, another entry", Source::File, 6, kMadeWithEntry4, "f11e06"},
        {"a file, the same entry again", Source::File, 4, "", ""},
        {"a typed text, another entry", Source::WindowText, 7, kMadeWithEntry4, "7e4707"},
        {"a file, nothing selected", Source::File, -1, kMadeWithEntry4, ""},
    };
    const std::string file = existingFile("x.iso");
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        selectAlgorithm(4);
        switch (test.source) {
            case Source::File:
                hashFileFromDialog(file);
                break;
            case Source::WindowText:
                hashTextFromWindow("abc");
                break;
        }
        const std::string shown = digestField();
        pick(4);  // back to the entry that made it: nothing to say
        EXPECT_EQ(note(), "");
        pick(test.picked);
        EXPECT_EQ(note(), test.note);
        EXPECT_EQ(digestField(), shown) << "the fields stay";
        if (*test.note == '\0') {
            continue;
        }
        const bool hashAgain = *test.afterHashAgain != '\0';
        EXPECT_EQ(windows.offer->acceptCaption, hashAgain ? "Hash again" : "");
        EXPECT_EQ(windows.offer->declineCaption, "Dismiss");
        window.AcceptOfferAction();
        settle();
        EXPECT_EQ(digestField(), hashAgain ? test.afterHashAgain : shown);
        if (hashAgain && test.source == Source::File) {
            EXPECT_EQ(entries.fileRoute(test.picked).requests().back(), "x.iso");
            EXPECT_EQ(windows.text(Control::PathField), file);
        }
        if (hashAgain && test.source == Source::WindowText) {
            EXPECT_EQ(entries.stringRoute(test.picked).requests().back(), "abc");
        }
        EXPECT_EQ(note(), hashAgain ? "" : test.note);
    }
}

TEST_F(DigestNoteTest, RenewSaysWhenTheTextOfAPathWasHashedBecauseNoFileHasThatName) {
    const std::string folder = dataFolder.path().string();
    const struct Case {
        std::string text;
        std::string note;  // empty: none
    } cases[] = {
        {"abc", ""},
        {"/no/such/x.iso", "x.iso names no file: the text itself was hashed."},
        {"Downloads/", "Downloads/ names no file: the text itself was hashed."},
        {"C:\\x.iso", "C:\\x.iso names no file: the text itself was hashed."},
        {folder, dataFolder.path().filename().string() +
                     " names no file: the text itself was hashed."},
    };
    selectAlgorithm(4);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.text);
        renew(test.text);
        EXPECT_EQ(digestField(), "7e4704");
        EXPECT_EQ(entries.stringRoute(4).requests().back(), test.text);
        EXPECT_EQ(note(), test.note);
        if (!test.note.empty()) {
            EXPECT_EQ(windows.offer->acceptCaption, "");
            window.DeclineOfferAction();
            EXPECT_EQ(note(), "");
        }
    }
    // Hashed again with another entry, the path's text still names no file.
    const std::string noFile = "x.iso names no file: the text itself was hashed.";
    renew("/no/such/x.iso");
    pick(7);
    EXPECT_EQ(note(), kMadeWithEntry4);
    window.AcceptOfferAction();
    EXPECT_EQ(entries.stringRoute(7).requests().back(), "/no/such/x.iso");
    EXPECT_EQ(digestField(), "7e4707");
    EXPECT_EQ(note(), noFile);

    EXPECT_EQ(window.LastFileName(), "") << "a text is no file name";
    renew(existingFile("x.iso"));
    EXPECT_EQ(digestField(), "f11e07");
    EXPECT_EQ(note(), "");
    EXPECT_EQ(window.LastFileName(), existingFile("x.iso"));
    EXPECT_TRUE(windows.openFileInitialNames.empty() && windows.stringInputTitles.empty());
}

// The note goes when dismissed, until the next choice; it speaks the window's language, leaves
// the row to a running hash's progress, and covers an offer only while it has something to say.
TEST_F(DigestNoteTest, DismissedUntilTheNextChoiceAndSharingTheRow) {
    // A digest of the entry's length, which a list line beside the file can hold.
    const std::string digest(64, 'a');
    entries.fileRoute(4).answer = Answer(digest);
    entries.stringRoute(4).answer = Answer(digest);
    dataFolder.write("x.iso.Entry4", digest + "  x.iso\n");
    selectAlgorithm(4);
    hashFileFromDialog(existingFile("x.iso"));
    const std::string offer = "Expected digest found in x.iso.Entry4: " + digest;
    EXPECT_EQ(note(), offer);

    pick(6);
    EXPECT_EQ(note(), kMadeWithEntry4);
    window.DeclineOfferAction();
    EXPECT_EQ(note(), offer) << "the offer is still there for the digest shown";
    pick(7);
    EXPECT_EQ(note(), kMadeWithEntry4);
    selectLanguage(1);
    window.LanguageChangeHandler();
    EXPECT_EQ(note(), "Der angezeigte Hash wurde mit Entry4 berechnet.");
    EXPECT_EQ(windows.offer->acceptCaption, "Neu berechnen");

    window.AcceptOfferAction();
    EXPECT_TRUE(window.HashRunning());
    EXPECT_FALSE(windows.offer.has_value()) << "the row belongs to the hash's progress";
    pick(4);
    EXPECT_FALSE(windows.offer.has_value());
    settle();
    EXPECT_EQ(digestField(), "f11e07");
    EXPECT_EQ(note(), "Der angezeigte Hash wurde mit Entry7 berechnet.");

    // A failure in DigestField was made by no entry.
    entries.fileRoute(4).answer = Failure("Could not read file");
    hashFileFromDialog(existingFile("x.iso"));
    pick(5);
    EXPECT_FALSE(windows.offer.has_value());
}

}  // namespace
}  // namespace tolvek::window::testing
