// The engine frame: result codes, context life cycle, helpers and the file route.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <future>
#include <random>

#include "engine/EngineUtils.h"
#include "engine/HashEngine.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"

namespace tolvek::engine {
namespace {

constexpr const char* kSha1Empty = "da39a3ee5e6b4b0d3255bfef95601890afd80709";
constexpr const char* kUntouched = "untouched";

std::vector<HashType> supportedTypes() {
    std::vector<HashType> types;
    for (HashType type = kFirstHashType; type <= kLastHashType; ++type) {
        HashContext context;
        std::string digest;
        if (HashInit(&context, type) == kHashOk && HashFinal(&context, digest) == kHashOk) {
            types.push_back(type);
        }
    }
    return types;
}

std::string stringDigest(HashType type, const std::string& text) {
    std::string digest;
    EXPECT_EQ(HashString(type, text, digest), kHashOk);
    return digest;
}

TEST(EngineFrame, KnownAnswersOfTheFrame) {
    EXPECT_EQ(stringDigest(HashTypeMD5, ""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(stringDigest(HashTypeSHA1, ""), kSha1Empty);
}

TEST(EngineFrame, UnknownTypeLeavesTheTextAlone) {
    for (const HashType type : {0u, 256u, 278u, 300u}) {
        std::string digest = kUntouched;
        EXPECT_EQ(HashString(type, "abc", digest), kHashUnknownType);
        EXPECT_EQ(digest, kUntouched);

        HashContext context;
        context.Passes = 77;
        EXPECT_EQ(HashInit(&context, type), kHashUnknownType);
        EXPECT_EQ(context.HashType, type);  // stored even when unsupported
        EXPECT_EQ(context.AlgorithmState, nullptr);
        EXPECT_EQ(context.Passes, 77);
    }
}

TEST(EngineFrame, NullContext) {
    std::string digest = kUntouched;
    EXPECT_EQ(HashInit(nullptr, HashTypeSHA1), kHashContextNull);
    EXPECT_EQ(HashUpdate(nullptr, "a", 1), kHashContextNull);
    EXPECT_EQ(HashFinal(nullptr, digest), kHashContextNull);
    EXPECT_EQ(digest, kUntouched);
}

TEST(EngineFrame, NoStateBlock) {
    HashContext context;
    context.HashType = HashTypeSHA1;
    std::string digest = kUntouched;
    EXPECT_EQ(HashUpdate(&context, "a", 1), kHashInvalidContext);
    EXPECT_EQ(HashFinal(&context, digest), kHashInvalidContext);
    EXPECT_EQ(digest, kUntouched);
}

TEST(EngineFrame, SecondFinalFindsNoState) {
    HashContext context;
    ASSERT_EQ(HashInit(&context, HashTypeMD5), kHashOk);
    std::string digest;
    EXPECT_EQ(HashFinal(&context, digest), kHashOk);
    EXPECT_EQ(context.AlgorithmState, nullptr);
    std::string second = kUntouched;
    EXPECT_EQ(HashFinal(&context, second), kHashInvalidContext);
    EXPECT_EQ(second, kUntouched);
    // A finished context can start again.
    ASSERT_EQ(HashInit(&context, HashTypeSHA1), kHashOk);
    EXPECT_EQ(HashFinal(&context, second), kHashOk);
    EXPECT_EQ(second, kSha1Empty);
}

TEST(EngineFrame, PassesAreLeftAloneByOtherTypes) {
    HashContext context;
    context.Passes = 9;
    ASSERT_EQ(HashInit(&context, HashTypeSHA1), kHashOk);
    EXPECT_EQ(context.Passes, 9);
    std::string digest;
    EXPECT_EQ(HashFinal(&context, digest), kHashOk);
}

TEST(EngineFrame, EmptyUpdateChangesNothing) {
    for (const HashType type : supportedTypes()) {
        HashContext context;
        ASSERT_EQ(HashInit(&context, type), kHashOk);
        EXPECT_EQ(HashUpdate(&context, nullptr, 0), kHashOk);
        EXPECT_EQ(HashUpdate(&context, "abc", 3), kHashOk);
        EXPECT_EQ(HashUpdate(&context, "", 0), kHashOk);
        std::string digest;
        ASSERT_EQ(HashFinal(&context, digest), kHashOk);
        EXPECT_EQ(digest, stringDigest(type, "abc")) << type;
    }
}

TEST(EngineFrame, ListHashTypesClampsTheCapacity) {
    std::array<std::int32_t, 32> types{};
    types.fill(-1);
    EXPECT_EQ(ListHashTypes(types.data(), 0), 0);
    EXPECT_EQ(types[0], -1);
    EXPECT_EQ(ListHashTypes(types.data(), 5), 5);
    EXPECT_EQ((std::vector<std::int32_t>(types.begin(), types.begin() + 6)),
              (std::vector<std::int32_t>{257, 258, 259, 260, 261, -1}));
    EXPECT_EQ(ListHashTypes(types.data(), -3), 0);
    EXPECT_EQ(ListHashTypes(types.data(), 84), 21);
    EXPECT_EQ(types[20], 277);
    EXPECT_EQ(types[21], -1);
}

TEST(EngineFrame, ErrorTexts) {
    const std::vector<std::pair<HashResult, std::string>> cases = {
        {0, "No error"},
        {1, "Unknown hash type"},
        {2, "Hash context is null"},
        {3, "Invalid hash context"},
        {4, "Could not read file"},
        {5, "Could not open file"},
        {6, "Hash test failed"},
        {7, "Unknown error"},
        {-1, "Unknown error"},
        {1000, "Unknown error"},
    };
    for (const auto& [code, text] : cases) {
        std::string message;
        HashErrorText(code, message);
        EXPECT_EQ(message, text) << code;
    }
}

TEST(EngineUtils, HexDigitsKeepsLeadingZeros) {
    EXPECT_EQ(HexDigits(8, 31), "0000001f");
    EXPECT_EQ(HexDigits(2, 171), "ab");
    EXPECT_EQ(HexDigits(2, 0x1234), "34");
    EXPECT_EQ(HexDigits(16, 0x0123456789abcdefULL), "0123456789abcdef");
    EXPECT_EQ(HexDigits(20, 0xffffffffffffffffULL), "0000ffffffffffffffff");
    EXPECT_EQ(HexDigits(1, 0), "0");
}

TEST(EngineUtils, RotationsAndSwaps) {
    EXPECT_EQ(RotL32(0x80000001u, 1), 0x00000003u);
    EXPECT_EQ(RotL32(0x12345678u, 36), RotL32(0x12345678u, 4));
    EXPECT_EQ(RotR32(0x00000003u, 1), 0x80000001u);
    EXPECT_EQ(RotR64(0, 0x0123456789abcdefULL), 0x0123456789abcdefULL);
    EXPECT_EQ(RotR64(8, 0x0123456789abcdefULL), 0xef0123456789abcdULL);
    EXPECT_EQ(ByteSwap32(0x11223344u), 0x44332211u);
    EXPECT_EQ(ByteSwap64(0x1122334455667788ULL), 0x8877665544332211ULL);
}

// Random messages with lengths around every block edge, fed in random pieces (empty ones
// included), give the one-call digest for every type.
TEST(EngineFrame, SplitInvariance) {
    std::mt19937 random(20261206);
    std::vector<std::size_t> lengths = {0, 1, 31, 32, 33, 50, 1000, 4097};
    for (const std::size_t edge : {55, 56, 63, 64, 111, 112, 117, 118, 127, 128}) {
        for (const std::size_t multiple : {1, 2, 3}) {
            lengths.push_back(edge * multiple - 1);
            lengths.push_back(edge * multiple);
            lengths.push_back(edge * multiple + 1);
        }
    }
    for (const HashType type : supportedTypes()) {
        for (const std::size_t length : lengths) {
            std::string message(length, '\0');
            for (char& byte : message) {
                byte = static_cast<char>(random());
            }
            HashContext context;
            ASSERT_EQ(HashInit(&context, type), kHashOk);
            for (std::size_t offset = 0; offset <= length;) {
                const std::size_t piece = std::min<std::size_t>(random() % 70, length - offset);
                ASSERT_EQ(HashUpdate(&context, message.data() + offset,
                                     static_cast<std::uint32_t>(piece)),
                          kHashOk);
                offset += piece;
                if (offset == length && random() % 2 == 0) {
                    break;
                }
            }
            std::string pieces;
            ASSERT_EQ(HashFinal(&context, pieces), kHashOk);
            EXPECT_EQ(pieces, stringDigest(type, message)) << type << " length " << length;
        }
    }
}

class EngineFiles : public ::testing::Test {
protected:
    testing::TempFolder folder;
};

TEST_F(EngineFiles, MissingFileCannotBeOpened) {
    std::string digest = kUntouched;
    EXPECT_EQ(HashFileByName(HashTypeSHA1, folder.file("missing"), digest), kHashOpenFailed);
    EXPECT_EQ(digest, kUntouched);
    EXPECT_EQ(QueryFileSize(folder.file("missing")), kFileNotOpened);
}

TEST_F(EngineFiles, MissingFileGivesOpenFailureEvenForAnUnknownType) {
    std::string digest;
    EXPECT_EQ(HashFileByName(300, folder.file("missing"), digest), kHashOpenFailed);
    EXPECT_EQ(HashFileByName(300, folder.write("present", "x"), digest), kHashUnknownType);
}

TEST_F(EngineFiles, EmptyFileHasTheEmptyMessageDigest) {
    std::string digest;
    EXPECT_EQ(HashFileByName(HashTypeSHA1, folder.write("empty", ""), digest), kHashOk);
    EXPECT_EQ(digest, kSha1Empty);
}

TEST_F(EngineFiles, FileHashesLikeItsContents) {
    for (const std::size_t size : {1ul, 4095ul, 4096ul, 4097ul, 300000ul}) {
        std::string contents(size, '\0');
        for (std::size_t index = 0; index < size; ++index) {
            contents[index] = static_cast<char>(index % 251);
        }
        const std::string name = folder.write("data" + std::to_string(size), contents);
        EXPECT_EQ(QueryFileSize(name), static_cast<std::int64_t>(size));
        for (const HashType type : supportedTypes()) {
            std::string digest;
            EXPECT_EQ(HashFileByName(type, name, digest), kHashOk);
            EXPECT_EQ(digest, stringDigest(type, contents)) << type << " size " << size;
        }
    }
}

TEST_F(EngineFiles, ReadOnlyFileHashes) {
    const std::string name = folder.write("readonly", "");
    ASSERT_EQ(::chmod(name.c_str(), 0444), 0);
    std::string digest;
    EXPECT_EQ(HashFileByName(HashTypeSHA1, name, digest), kHashOk);
    EXPECT_EQ(digest, kSha1Empty);
}

TEST_F(EngineFiles, DirectoryCannotBeOpened) {
    std::string digest = kUntouched;
    EXPECT_EQ(HashFileByName(HashTypeSHA1, folder.path().string(), digest), kHashOpenFailed);
    EXPECT_EQ(digest, kUntouched);
}

TEST_F(EngineFiles, FifoIsRefusedWithoutWaiting) {
    const std::string name = folder.file("fifo");
    ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
    auto result = std::async(std::launch::async, [&] {
        std::string digest;
        return HashFileByName(HashTypeSHA1, name, digest);
    });
    ASSERT_EQ(result.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "hashing a FIFO blocked";
    EXPECT_EQ(result.get(), kHashOpenFailed);
}

TEST_F(EngineFiles, CharacterDeviceIsRefused) {
    std::string digest = kUntouched;
    EXPECT_EQ(HashFileByName(HashTypeSHA1, "/dev/zero", digest), kHashOpenFailed);
    EXPECT_EQ(digest, kUntouched);
}

TEST_F(EngineFiles, FileThatEndsEarlyCannotBeRead) {
    const std::string name = folder.write("short", "abc");
    HashContext context;
    ASSERT_EQ(HashInit(&context, HashTypeSHA1), kHashOk);
    EXPECT_FALSE(HashFileRange(&context, name, 0, 10));
    EXPECT_TRUE(HashFileRange(&context, name, 1, 3));
    std::string digest;
    ASSERT_EQ(HashFinal(&context, digest), kHashOk);
    EXPECT_EQ(digest, stringDigest(HashTypeSHA1, "abcbc"));  // the failed range fed "abc"
}

// A range must lie inside the file; an empty range at the very end does, as an empty file's.
TEST_F(EngineFiles, RangeInsideTheFile) {
    const std::string abc = folder.write("abc", "abc");
    const std::string empty = folder.write("empty", "");
    const std::string version = testing::kZeroSizeFiles[0];
    const auto versionLength = static_cast<std::int64_t>(testing::FileContents(version).size());
    struct Case {
        std::string name;
        std::int64_t start;
        std::int64_t end;
        bool fed;
    };
    const Case cases[] = {
        {abc, 0, 3, true},          {abc, 1, 3, true},     {abc, 3, 3, true},
        {abc, 4, 4, false},         {abc, 9, 12, false},   {abc, 2, 1, false},
        {empty, 0, 0, true},        {empty, 1, 1, false},  {version, 0, 0, true},
        {version, versionLength, versionLength, true},     {version, versionLength + 1,
                                                            versionLength + 1, false},
    };
    for (const Case& range : cases) {
        SCOPED_TRACE(range.name + " [" + std::to_string(range.start) + ", " +
                     std::to_string(range.end) + ")");
        HashContext context;
        ASSERT_EQ(HashInit(&context, HashTypeSHA1), kHashOk);
        EXPECT_EQ(HashFileRange(&context, range.name, range.start, range.end), range.fed);
        std::string digest;
        ASSERT_EQ(HashFinal(&context, digest), kHashOk);
        if (range.fed) {
            const std::string bytes = testing::FileContents(range.name);
            EXPECT_EQ(digest,
                      stringDigest(HashTypeSHA1,
                                   bytes.substr(static_cast<std::size_t>(range.start),
                                                static_cast<std::size_t>(range.end - range.start))));
        }
    }
}

// Files under /proc report a size of 0 and still have content, which every type hashes.
TEST_F(EngineFiles, ZeroSizeFileWithContentIsReadToItsEnd) {
    for (const char* name : testing::kZeroSizeFiles) {
        ASSERT_EQ(QueryFileSize(name), 0) << name;
        const std::string contents = testing::FileContents(name);
        ASSERT_FALSE(contents.empty()) << name;
        for (const HashType type : supportedTypes()) {
            std::string digest;
            EXPECT_EQ(HashFileByName(type, name, digest), kHashOk);
            EXPECT_EQ(digest, stringDigest(type, contents)) << name << " type " << type;
        }
    }
}

// A sparse file of 4 GiB + 1 byte, zeros then "x": its size does not fit 32 bits, and every byte
// is hashed. The expected digest is python 3 hashlib's SHA-1 over the same bytes.
TEST_F(EngineFiles, SlowSparseFileOverFourGiB) {
    constexpr std::int64_t kSize = (std::int64_t{1} << 32) + 1;
    const std::string name = folder.writeSparse("sparse", kSize, 'x');
    ASSERT_EQ(QueryFileSize(name), kSize);
    std::string digest;
    EXPECT_EQ(HashFileByName(HashTypeSHA1, name, digest), kHashOk);
    EXPECT_EQ(digest, "1b3857a494dfae40ab2bc62c3c208ea87c50ceef");
}

}  // namespace
}  // namespace tolvek::engine
