// Finding the expected digest of a file in the checksum files beside it, and never stalling on
// what stands where such a file would.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/checks/ListItems.h"
#include "app/checks/Sidecar.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/AlgorithmTable.h"
#include "tests/support/TempFolder.h"

namespace tolvek::checks {
namespace {

const std::string kDigest(64, 'a');
const std::string kOther(64, 'b');

struct SidecarCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // beside x.iso: name, contents
    const char* algorithm;
    std::string expected;  // empty: nothing found
    const char* source;
};

TEST(SidecarTest, TheFirstChecksumFileWithALineForTheFileGivesItsDigest) {
    const SidecarCase cases[] = {
        {"a lone digest", {{"x.iso.sha256", kDigest + "\n"}}, "sha256", kDigest,
         "x.iso.sha256"},
        {"an own sidecar recording the path it was made with",
         {{"x.iso.sha256sum", kDigest + "  build/out/x.iso\r\n"}}, "sha256", kDigest,
         "x.iso.sha256sum"},
        {"the own sidecar before the shared list",
         {{"SHA256SUMS", kOther + "  x.iso\n"}, {"x.iso.sha256", kDigest}}, "sha256", kDigest, "x.iso.sha256"},
        {"a shared list, binary mode, among other files",
         {{"SHA256SUMS", kOther + "  y.iso\n" + kDigest + " *x.iso\n"}}, "sha256", kDigest, "SHA256SUMS"},
        {"a shared list naming ./x.iso", {{"MD5SUMS", std::string(32, 'c') + "  ./x.iso\n"}},
         "md5", std::string(32, 'c'), "MD5SUMS"},
        {"a shared list naming x.iso in another folder",
         {{"SHA256SUMS", kDigest + "  sub/x.iso\n"}}, "sha256", "", ""},
        {"a shared list for another algorithm", {{"MD5SUMS", std::string(32, 'c') + "  x.iso\n"}},
         "sha256", "", ""},
        {"a digest of another length", {{"x.iso.sha256", std::string(40, 'a')}}, "sha256", "", ""},
        {"a BSD line of another algorithm of that length, then one of ours as other tools name it",
         {{"SHA256SUMS", "SHA3-256 (x.iso) = " + kOther + "\nSHA2-256 (x.iso) = " + kDigest}},
         "sha256", kDigest, "SHA256SUMS"},
        {"an SFV list",
         {{"a.sfv", "; made by hand\ny.iso 11111111\nx.iso 0a1b2c3d\n"}}, "crc32", "0a1b2c3d", "a.sfv"},
        {"SFV lists hold CRC-32 only", {{"a.sfv", "x.iso 0a1b2c3d\n"}}, "crc32c", "", ""},
        {"no checksum file", {{"x.iso.md5", std::string(32, 'c')}}, "sha1", "", ""},
    };
    for (const SidecarCase& test : cases) {
        SCOPED_TRACE(test.what);
        const tolvek::testing::TempFolder folder;
        const std::string file = folder.write("x.iso", "contents");
        for (const auto& [name, contents] : test.files) {
            folder.write(name, contents);
        }
        const std::optional<SidecarDigest> found =
            FindSidecarDigest(file, *hashing::FindAlgorithm(test.algorithm));
        ASSERT_EQ(found.has_value(), !test.expected.empty());
        if (found) {
            EXPECT_EQ(hashing::HexText(found->digest), test.expected);
            EXPECT_EQ(found->source, folder.path() / test.source);
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
