// A checksum list just hashed offered for checking in the list window (the other offers are
// tests/window/compare_steps.cases').
#include <gtest/gtest.h>

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
