// The items a checksum list asks to check, and the verdict on each file from one read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "app/checks/ListCheck.h"
#include "app/hashing/DigestText.h"
#include "tests/support/TempFolder.h"

namespace tolvek::checks {
namespace {

using hashing::AlgorithmEntry;

// Published digests of "abc" (RFC 1321, FIPS 180-2, the RIPEMD-160 paper), the CRC-32 check
// value of "123456789" and a 64-byte digest of the right length for BLAKE2b.
const std::string kMd5 = "900150983cd24fb0d6963f7d28e17f72";
const std::string kSha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";
const std::string kSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string kRipemd160 = "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc";
const std::string kCrc32 = "cbf43926";
const std::string kLong = std::string(128, 'b');

std::vector<std::string> idsOf(const std::vector<const AlgorithmEntry*>& entries) {
    std::vector<std::string> ids;
    for (const AlgorithmEntry* entry : entries) {
        ids.emplace_back(entry->id);
    }
    return ids;
}

struct ExpectedItem {
    std::size_t line;
    std::string name;
    std::string path;
    std::vector<std::string> candidates;
};

struct ListCase {
    std::string listPath;
    std::string text;
    std::string forced;         // an id, or empty
    std::string listAlgorithm;  // an id, or empty
    std::vector<ExpectedItem> items;
    std::vector<std::size_t> malformed = {};
};

TEST(ReadListItems, AlgorithmNameAndFileOfEachLine) {
    const ListCase cases[] = {
        // The list's name decides; a BSD line's name goes first; a digest of the wrong length or
        // an unknown algorithm makes a line improperly formatted.
        {"/r/SHA256SUMS",
         kSha256 + "  a\n" + kMd5 + "  b\nMD5 (c) = " + kMd5 + "\nNOSUCH (d) = " + kMd5 + "\n",
         "",
         "sha256",
         {{1, "a", "/r/a", {"sha256"}}, {3, "c", "/r/c", {"md5"}}},
         {2, 4}},
        {"rel/x.md5sum",
         "\xEF\xBB\xBF" + kMd5 + " *../up\r\n# note\n\n" + kMd5 + "  /abs/x",
         "",
         "md5",
         {{1, "../up", "rel/../up", {"md5"}}, {4, "/abs/x", "/abs/x", {"md5"}}}},
        {"B2SUMS",
         kLong + "  f\nBLAKE2b (g) = " + kLong + "\n",
         "",
         "blake2b",
         {{1, "f", "f", {"blake2b"}}, {2, "g", "g", {"blake2b"}}}},
        // -a wins over the list's name, and a BSD line of another algorithm does not fit it.
        {"list.md5",
         kSha256 + "  a\nMD5 (b) = " + kMd5 + "\nSHA2-256 (c) = " + kSha256,
         "sha256",
         "sha256",
         {{1, "a", "a", {"sha256"}}, {3, "c", "c", {"sha256"}}},
         {2}},
        // No algorithm: the digest's length, every entry of that length a candidate.
        {"-",
         kSha1 + "  a\n" + kCrc32 + "  b\nSHA1 (c) = " + kSha1,
         "",
         "",
         {{1, "a", "a", {"sha1", "haval160", "tiger160", "ripemd160", "quickxor"}},
          {2, "b", "b", {"crc32", "crc32c", "xxh32"}},
          {3, "c", "c", {"sha1"}}}},
        // A sidecar checks the file its name continues; a lone digest in a list of no such
        // name has no file.
        {"/r/x.iso.sha256", kSha256 + "\n", "", "sha256", {{1, "x.iso", "/r/x.iso", {"sha256"}}}},
        {"/r/SHA256SUMS", kSha256 + "\n", "", "sha256", {}, {1}},
        {"/r/x.iso.sha256",
         "# made by a tool\r\n\n" + kSha256 + "\r\n\n",
         "",
         "sha256",
         {{3, "x.iso", "/r/x.iso", {"sha256"}}}},
        // Only as the list's one line: among others a lone digest names no file.
        {"/r/x.iso.sha256",
         kSha256 + "\n" + kSha256 + "  y\n" + kSha256,
         "",
         "sha256",
         {{2, "y", "/r/y", {"sha256"}}},
         {1, 3}},
        // The first GNU line decides whether a blank alone or a blank and " " or "*" come
        // before the names, as sha256sum -c reads lists.
        {"l",
         "MD5 (a) = " + kMd5 + "\n" + kMd5 + " a\n" + kMd5 + "  b\n" + kMd5 + " *c\n" + kMd5 + " *",
         "md5",
         "md5",
         {{1, "a", "a", {"md5"}}, {2, "a", "a", {"md5"}}, {3, " b", " b", {"md5"}},
          {4, "*c", "*c", {"md5"}}, {5, "*", "*", {"md5"}}}},
        {"l",
         kMd5 + " *a\n" + kMd5 + " b\n" + kMd5 + "   c\n" + kMd5 + " *",
         "md5",
         "md5",
         {{1, "a", "a", {"md5"}}, {3, " c", " c", {"md5"}}},
         {2, 4}},
        {"-", kMd5 + "\n", "", "", {}, {1}},
        {"disc.SFV",
         "; made by a tool\nfile.zip CBF43926\n",
         "",
         "crc32",
         {{2, "file.zip", "file.zip", {"crc32"}}}},
        {"odd names.sha1",
         "\\" + kSha1 + "  new\\nline",
         "",
         "sha1",
         {{1, "new\nline", "new\nline", {"sha1"}}}},
    };
    for (const ListCase& test : cases) {
        SCOPED_TRACE(test.listPath + ": " + test.text.substr(0, 80));
        const AlgorithmEntry* forced =
            test.forced.empty() ? nullptr : hashing::FindAlgorithm(test.forced);
        const ListItems read = ReadListItems(test.text, test.listPath, forced);
        EXPECT_EQ(read.listAlgorithm == nullptr ? "" : read.listAlgorithm->id, test.listAlgorithm);
        EXPECT_EQ(read.malformedLines, test.malformed);
        ASSERT_EQ(read.items.size(), test.items.size());
        for (std::size_t index = 0; index < read.items.size(); ++index) {
            const CheckItem& item = read.items[index];
            EXPECT_EQ(item.lineNumber, test.items[index].line);
            EXPECT_EQ(item.name, test.items[index].name);
            EXPECT_EQ(item.path, test.items[index].path);
            EXPECT_EQ(idsOf(item.candidates), test.items[index].candidates);
            EXPECT_EQ(item.expected.size(), item.candidates.front()->digestBytes());
        }
    }
}

// Our BSD lines name every entry so that we read them back as that entry.
TEST(TagOf, ReadsBackAsTheSameEntry) {
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        EXPECT_EQ(AlgorithmOfTag(TagOf(entry)), &entry) << entry.id;
    }
    EXPECT_EQ(TagOf(*hashing::FindAlgorithm("blake2b")), "BLAKE2b");
}

TEST(CheckFile, VerdictsFromOneReadOfEachFile) {
    const testing::TempFolder folder;
    folder.write("abc", "abc");
    folder.write("empty", "");
    std::filesystem::create_directory(folder.path() / "folder");
    ::mkfifo(folder.file("fifo").c_str(), 0600);
    const std::string list = folder.file("list");
    const std::string text = kSha256 + "  abc\n" + std::string(64, '0') + "  abc\n" + kSha256 +
                             "  gone\n" + kSha256 + "  folder\n" + kSha256 + "  fifo\n";
    const ListItems sha256 = ReadListItems(text, list, hashing::FindAlgorithm("sha256"));
    // The empty file's CRC-32 shows as "0".
    const ListItems byLength = ReadListItems(kRipemd160 + "  abc\n00000000  empty\n", list);
    ASSERT_EQ(sha256.items.size(), 5U);
    ASSERT_EQ(byLength.items.size(), 2U);

    const struct Case {
        const CheckItem& item;
        CheckStatus status;
        std::string matched = {};
        int systemError = 0;
    } cases[] = {
        {sha256.items[0], CheckStatus::Ok, "sha256"},
        {sha256.items[1], CheckStatus::Failed},
        {sha256.items[2], CheckStatus::Missing, "", ENOENT},
        {sha256.items[3], CheckStatus::Unreadable, "", EISDIR},
        // The window never waits for a FIFO's writer.
        {sha256.items[4], CheckStatus::Unreadable, "", ENXIO},
        {byLength.items[0], CheckStatus::Ok, "ripemd160"},
        {byLength.items[1], CheckStatus::Ok, "crc32"},
    };
    CheckTally tally;
    for (const Case& test : cases) {
        const CheckVerdict verdict = CheckFile(test.item);
        EXPECT_EQ(verdict.status, test.status) << test.item.name;
        EXPECT_EQ(verdict.matched == nullptr ? "" : verdict.matched->id, test.matched);
        EXPECT_EQ(verdict.systemError, test.systemError) << test.item.name;
        EXPECT_EQ(verdict.failure.empty(), test.systemError == 0) << test.item.name;
        tally.add(verdict.status);
    }
    EXPECT_EQ(tally.ok, 3U);
    EXPECT_EQ(tally.failed, 1U);
    EXPECT_EQ(tally.missing, 1U);
    EXPECT_EQ(tally.unreadable, 2U);

    std::stop_source stopped;
    stopped.request_stop();
    hashing::ReadControl control;
    control.stop = stopped.get_token();
    EXPECT_EQ(CheckFile(sha256.items[0], control).status, CheckStatus::Cancelled);
}

// A list the digests' length alone decides tries the entry of the last match first.
TEST(CheckContent, AWrongGuessFallsBackToTheOtherCandidates) {
    const testing::TempFolder folder;
    folder.write("abc", "abc");
    const ListItems list = ReadListItems(kRipemd160 + "  abc\n" + kSha1 + "  abc\n" +
                                             std::string(40, 'e') + "  abc\n" + kSha1 + "  gone\n",
                                         folder.file("list"));
    ASSERT_EQ(list.items.size(), 4U);
    const struct Case {
        const CheckItem& item;
        std::string likely;
        CheckStatus status;
        std::string matched;
    } cases[] = {
        {list.items[0], "ripemd160", CheckStatus::Ok, "ripemd160"},
        {list.items[0], "sha1", CheckStatus::Ok, "ripemd160"},
        {list.items[0], "md5", CheckStatus::Ok, "ripemd160"},
        {list.items[1], "ripemd160", CheckStatus::Ok, "sha1"},
        {list.items[2], "sha1", CheckStatus::Failed, ""},
        {list.items[3], "sha1", CheckStatus::Missing, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.likely + " for " + hashing::HexText(test.item.expected));
        const hashing::ReadControl control;
        hashing::FileContent content = hashing::FileContent::Open(test.item.path, control);
        const CheckVerdict verdict =
            CheckContent(test.item, content, control, hashing::FindAlgorithm(test.likely));
        EXPECT_EQ(verdict.status, test.status);
        EXPECT_EQ(verdict.matched == nullptr ? "" : verdict.matched->id, test.matched);
    }
}

}  // namespace
}  // namespace tolvek::checks
