// File hashes off the UI thread: the progress display, Cancel and Esc, closing while a hash
// runs, the drop handlers' copy once the hash has ended, and requests while one runs.
#include <gtest/gtest.h>

#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

using namespace std::chrono_literals;

constexpr std::uint64_t kMiB = 1 << 20;

class BackgroundHashTest : public MainWindowTest {
protected:
    BackgroundHashTest() {
        startUp();
        selectAlgorithm(4);
    }

    // Starts hashing a file from the dialog and leaves the job pending.
    void startHash(const std::string& name = "a.iso") {
        windows.openFileAnswers.emplace_back(existingFile(name));
        window.HashFileAction(Control::HashFileButton);
        ASSERT_TRUE(jobs.pending());
    }

    void report(std::uint64_t done, std::chrono::milliseconds elapsed) {
        jobs.report({done, 4 * kMiB, elapsed});
        ui.drain();
    }
};

TEST_F(BackgroundHashTest, ProgressAppearsAfterAMomentFollowsTheHashAndGoes) {
    startHash();
    EXPECT_EQ(jobs.job().providers, std::vector<const hashing::Provider*>{&entries.fileRoute(4)});
    EXPECT_FALSE(windows.hashControlsEnabled);
    EXPECT_TRUE(window.HashRunning());

    report(kMiB / 2, 100ms);
    EXPECT_FALSE(windows.progress.has_value()) << "a hash that ends within a moment shows nothing";

    report(kMiB, 1000ms);
    ASSERT_TRUE(windows.progress.has_value());
    EXPECT_EQ(windows.progress->subject, "Entry4: a.iso");
    EXPECT_EQ(windows.progress->state, "1.0 MiB of 4.0 MiB, 1.0 MiB/s, 0:03 left");
    EXPECT_EQ(windows.progress->permille, 250);
    EXPECT_EQ(windows.progress->cancelCaption, "Cancel");

    selectLanguage(1);  // Deutsch: the next report speaks German
    window.LanguageChangeHandler();
    report(3 * kMiB, 2000ms);
    EXPECT_EQ(windows.progress->state, "3,0 MiB von 4,0 MiB, 1,5 MiB/s, noch 0:01");
    EXPECT_EQ(windows.progress->permille, 750);
    EXPECT_EQ(windows.progress->cancelCaption, "Abbrechen");

    settle();
    EXPECT_FALSE(windows.progress.has_value());
    EXPECT_EQ(digestField(), "f11e04");
    EXPECT_TRUE(windows.hashControlsEnabled);
    EXPECT_FALSE(window.HashRunning());
}

// Cancel is the progress display's control and the Esc key; closing the window cancels too and
// still saves sha.lng.
TEST_F(BackgroundHashTest, ACancelledHashLeavesDigestFieldAndClipboardAsTheyWere) {
    const struct Case {
        const char* what;
        bool dropped;
        bool closing;
    } cases[] = {{"from the dialog", false, false},
                 {"dropped on the window", true, false},
                 {"while the window closes", true, true}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        windows.texts[Control::DigestField] = "old digest";
        windows.clipboard = "old clipboard";
        windows.progressStates.clear();
        if (test.dropped) {
            window.WindowDropHandler(existingFile("dropped"));
        } else {
            startHash();
        }
        selectAlgorithm(6);
        if (test.closing) {
            window.CloseHandler();
            EXPECT_EQ(savedFile(), "ENGLISH\r\n6\r\n");
        } else {
            window.CancelHashAction();
        }
        settle();
        EXPECT_EQ(digestField(), "old digest");
        EXPECT_EQ(windows.clipboard, "old clipboard");
        EXPECT_EQ(windows.progressStates, std::vector<std::string>{"Cancelled"});
        EXPECT_EQ(windows.progress->cancelCaption, "");
        EXPECT_TRUE(windows.hashControlsEnabled);
        EXPECT_TRUE(entries.fileRoute(4).requests().empty());
        selectAlgorithm(4);
    }
}

TEST_F(BackgroundHashTest, DropHandlersCopyOnlyOnceTheHashHasEnded) {
    windows.clipboard = "old clipboard";
    window.PathFieldDropHandler(existingFile("dropped"));
    EXPECT_EQ(windows.clipboard, "old clipboard");
    EXPECT_EQ(windows.clipboardWrites, 0);
    settle();
    EXPECT_EQ(windows.clipboard, "f11e04");
    EXPECT_EQ(entries.fileRoute(4).requests(), std::vector<std::string>{"dropped"});
}

TEST_F(BackgroundHashTest, RequestsWhileAHashRunsStartNothing) {
    startHash("first");
    const std::string other = existingFile("other");
    windows.texts[Control::PathField] = other;
    windows.openFileAnswers.emplace_back(other);
    window.HashFileAction(Control::HashFileButton);
    window.RenewHashAction();
    window.HashStringAction(Control::HashStringButton);
    window.WindowDropHandler(other);
    window.PathFieldDropHandler(other);

    EXPECT_EQ(jobs.started, 1);
    EXPECT_EQ(windows.openFileAnswers.size(), 1U) << "no second dialog";
    EXPECT_TRUE(windows.stringInputTitles.empty());
    EXPECT_EQ(window.LastFileName(), existingFile("first"));
    settle();
    EXPECT_EQ(entries.fileRoute(4).requests(), std::vector<std::string>{"first"});
    EXPECT_EQ(windows.clipboardWrites, 0);

    // Once it has ended, the next request runs.
    window.RenewHashAction();
    settle();
    EXPECT_EQ(jobs.started, 2);
    EXPECT_EQ(entries.fileRoute(4).requests().back(), "other");
}

}  // namespace
}  // namespace tolvek::window::testing
