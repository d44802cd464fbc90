// HashFileAction, HashStringAction, RenewHashAction and the two drop handlers: where the name
// or text comes from, which route hashes it, and what DigestField shows.
#include <gtest/gtest.h>

#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

using HashFileActionTest = MainWindowTest;
using HashStringActionTest = MainWindowTest;
using RenewHashActionTest = MainWindowTest;
using DropHandlerTest = MainWindowTest;

TEST_F(HashFileActionTest, ChosenFileGoesThroughTheSelectedEntrysFileRoute) {
    selectAlgorithm(4);
    windows.texts[Control::CompareField] = "expected";
    const std::string name = existingFile("a.iso");
    hashFileFromDialog(name);

    EXPECT_EQ(windows.openFileInitialNames, std::vector<std::string>{""});
    EXPECT_EQ(windows.text(Control::PathField), name);
    EXPECT_EQ(window.LastFileName(), name);
    EXPECT_EQ(entries.fileRoute(4).requests(), std::vector<std::string>{"a.iso"});
    EXPECT_TRUE(entries.stringRoute(4).requests().empty());
    EXPECT_EQ(digestField(), "f11e04");
    EXPECT_EQ(windows.text(Control::CompareField), "expected");
    EXPECT_EQ(windows.clipboardWrites, 0);
}

// The dialog starts at the last name hashed, whichever way it came.
TEST_F(HashFileActionTest, CancelledDialogChangesNothing) {
    const std::string first = existingFile("first");
    window.PathFieldDropHandler(first);
    settle();
    windows.openFileAnswers.emplace_back(std::nullopt);
    window.HashFileAction(Control::HashFileButton);

    EXPECT_EQ(windows.openFileInitialNames.back(), first);
    EXPECT_EQ(window.LastFileName(), first);
    EXPECT_EQ(windows.text(Control::PathField), first);
    EXPECT_EQ(entries.fileRoute(3).requests().size(), 1U);
}

// How each kind of route shows a failure in DigestField (tests/window/hash_failures.cases).
TEST_F(HashFileActionTest, FailureTextsByRoute) {
    for (const tolvek::testing::Case& failure :
         tolvek::testing::ReadCaseFile("window/hash_failures.cases")) {
        SCOPED_TRACE(failure.where);
        const int position = std::stoi(failure.get("Position"));
        entries.fileRoute(position).answer = Failure(failure.get("Failure"));
        entries.stringRoute(position).answer = Failure(failure.get("Failure"));
        selectAlgorithm(position);
        hashFileFromDialog(existingFile("file"));
        EXPECT_EQ(digestField(), failure.get("FileShows"));
        EXPECT_EQ(windows.text(Control::PathField), existingFile("file"));
        hashTextFromWindow("abc");
        EXPECT_EQ(digestField(), failure.get("StringShows"));
    }
}

TEST_F(HashFileActionTest, NoSelectionIsAnUnknownHashType) {
    for (const int position : {-1, 30, 31}) {
        SCOPED_TRACE(position);
        selectAlgorithm(position);
        hashFileFromDialog("/data/file");
        EXPECT_EQ(digestField(), "Unknown hash type");
        EXPECT_EQ(window.LastFileName(), "/data/file");
        hashTextFromWindow("abc");
        EXPECT_EQ(digestField(), "Error: Unknown hash type");
    }
}

TEST_F(HashStringActionTest, WindowTitleIsText14AndItsTextIsHashedHoweverItEnds) {
    selectAlgorithm(3);
    hashTextFromWindow("abc", ModalResult::Ok);
    EXPECT_EQ(digestField(), "7e4703");
    hashTextFromWindow("typed then closed", ModalResult::Closed);
    hashTextFromWindow("", ModalResult::Closed);

    EXPECT_EQ(windows.stringInputTitles.front(), "Insert the String for HASH");
    EXPECT_EQ(entries.stringRoute(3).requests(),
              (std::vector<std::string>{"abc", "typed then closed", ""}));
    EXPECT_TRUE(entries.fileRoute(3).requests().empty());
    EXPECT_EQ(windows.text(Control::PathField), "");
    EXPECT_EQ(window.LastFileName(), "");
}

// Every entry hashes strings through its own string route: the framework entries (21 to 29)
// no longer refuse strings, and the checksum entries (18 to 20) compute the same function as
// for files.
TEST_F(HashStringActionTest, EveryEntryHashesStringsThroughItsStringRoute) {
    for (int position = 0; position < FakeEntries::kCount; ++position) {
        selectAlgorithm(position);
        hashTextFromWindow("abc");
        EXPECT_EQ(digestField(), TextDigest(position));
        EXPECT_EQ(entries.stringRoute(position).requests(), std::vector<std::string>{"abc"});
    }
}

TEST_F(RenewHashActionTest, EmptyPathFieldDoesNothing) {
    window.RenewHashAction();
    EXPECT_TRUE(windows.textWrites.empty());
    EXPECT_TRUE(windows.stringInputTitles.empty());
    EXPECT_TRUE(windows.openFileInitialNames.empty());
}

// One file dropped on the window is hashed and its digest copied (a checksum that fails leaves
// the clipboard empty); several change nothing there, and on PathField are tried as one name.
TEST_F(DropHandlerTest, DroppedNamesAreHashedAndCopied) {
    const std::string one = existingFile("one");
    const std::string both = one + "\r" + existingFile("two");
    const struct Case {
        int position;
        bool onPathField;
        std::string names;
        std::vector<std::string> requests;     // what the file route is given
        std::optional<std::string> clipboard;  // and DigestField, unless nothing changed
    } cases[] = {
        {3, false, both, {}, "kept"},
        {3, true, both, {}, "Could not open file"},
        {18, false, dataFolder.file("missing"), {}, std::nullopt},
        {3, false, one, {"one"}, "f11e03"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.names);
        selectAlgorithm(test.position);
        windows.textWrites.clear();
        windows.clipboard = "kept";
        const int clipboardWrites = windows.clipboardWrites;
        if (test.onPathField) {
            window.PathFieldDropHandler(test.names);
        } else {
            window.WindowDropHandler(test.names);
        }
        settle();
        const bool changed = test.clipboard != "kept";
        EXPECT_EQ(windows.textWrites.empty(), !changed);
        EXPECT_EQ(windows.text(Control::PathField), changed ? test.names : "");
        EXPECT_EQ(entries.fileRoute(test.position).requests(), test.requests);
        EXPECT_EQ(windows.clipboard, test.clipboard);
        EXPECT_EQ(windows.clipboardWrites - clipboardWrites, changed ? 1 : 0);
        EXPECT_EQ(digestField(), changed ? test.clipboard.value_or("") : "");
    }
    EXPECT_FALSE(window.HashFromField());
    EXPECT_TRUE(windows.openFileInitialNames.empty());
}

}  // namespace
}  // namespace tolvek::window::testing
