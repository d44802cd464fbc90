// Whole-stream and whole-file hashing through a class reference.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <vector>

#include "framework/DigestHashMD4.h"
#include "framework/DigestInternal.h"
#include "tests/framework/FrameworkClasses.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"

namespace tolvek::framework {
namespace {

using testing::MemoryStream;
using testing::PatternBytes;
using Call = std::array<std::int64_t, 3>;  // min, max, pos

class ProgressRecorder final : public ProgressObserver {
public:
    void Progress(std::int64_t min, std::int64_t max, std::int64_t pos) override {
        calls.push_back({min, max, pos});
    }

    std::vector<Call> calls;
};

int g_releases = 0;

// Counts the hash objects released, and puts the chunk size back after each test.
class HashStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_releases = 0;
        internal::SetReleaseObserver([](const void*, std::size_t) { ++g_releases; });
    }
    void TearDown() override {
        internal::SetReleaseObserver(nullptr);
        StreamChunkSize = 8192;
    }

    static std::string hexOf(const std::string& message) {
        return testing::DigestOf(ClassOf<THash_MD5>, message, ClassOf<TFormat_HEX>);
    }

    std::string hashStream(ByteStream& stream, std::int64_t size) {
        return ClassOf<THash_MD5>->HashStream(stream, size, ClassOf<TFormat_HEX>, &progress);
    }

    ProgressRecorder progress;
};

// A negative size hashes the whole stream from its start; any other counts from the current
// position, where 0 gives the empty message's digest.
TEST_F(HashStreamTest, SizeChoosesTheBytesHashed) {
    const std::string message = PatternBytes(1000);
    const struct Case {
        std::int64_t position;
        std::int64_t size;
        std::int64_t start;
        std::int64_t end;
    } cases[] = {{500, -1, 0, 1000}, {100, 300, 100, 400}, {2, 0, 2, 2}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.size);
        const std::string expected = hexOf(message.substr(
            static_cast<std::size_t>(test.start), static_cast<std::size_t>(test.end - test.start)));
        g_releases = 0;
        progress.calls.clear();
        MemoryStream stream(message);
        stream.SetPosition(test.position);
        EXPECT_EQ(hashStream(stream, test.size), expected);
        EXPECT_EQ(stream.Position(), test.end);
        EXPECT_EQ(g_releases, 1);
        std::vector<Call> calls = {{test.start, test.end, test.start}};
        if (test.end != test.start) {
            calls.push_back({test.start, test.end, test.end});
        }
        EXPECT_EQ(progress.calls, calls);
    }
}

TEST_F(HashStreamTest, ObserverHearsOfEveryChunkAndOfTheEnd) {
    StreamChunkSize = 100;  // rounded up to two 64-byte blocks
    const std::string message = PatternBytes(300);
    MemoryStream stream(message);
    EXPECT_EQ(hashStream(stream, -1), hexOf(message));
    EXPECT_EQ(progress.calls,
              (std::vector<Call>{{0, 300, 0}, {0, 300, 128}, {0, 300, 256}, {0, 300, 300}}));
    EXPECT_EQ(StreamChunkSize, 100);
}

// Snefru's 8192-byte default chunk is rounded up to 171 of its 48-byte blocks.
TEST_F(HashStreamTest, ChunksAreWholeBlocksOfTheClass) {
    const std::string message = PatternBytes(20000);
    MemoryStream stream(message);
    EXPECT_EQ(ClassOf<THash_Snefru128>->HashStream(stream, -1, nullptr, &progress),
              testing::DigestOf(ClassOf<THash_Snefru128>, message));
    EXPECT_EQ(progress.calls, (std::vector<Call>{{0, 20000, 0}, {0, 20000, 8208},
                                                 {0, 20000, 16416}, {0, 20000, 20000}}));
}

TEST_F(HashStreamTest, ChunkSizeOfZeroOrLessIsReset) {
    for (const std::int32_t chunkSize : {0, -64}) {
        StreamChunkSize = chunkSize;
        progress.calls.clear();
        MemoryStream stream(PatternBytes(20000));
        hashStream(stream, -1);
        EXPECT_EQ(StreamChunkSize, 8192);
        EXPECT_EQ(progress.calls.size(), 4u) << chunkSize;  // 8192, 8192, 3616, the end
    }
}

TEST_F(HashStreamTest, ShortStreamRaisesAndCleansUp) {
    MemoryStream stream(PatternBytes(100));
    EXPECT_THROW(hashStream(stream, 200), EStreamReadError);
    EXPECT_EQ(progress.calls, (std::vector<Call>{{0, 200, 0}, {0, 200, 200}}));
    EXPECT_EQ(g_releases, 1);
}

TEST_F(HashStreamTest, FilesOfEveryKindThatCannotBeOpened) {
    testing::TempFolder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name :
         {folder.file("missing"), folder.path().string(), fifo, std::string("/dev/null")}) {
        try {
            ClassOf<THash_MD5>->HashFile(name, ClassOf<TFormat_HEX>, &progress);
            ADD_FAILURE() << name << " was hashed";
        } catch (const EFileOpenError& error) {
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(g_releases, 0);  // no hash object was made
    EXPECT_TRUE(progress.calls.empty());
}

// Every file hashes as its bytes: empty, read-only, several chunks, and the files under /proc
// that report a size of 0 and still have content; the observer ends at the file's end.
TEST_F(HashStreamTest, FileHashesLikeItsBytes) {
    testing::TempFolder folder;
    const std::string readOnly = folder.write("read-only", "abc");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    const std::string large = folder.write("large", PatternBytes(3 * 8192 + 5));
    std::vector<std::string> names = {folder.write("empty", ""), readOnly, large};
    names.insert(names.end(), testing::kZeroSizeFiles.begin(), testing::kZeroSizeFiles.end());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string contents = testing::FileContents(name);
        const std::string expected = hexOf(contents);
        progress.calls.clear();
        g_releases = 0;
        EXPECT_EQ(ClassOf<THash_MD5>->HashFile(name, ClassOf<TFormat_HEX>, &progress), expected);
        EXPECT_EQ(g_releases, 1);
        const auto length = static_cast<std::int64_t>(contents.size());
        ASSERT_FALSE(progress.calls.empty());
        EXPECT_EQ(progress.calls.back(), (Call{0, length, length}));
        if (name == large) {
            EXPECT_EQ(progress.calls.size(), 5u) << "the start, then each 8192-byte chunk";
        }
        EXPECT_EQ(ClassOf<THash_MD5>->HashFile(name, nullptr, nullptr).size(), 16u);
    }
}

}  // namespace
}  // namespace tolvek::framework
