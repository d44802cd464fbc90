// Finding the expected digest of a file in the checksum files beside it, and never stalling on
// what stands where such a file would.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/checks/ListItems.h"
#include "app/checks/Sidecar.h"
#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/DigestText.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::checks {
namespace {

const std::string kDigest(64, 'a');

void expectSameAnswer(const std::optional<SidecarDigest>& found,
                      const std::optional<SidecarDigest>& expected) {
    ASSERT_EQ(found.has_value(), expected.has_value());
    if (found) {
        EXPECT_EQ(found->digest, expected->digest);
        EXPECT_EQ(found->source, expected->source);
        EXPECT_EQ(found->entry, expected->entry);
    }
}

// tests/checks/sidecars.cases; a lookup that has answered for y.iso beside it first, with its
// folder listed and its lists read, answers as a fresh one does.
TEST(SidecarTest, TheFirstChecksumFileWithALineForTheFileGivesItsDigest) {
    for (const tolvek::testing::Case& test :
         tolvek::testing::ReadCaseFile("checks/sidecars.cases")) {
        SCOPED_TRACE(test.get("What"));
        const tolvek::testing::TempFolder folder;
        const std::string file = folder.write("x.iso", "contents");
        const std::vector<std::string> files = tolvek::testing::SplitField(test.get("Files"), '|');
        for (std::size_t name = 0; name + 1 < files.size(); name += 2) {
            folder.write(files[name], files[name + 1]);
        }
        const hashing::AlgorithmEntry& selected = *hashing::FindAlgorithm(test.get("Algorithm"));
        const std::optional<SidecarDigest> found =
            test.has("Others") ? FindAnySidecarDigest(file, selected, hashing::AlgorithmEntries())
                               : FindSidecarDigest(file, selected);
        SidecarLookup used;
        const auto lookUp = [&](const std::filesystem::path& name) {
            return test.has("Others") ? used.findAny(name, selected, hashing::AlgorithmEntries())
                                      : used.find(name, selected);
        };
        lookUp(folder.path() / "y.iso");
        expectSameAnswer(lookUp(file), found);
        ASSERT_EQ(found.has_value(), test.has("Digest"));
        if (found) {
            EXPECT_EQ(hashing::HexText(found->digest), test.get("Digest"));
            EXPECT_EQ(found->source, folder.path() / test.get("Source"));
            EXPECT_EQ(found->entry->id, test.get(test.has("Entry") ? "Entry" : "Algorithm"));
        }
    }
}

TEST(SidecarTest, AFifoOrAnOversizedFileIsPassedOverWithoutWaiting) {
    const tolvek::testing::TempFolder folder;
    const std::string file = folder.write("x.iso", "contents");
    ASSERT_EQ(::mkfifo(folder.file("x.iso.sha256").c_str(), 0600), 0);
    folder.write("x.iso.sha256sum", std::string(kLargestListFile + 1, ' '));
    folder.write("SHA256SUMS", kDigest + "  x.iso\n");

    // A FIFO without a writer would block an open or a read that waited for one.
    const std::optional<SidecarDigest> found =
        FindSidecarDigest(file, *hashing::FindAlgorithm("sha256"));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->source, folder.path() / "SHA256SUMS");
    EXPECT_FALSE(ReadListFile(folder.file("x.iso.sha256sum")).has_value());
}

}  // namespace
}  // namespace tolvek::checks
