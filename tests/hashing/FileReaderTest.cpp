// The one file reader: what it reads of files that change, fail or cannot be read, its progress
// reports, cancel, and several digests from one read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/hashing/FileReader.h"
#include "app/hashing/Hashing.h"
#include "tests/hashing/RecordingDigester.h"
#include "tests/support/TempFolder.h"

namespace tolvek::hashing {
namespace {

namespace fs = std::filesystem;

// What happens to the file while it is read: after the first chunk has been read.
enum class Change { None, Truncate, Append };

// One thread reads and hashes in turn; several share reading and hashing, reading chunks out of
// order, here with small chunks so that the files have many.
const ReadTuning kTunings[] = {{kReadChunk, 1}, {kReadChunk, 2}, {kReadChunk / 16, 4}};

TEST(FileReader, TakesTheSizeOnceAndFailsWhenTheFileShrinks) {
    const struct Case {
        const char* what;
        std::size_t length;
        Change change;
        ReadStatus status;
    } cases[] = {
        {"empty file", 0, Change::None, ReadStatus::Complete},
        {"one byte", 1, Change::None, ReadStatus::Complete},
        {"exactly one chunk", kReadChunk, Change::None, ReadStatus::Complete},
        {"several chunks", 5 * kReadChunk + 3, Change::None, ReadStatus::Complete},
        {"shorter than at open", 3 * kReadChunk, Change::Truncate, ReadStatus::ReadFailed},
        {"appended to while read", 3 * kReadChunk, Change::Append, ReadStatus::Complete},
    };
    tolvek::testing::TempFolder folder;
    for (const ReadTuning& tuning : kTunings) {
        for (const Case& test : cases) {
            SCOPED_TRACE(::testing::Message() << test.what << ", " << tuning.threads << " threads");
            const std::string original = PatternBytes(test.length);
            const std::string fileName = folder.write("file", original);
            bool changed = false;
            ReadControl control;
            control.tuning = tuning;
            control.progressInterval = {};
            control.progress = [&](const ReadProgress&) {
                if (changed || test.change == Change::None) {
                    return;
                }
                changed = true;
                if (test.change == Change::Truncate) {
                    fs::resize_file(fileName, test.length / 2 + 1);
                } else {
                    std::ofstream(fileName, std::ios::binary | std::ios::app) << "appended";
                }
            };
            RecordingDigester first;
            RecordingDigester second;
            Digester* const digesters[] = {&first, &second};
            EXPECT_EQ(ReadFile(fileName, digesters, control), test.status);
            if (test.status == ReadStatus::Complete) {
                EXPECT_TRUE(first.bytes() == original) << first.bytes().size();
                EXPECT_TRUE(second.bytes() == original) << second.bytes().size();
                EXPECT_EQ(first.misalignedPieces() + second.misalignedPieces(), 0U);
            }
        }
    }
}

TEST(FileReader, RefusesWhatItCannotOpenAndReportsFailingReads) {
    tolvek::testing::TempFolder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct Case {
        std::string name;
        ReadStatus status;
    } cases[] = {
        {folder.file("missing"), ReadStatus::OpenFailed},
        {folder.path().string(), ReadStatus::OpenFailed},
        // Refused at once: no writer ever opens it.
        {fifo, ReadStatus::OpenFailed},
        {"/dev/null", ReadStatus::OpenFailed},
        // Reports size 0 and fails its first read at offset 0.
        {"/proc/self/mem", ReadStatus::ReadFailed},
    };
    for (const Case& test : cases) {
        RecordingDigester digester;
        Digester* const digesters[] = {&digester};
        EXPECT_EQ(ReadFile(test.name, digesters), test.status) << test.name;
    }
}

// A list check may feed a file a second time, for the entries its first guess left out. A file
// of up to one chunk, or whose size reads 0 and which ends soon (empty, most of /proc), is read
// whole as it is opened: feeding it reads nothing and starts no thread.
TEST(FileReader, ContentIsFedAgainUnlessItIsAStream) {
    tolvek::testing::TempFolder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::jthread writer([&] { std::ofstream(fifo, std::ios::binary) << "streamed"; });
    const struct Case {
        std::string name;
        bool again;
        bool readWhenOpened;
    } cases[] = {
        {folder.write("small", PatternBytes(1000)), true, true},
        {folder.write("empty", ""), true, true},
        {folder.write("large", PatternBytes(3 * kReadChunk + 1)), true, false},
        {"/proc/self/cmdline", true, true},
        {fifo, false, false},
    };
    ReadControl control;
    control.readStreams = true;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FileContent content = FileContent::Open(test.name, control);
        EXPECT_EQ(content.readsWhenFed(), !test.readWhenOpened);
        RecordingDigester first;
        RecordingDigester second;
        Digester* const firstFeed[] = {&first};
        Digester* const secondFeed[] = {&second};
        ASSERT_EQ(content.feed(firstFeed, control), ReadStatus::Complete);
        EXPECT_EQ(first.bytes().empty(), test.name == folder.file("empty"));
        EXPECT_EQ(content.feedsAgain(), test.again);
        if (test.again) {
            ASSERT_EQ(content.feed(secondFeed, control), ReadStatus::Complete);
            EXPECT_TRUE(second.bytes() == first.bytes());
        } else {
            EXPECT_EQ(content.feed(secondFeed, control), ReadStatus::ReadFailed);
        }
    }
}

// Reading a file larger than the tuning keeps cached drops it from the page cache, whether it is
// read whole or in chunks; a smaller one stays for the next reader.
TEST(FileReader, ReadingMoreThanIsKeptCachedDropsItFromThePageCache) {
    tolvek::testing::TempFolder folder;
    for (const std::size_t length : {kReadChunk / 2, 4 * kReadChunk + 5000}) {
        const std::string name = folder.write("file", PatternBytes(length));
        for (const std::uint64_t keepCachedUpTo : {std::uint64_t{0}, std::uint64_t{1} << 40}) {
            SCOPED_TRACE(::testing::Message() << length << " bytes, keep " << keepCachedUpTo);
            // Read once so that every page is cached, as a file just written or read is.
            tolvek::testing::FileContents(name);
            if (tolvek::testing::CachedPages(name) == 0) {
                GTEST_SKIP() << "this file system keeps no page cache to drop";
            }
            ReadControl control;
            control.tuning.keepCachedUpTo = keepCachedUpTo;
            RecordingDigester digester;
            Digester* const digesters[] = {&digester};
            ASSERT_EQ(ReadFile(name, digesters, control), ReadStatus::Complete);
            EXPECT_EQ(tolvek::testing::CachedPages(name) == 0, keepCachedUpTo == 0);
        }
    }
}

TEST(FileReader, ProgressRisesToTheTotal) {
    tolvek::testing::TempFolder folder;
    const std::size_t length = 6 * kReadChunk + 5;
    const std::string fileName = folder.write("file", PatternBytes(length));
    std::vector<ReadProgress> reports;
    ReadControl control;
    control.progressInterval = {};
    control.progress = [&](const ReadProgress& progress) { reports.push_back(progress); };
    RecordingDigester first;
    RecordingDigester second;
    Digester* const digesters[] = {&first, &second};
    ASSERT_EQ(ReadFile(fileName, digesters, control), ReadStatus::Complete);

    ASSERT_GE(reports.size(), 2U);
    for (std::size_t index = 1; index < reports.size(); ++index) {
        EXPECT_GE(reports[index].done, reports[index - 1].done);
        EXPECT_GE(reports[index].elapsed, reports[index - 1].elapsed);
    }
    for (const ReadProgress& report : reports) {
        EXPECT_EQ(report.total, length);
    }
    EXPECT_EQ(reports.back().done, length);
}

// Slow enough that the read is far from its end when the stop arrives.
class SlowDigester final : public Digester {
public:
    void update(std::span<const std::uint8_t> bytes) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_bytes += bytes.size();
    }
    DigestOutcome finish() override { return {true, {}, {}}; }
    std::size_t bytes() const { return m_bytes; }

private:
    std::atomic<std::size_t> m_bytes = 0;
};

TEST(FileReader, CancelEndsTheReadWithNothingLeftRunning) {
    tolvek::testing::TempFolder folder;
    const std::size_t length = 64 * kReadChunk;
    const std::string fileName = folder.writeSparse("file", static_cast<std::int64_t>(length), 1);
    std::stop_source stop;
    ReadControl control;
    control.stop = stop.get_token();
    control.progressInterval = {};
    control.progress = [&](const ReadProgress& progress) {
        if (progress.done >= 2 * kReadChunk) {
            stop.request_stop();
        }
    };
    auto slow = std::make_unique<SlowDigester>();
    auto other = std::make_unique<RecordingDigester>();
    Digester* const digesters[] = {slow.get(), other.get()};
    EXPECT_EQ(ReadFile(fileName, digesters, control), ReadStatus::Cancelled);
    EXPECT_LT(slow->bytes(), length);
    // A worker still running would now use freed digesters, which the sanitizer build reports.
    slow.reset();
    other.reset();
}

// Whatever the threads and chunks, the digests of one read equal those of the bytes in memory:
// the CRCs' pieces, hashed apart, join in order however many chunks the file has.
TEST(FileReader, SeveralDigestsFromOneReadEqualTheDigestsOfTheBytes) {
    tolvek::testing::TempFolder folder;
    const std::string bytes = PatternBytes(3 * kReadChunk + 77);
    const std::string fileName = folder.write("file", bytes);
    std::vector<const Provider*> providers;
    for (const std::string_view id :
         {"md5", "sha1", "crc32", "crc32c", "crc64", "crc16arc", "whirlpool", "tiger192", "md5"}) {
        providers.push_back(&FindAlgorithm(id)->fileRoute);
    }
    for (const ReadTuning& tuning : kTunings) {
        ReadControl control;
        control.tuning = tuning;
        const FileDigests together = HashFileWith(fileName, providers, control);
        ASSERT_FALSE(together.cancelled);
        ASSERT_EQ(together.outcomes.size(), providers.size());
        for (std::size_t index = 0; index < providers.size(); ++index) {
            EXPECT_EQ(together.outcomes[index].digest, HashText(*providers[index], bytes).digest)
                << index << ", " << tuning.threads << " threads";
        }
    }
}

TEST(FileReader, FailuresReachEveryProviderWithTheEngineMessages) {
    tolvek::testing::TempFolder folder;
    const std::vector<const Provider*> providers = {&FindAlgorithm("sha1")->fileRoute,
                                                    &FindAlgorithm("crc16")->fileRoute,
                                                    &FindAlgorithm("panama")->fileRoute};
    const struct Case {
        std::string name;
        const char* message;
    } cases[] = {{folder.file("missing"), "Could not open file"},
                 {"/proc/self/mem", "Could not read file"}};
    for (const Case& test : cases) {
        const FileDigests digests = HashFileWith(test.name, providers);
        ASSERT_EQ(digests.outcomes.size(), providers.size());
        for (const DigestOutcome& outcome : digests.outcomes) {
            EXPECT_FALSE(outcome.ok);
            EXPECT_EQ(outcome.failure, test.message);
        }
    }
}

}  // namespace
}  // namespace tolvek::hashing
