// The one file reader: what it reads of files that fail or cannot be read, its progress reports,
// cancel, and several digests from one read. Files read whole by every tuning, and files that
// shrink or grow while they are read, are FileSequenceTest's and FaultRouteTest's.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "app/hashing/FileReader.h"
#include "app/hashing/Hashing.h"
#include "tests/hashing/RecordingDigester.h"
#include "tests/support/TempFolder.h"

namespace tolvek::hashing {
namespace {

// One thread, two, and four over small chunks: a file of several chunks and a tail.
const ReadTuning kTunings[] = {{kReadChunk, 1}, {kReadChunk, 2}, {kReadChunk / 16, 4}};

// What the reader gives for a file or a name it cannot open or read, and what several providers
// get from one read under every tuning: each the digest of the bytes in memory (the CRCs' pieces,
// hashed apart, join in order however many chunks the file has), or the engine's message.
TEST(FileReader, RefusesWhatItCannotOpenAndGivesEveryProviderItsDigestOrFailure) {
    tolvek::testing::TempFolder folder;
    const std::string bytes = PatternBytes(3 * kReadChunk + 77);
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct Case {
        std::string name;
        ReadStatus status;
        std::string failure = {};
    } cases[] = {
        {folder.write("file", bytes), ReadStatus::Complete},
        {folder.file("missing"), ReadStatus::OpenFailed, "Could not open file"},
        {folder.path().string(), ReadStatus::OpenFailed, "Could not open file"},
        // Refused at once: no writer ever opens it.
        {fifo, ReadStatus::OpenFailed, "Could not open file"},
        {"/dev/null", ReadStatus::OpenFailed, "Could not open file"},
        // Reports size 0 and fails its first read at offset 0.
        {"/proc/self/mem", ReadStatus::ReadFailed, "Could not read file"},
    };
    std::vector<const Provider*> providers;
    for (const std::string_view id : {"md5", "sha1", "crc16", "crc32", "crc32c", "crc64",
                                      "crc16arc", "whirlpool", "tiger192", "panama", "md5"}) {
        providers.push_back(&FindAlgorithm(id)->fileRoute);
    }
    for (const ReadTuning& tuning : kTunings) {
        ReadControl control;
        control.tuning = tuning;
        for (const Case& test : cases) {
            SCOPED_TRACE(::testing::Message() << test.name << ", " << tuning.threads << " threads");
            RecordingDigester digester;
            Digester* const digesters[] = {&digester};
            EXPECT_EQ(ReadFile(test.name, digesters, control), test.status);
            const FileDigests together = HashFileWith(test.name, providers, control);
            ASSERT_EQ(together.outcomes.size(), providers.size());
            for (std::size_t index = 0; index < providers.size(); ++index) {
                const DigestOutcome& outcome = together.outcomes[index];
                EXPECT_EQ(outcome.ok, test.failure.empty()) << index;
                EXPECT_EQ(outcome.failure, test.failure) << index;
                if (outcome.ok) {
                    EXPECT_EQ(outcome.digest, HashText(*providers[index], bytes).digest) << index;
                }
            }
        }
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
// read whole or in chunks; a smaller one stays for the next reader. Read again from the device,
// one read at a time, it gives the same bytes.
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
            if (keepCachedUpTo == 0) {
                control.tuning = {kReadChunk / 16, 4};
                RecordingDigester fromDevice;
                Digester* const again[] = {&fromDevice};
                ASSERT_EQ(ReadFile(name, again, control), ReadStatus::Complete);
                EXPECT_TRUE(fromDevice.bytes() == digester.bytes());
            }
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

}  // namespace
}  // namespace tolvek::hashing
