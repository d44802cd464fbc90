// The items a checksum list asks to check, and the verdict on each file from one read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "app/checks/ListCheck.h"
#include "app/hashing/DigestText.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::checks {
namespace {

using hashing::AlgorithmEntry;

// Published digests of "abc" (FIPS 180-2, the RIPEMD-160 paper).
const std::string kSha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";
const std::string kSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string kRipemd160 = "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc";

// One item as list_items.cases writes it: "line|name|path|candidate ids", then "|size" when
// the list gives the size.
std::string itemText(const CheckItem& item) {
    std::string ids;
    for (const AlgorithmEntry* candidate : item.candidates) {
        ids.append(ids.empty() ? "" : " ").append(candidate->id);
    }
    std::string text =
        std::to_string(item.lineNumber) + "|" + item.name + "|" + item.path + "|" + ids;
    if (item.size) {
        text.append("|").append(std::to_string(*item.size));
    }
    return text;
}

TEST(ReadListItems, AlgorithmNameAndFileOfEachLine) {
    for (const testing::Case& list : testing::ReadCaseFile("checks/list_items.cases")) {
        SCOPED_TRACE(list.where);
        const AlgorithmEntry* forced =
            list.has("Forced") ? hashing::FindAlgorithm(list.get("Forced")) : nullptr;
        const ListItems read = ReadListItems(list.get("Text"), list.get("Path"), forced);
        EXPECT_EQ(read.listAlgorithm == nullptr ? "" : read.listAlgorithm->id, list.get("List"));
        std::vector<std::string> malformed;
        for (const std::size_t line : read.malformedLines) {
            malformed.push_back(std::to_string(line));
        }
        EXPECT_EQ(malformed, testing::SplitField(list.get("Malformed"), ' '));
        EXPECT_EQ(read.unsupported, testing::SplitField(list.get("Unsupported"), ' '));
        std::vector<std::string> items;
        for (const CheckItem& item : read.items) {
            items.push_back(itemText(item));
            EXPECT_EQ(item.expected.size(), item.candidates.front()->digestBytes());
        }
        EXPECT_EQ(items, testing::SplitField(list.get("Items"), ';'));
    }
}

// Our BSD lines name every entry so that we read them back as that entry.
TEST(TagOf, ReadsBackAsTheSameEntry) {
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        EXPECT_EQ(AlgorithmOfTag(TagOf(entry)), &entry) << entry.id;
    }
    EXPECT_EQ(TagOf(*hashing::FindAlgorithm("blake2b")), "BLAKE2b");
}

// Each verdict from one read of the file: CheckContent's, alone or given the entry a list
// that the digests' length alone decides tries first (the entry of the last match), falling back
// to the other candidates; a file no candidate gives has every candidate's digest, in their order.
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
    const ListItems byLength = ReadListItems(kRipemd160 + "  abc\n00000000  empty\n" + kSha1 +
                                                 "  abc\n" + std::string(40, 'e') + "  abc\n",
                                             list);
    ASSERT_EQ(sha256.items.size(), 5U);
    ASSERT_EQ(byLength.items.size(), 4U);

    const struct Case {
        const CheckItem& item;
        CheckStatus status;
        std::string matched = {};
        int systemError = 0;
        std::string likely = {};       // CheckContent's first guess, if any
        std::string firstDigest = {};  // of the first candidate, for a file that FAILED
        bool alone = false;            // its row's usual entry computed alone, and matched
    } cases[] = {
        {sha256.items[0], CheckStatus::Ok, "sha256"},
        {sha256.items[1], CheckStatus::Failed},
        {sha256.items[2], CheckStatus::Missing, "", ENOENT},
        {sha256.items[3], CheckStatus::Unreadable, "", EISDIR},
        // The window never waits for a FIFO's writer.
        {sha256.items[4], CheckStatus::Unreadable, "", ENXIO},
        {byLength.items[0], CheckStatus::Ok, "ripemd160"},
        {byLength.items[1], CheckStatus::Ok, "crc32"},
        {byLength.items[0], CheckStatus::Ok, "ripemd160", 0, "ripemd160"},
        {byLength.items[0], CheckStatus::Ok, "ripemd160", 0, "md5"},
        {byLength.items[2], CheckStatus::Ok, "sha1", 0, "ripemd160"},
        {byLength.items[2], CheckStatus::Ok, "sha1", 0, "", "", true},
        {byLength.items[3], CheckStatus::Failed, "", 0, "ripemd160", kSha1},
        {sha256.items[2], CheckStatus::Missing, "", ENOENT, "sha1"},
    };
    CheckTally tally;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.item.name + " " + test.likely);
        const hashing::ReadControl control;
        hashing::FileContent content = hashing::FileContent::Open(test.item.path, control);
        const ContentCheck check =
            CheckContent(test.item, content, control, hashing::FindAlgorithm(test.likely));
        const CheckVerdict& verdict = check.verdict;
        if (!test.firstDigest.empty()) {
            ASSERT_EQ(check.digests.outcomes.size(), test.item.candidates.size());
            EXPECT_EQ(hashing::HexText(check.digests.outcomes.front().digest), test.firstDigest);
        }
        if (test.alone) {
            EXPECT_EQ(check.digests.outcomes.size(), 1U);
        }
        EXPECT_EQ(verdict.status, test.status);
        EXPECT_EQ(verdict.matched == nullptr ? "" : verdict.matched->id, test.matched);
        EXPECT_EQ(verdict.systemError, test.systemError);
        EXPECT_EQ(verdict.failure.empty(), test.systemError == 0);
        tally.add(verdict.status);
    }
    // What the first read of a file hashes, together with other small files: the guess alone.
    const auto firstComputed = [](const CheckItem& item, const char* likely) {
        std::string ids;
        for (const AlgorithmEntry* entry : FirstComputed(item, hashing::FindAlgorithm(likely))) {
            ids += std::string(entry->id) + " ";
        }
        return ids;
    };
    EXPECT_EQ(firstComputed(byLength.items[2], ""), "sha1 ");
    EXPECT_EQ(firstComputed(byLength.items[2], "ripemd160"), "ripemd160 ");
    EXPECT_EQ(firstComputed(sha256.items[0], "md5"), "sha256 ");
    EXPECT_EQ(tally.ok, 7U);
    EXPECT_EQ(tally.failed, 2U);
    EXPECT_EQ(tally.missing, 2U);
    EXPECT_EQ(tally.unreadable, 2U);

    std::stop_source stopped;
    stopped.request_stop();
    hashing::ReadControl control;
    control.stop = stopped.get_token();
    EXPECT_EQ(CheckFile(sha256.items[0], control).status, CheckStatus::Cancelled);
}

}  // namespace
}  // namespace tolvek::checks
