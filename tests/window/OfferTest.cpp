// The offers the main window makes after a file hash, through the port: the expected digest a
// checksum file beside the file holds, accepted, declined or overtaken.
#include <gtest/gtest.h>

#include "tests/support/VectorFile.h"
#include "tests/window/FakeListPort.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

const std::string kDigest(64, 'a');

class OfferTest : public MainWindowTest {
protected:
    OfferTest() {
        startUp();
        selectAlgorithm(4);
        entries.fileRoute(4).answer = Answer(kDigest);
        // The entry's digests are as long as kDigest, so lists of its digests hold that length.
        entries.stringRoute(4).answer = Answer(kDigest);
    }
};

// tests/window/offers.cases
TEST_F(OfferTest, AChecksumFileOfAnyEntryIsOfferedAndTakenOnlyWhenAccepted) {
    for (const tolvek::testing::Case& test : tolvek::testing::ReadCaseFile("window/offers.cases")) {
        SCOPED_TRACE(test.where);
        const tolvek::testing::TempFolder folder;
        for (const std::string& file : tolvek::testing::SplitField(test.get("Files"), '|')) {
            folder.write(file.substr(0, file.find('=')), file.substr(file.find('=') + 1));
        }
        selectAlgorithm(4);
        windows.texts[Control::CompareField] = "typed";
        windows.messages.clear();
        const std::size_t hashedBefore = entries.fileRoute(5).requests().size();
        hashFileFromDialog(folder.write("x.iso", "iso"));
        ASSERT_EQ(windows.offer.has_value(), test.has("Offer"));
        if (!windows.offer) {
            continue;
        }
        EXPECT_EQ(windows.offer->text, test.get("Offer"));
        EXPECT_EQ(windows.offer->acceptCaption, test.get("AcceptCaption"));
        EXPECT_EQ(windows.offer->declineCaption, "Dismiss");
        EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), 4) << "nothing changes before";
        EXPECT_EQ(windows.text(Control::CompareField), "typed");
        EXPECT_TRUE(windows.messages.empty());
        EXPECT_EQ(digestField(), kDigest);

        if (test.get("Answer") == "decline") {
            window.DeclineOfferAction();
        } else {
            if (test.get("Answer") == "after a string hash") {
                hashTextFromWindow("abc");  // the offer goes: accepting it is too late
            }
            window.AcceptOfferAction();
        }
        settle();
        const bool rehashed = test.get("SelectedAfter") == "5";
        if (!rehashed) {
            EXPECT_FALSE(windows.offer.has_value()) << "the answer takes the offer away";
        }
        EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), rehashed ? 5 : 4);
        EXPECT_EQ(windows.text(Control::CompareField), test.get("CompareField", "typed"));
        ASSERT_EQ(windows.messages.size(), test.has("Message") ? 1U : 0U);
        if (test.has("Message")) {
            EXPECT_EQ(windows.messages.front().text, test.get("Message"));
        }
        EXPECT_EQ(entries.fileRoute(5).requests().size(), hashedBefore + (rehashed ? 1 : 0))
            << "one more read, with the sidecar's entry";
        EXPECT_EQ(digestField(), rehashed ? FileDigest(5) : kDigest);
    }
}

TEST_F(OfferTest, AChecksumListJustHashedIsOfferedForChecking) {
    // Published SHA-256 of "abc" (FIPS 180-2, appendix B.1).
    const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    FakeListPort listPort;
    ListWindow listWindow(listPort, ui, tasks, checks,
                          [this](int number) { return window.LoadText(number); });
    window.AttachListWindow(listWindow);
    dataFolder.write("a.txt", "abc");
    dataFolder.write("checks", abc + "  a.txt\n" + abc + "  b.txt\n");  // a list by content
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept);
        hashFileFromDialog(dataFolder.file("checks"));
        ASSERT_TRUE(windows.offer.has_value());
        EXPECT_EQ(windows.offer->text, "checks is a checksum list of 2 files.");
        EXPECT_EQ(windows.offer->acceptCaption, "Check files");
        accept ? window.AcceptOfferAction() : window.DeclineOfferAction();
        settle();
        EXPECT_FALSE(windows.offer.has_value());
        EXPECT_EQ(listPort.rows.size(), accept ? 2U : 0U);
    }
    EXPECT_EQ(listPort.texts.title, "Check list");
    EXPECT_EQ(listWindow.Summary(), "1 OK, 1 missing");
    EXPECT_EQ(digestField(), kDigest) << "the list itself was hashed as always";
}

}  // namespace
}  // namespace tolvek::window::testing
