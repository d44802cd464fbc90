// The engine frame: result codes, context life cycle, helpers, and the file routes: a type's
// digest of a file and the whole-file checksums.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <future>
#include <map>

#include "engine/CRC_.h"
#include "engine/HashEngine.h"
#include "tests/support/CpuPaths.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::engine {
namespace {

constexpr const char* kSha1Empty = "da39a3ee5e6b4b0d3255bfef95601890afd80709";
constexpr const char* kUntouched = "untouched";
constexpr std::uint32_t kPreset = 0x5A5A;
constexpr FileChecksum kFileChecksums[] = {FileChecksum::Crc16Xmodem, FileChecksum::Crc16Arc,
                                           FileChecksum::Crc32};

std::vector<HashType> supportedTypes() {
    std::array<std::int32_t, 64> types{};
    return {types.begin(), types.begin() + ListHashTypes(types.data(), types.size())};
}

std::string stringDigest(HashType type, const std::string& text) {
    std::string digest;
    EXPECT_EQ(HashString(type, text, digest), kHashOk);
    return digest;
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

// No context, one that was never started, and one whose HashFinal already ran.
TEST(EngineFrame, ContextWithoutStateIsRefused) {
    std::string digest = kUntouched;
    EXPECT_EQ(HashInit(nullptr, HashTypeSHA1), kHashContextNull);
    EXPECT_EQ(HashUpdate(nullptr, "a", 1), kHashContextNull);
    EXPECT_EQ(HashFinal(nullptr, digest), kHashContextNull);

    HashContext never;
    never.HashType = HashTypeSHA1;
    EXPECT_EQ(HashUpdate(&never, "a", 1), kHashInvalidContext);
    EXPECT_EQ(HashFinal(&never, digest), kHashInvalidContext);

    HashContext finished;
    ASSERT_EQ(HashInit(&finished, HashTypeMD5), kHashOk);
    std::string first;
    EXPECT_EQ(HashFinal(&finished, first), kHashOk);
    EXPECT_EQ(finished.AlgorithmState, nullptr);
    EXPECT_EQ(HashUpdate(&finished, "a", 1), kHashInvalidContext);
    EXPECT_EQ(HashFinal(&finished, digest), kHashInvalidContext);
    EXPECT_EQ(digest, kUntouched);
    // A finished context can start again.
    ASSERT_EQ(HashInit(&finished, HashTypeSHA1), kHashOk);
    EXPECT_EQ(HashFinal(&finished, digest), kHashOk);
    EXPECT_EQ(digest, kSha1Empty);
}

// HAVAL and Tiger start at three passes whatever a reused context held (a 5-pass self-test
// vector must not leak into the next hash); every other type leaves the field alone. Empty
// updates change nothing.
TEST(EngineFrame, HashInitSetsThePassesOfHavalAndTigerOnly) {
    for (const HashType type : supportedTypes()) {
        HashContext context;
        context.Passes = 5;
        ASSERT_EQ(HashInit(&context, type), kHashOk);
        const bool hasPasses = (type >= HashTypeHAVAL128 && type <= HashTypeHAVAL256) ||
                               (type >= HashTypeTiger128 && type <= HashTypeTiger192);
        EXPECT_EQ(context.Passes, hasPasses ? 3 : 5) << type;
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
    for (const testing::Case& error : testing::ReadCaseFile("engine/error_texts.cases")) {
        std::string message;
        HashErrorText(std::stoi(error.get("Code")), message);
        EXPECT_EQ(message, error.get("Text")) << error.where;
    }
}

// A whole-file checksum through its public call (FileCrc16, FileCrcArc, FileCrc32), started
// from `value` as a caller presets it.
bool fileChecksum(FileChecksum kind, const std::string& name, std::uint32_t& value) {
    if (kind == FileChecksum::Crc32) {
        return FileCrc32(name, value);
    }
    auto narrow = static_cast<std::uint16_t>(value);
    const bool ok =
        kind == FileChecksum::Crc16Arc ? FileCrcArc(name, narrow) : FileCrc16(name, narrow);
    value = narrow;
    return ok;
}

class EngineFiles : public ::testing::Test {
protected:
    testing::TempFolder folder;
};

// What cannot be opened, or would block or never end, is refused at once and leaves the text
// or checksum alone; a missing name is that even for an unknown type.
TEST_F(EngineFiles, NamesThatCannotBeOpened) {
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name :
         {folder.file("missing"), folder.path().string(), fifo, std::string("/dev/zero")}) {
        auto result = std::async(std::launch::async, [&] {
            std::string digest = kUntouched;
            EXPECT_EQ(HashFileByName(HashTypeSHA1, name, digest), kHashOpenFailed) << name;
            EXPECT_EQ(digest, kUntouched) << name;
            for (const FileChecksum kind : kFileChecksums) {
                std::uint32_t value = kPreset;
                EXPECT_EQ(ChecksumFile(kind, name, value), kHashOpenFailed) << name;
                EXPECT_FALSE(fileChecksum(kind, name, value)) << name;
                EXPECT_EQ(value, kPreset) << name;
            }
        });
        ASSERT_EQ(result.wait_for(std::chrono::seconds(10)), std::future_status::ready)
            << "hashing " << name << " blocked";
    }
    EXPECT_EQ(QueryFileSize(folder.file("missing")), kFileNotOpened);
    std::string digest;
    EXPECT_EQ(HashFileByName(300, folder.file("missing"), digest), kHashOpenFailed);
    EXPECT_EQ(HashFileByName(300, folder.write("present", "x"), digest), kHashUnknownType);
}

// Every type and every whole-file checksum hashes a file as its contents: empty (which leaves a
// checksum as preset), read-only, more than one read piece, and the files under /proc that
// report a size of 0 and still have content.
TEST_F(EngineFiles, FileHashesLikeItsContents) {
    std::vector<std::string> names = {folder.write("empty", "")};
    for (const std::size_t size : {1ul, 4095ul, 4096ul, 4097ul, 600001ul}) {
        names.push_back(folder.write("data" + std::to_string(size), testing::PatternBytes(size)));
    }
    const std::string readOnly = folder.write("readonly", "abc");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    names.push_back(readOnly);
    names.insert(names.end(), testing::kZeroSizeFiles.begin(), testing::kZeroSizeFiles.end());
    for (const std::string& name : names) {
        const std::string contents = testing::FileContents(name);
        const bool zeroSize = name.starts_with("/proc/");
        EXPECT_EQ(QueryFileSize(name), zeroSize ? 0 : static_cast<std::int64_t>(contents.size()));
        ASSERT_EQ(contents.empty(), name == names.front()) << name;
        for (const HashType type : supportedTypes()) {
            std::string digest;
            EXPECT_EQ(HashFileByName(type, name, digest), kHashOk);
            EXPECT_EQ(digest, stringDigest(type, contents)) << name << " type " << type;
        }
        for (const FileChecksum kind : kFileChecksums) {
            ChecksumRun run(kind);
            run.update({reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size()});
            std::uint32_t value = kPreset;
            EXPECT_TRUE(fileChecksum(kind, name, value)) << name;
            EXPECT_EQ(value, contents.empty() ? kPreset : run.value()) << name;
        }
    }
}

// tests/engine/file_ranges.cases
TEST_F(EngineFiles, RangeInsideTheFile) {
    const std::map<std::string, std::string> files = {{"abc", folder.write("abc", "abc")},
                                                      {"empty", folder.write("empty", "")},
                                                      {"version", testing::kZeroSizeFiles[0]}};
    for (const testing::Case& range : testing::ReadCaseFile("engine/file_ranges.cases")) {
        SCOPED_TRACE(range.where);
        const std::string name = files.at(range.get("File"));
        const std::string bytes = testing::FileContents(name);
        const auto position = [&](const std::string& text) {
            return text.starts_with("end") ? static_cast<std::int64_t>(bytes.size()) +
                                                 (text.size() > 3 ? std::stoll(text.substr(3)) : 0)
                                           : std::stoll(text);
        };
        const std::int64_t start = position(range.get("Start"));
        const std::int64_t end = position(range.get("End"));
        HashContext context;
        ASSERT_EQ(HashInit(&context, HashTypeSHA1), kHashOk);
        EXPECT_EQ(HashFileRange(&context, name, start, end), range.has("Fed"));
        std::string digest;
        ASSERT_EQ(HashFinal(&context, digest), kHashOk);
        if (range.has("Fed")) {
            EXPECT_EQ(digest, stringDigest(HashTypeSHA1,
                                           bytes.substr(static_cast<std::size_t>(start),
                                                        static_cast<std::size_t>(end - start))));
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

// A sparse file of 2 GiB + 5 bytes, zeros then "x": its size does not fit a signed 32-bit
// count, and it is read in pieces. Expected values from python 3 over the same bytes, fed in
// 16 MiB pieces: binascii.crc_hqx (CRC-16/XMODEM), crcmod's "crc-16" (ARC) and zlib.crc32.
TEST_F(EngineFiles, SlowSparseFileOverTwoGiBChecksums) {
    const std::string name = folder.writeSparse("sparse", (std::int64_t{1} << 31) + 5, 'x');
    const std::uint32_t expected[] = {0xFF9F, 0x2200, 0x99D2F6B7};
    for (std::size_t index = 0; index < std::size(kFileChecksums); ++index) {
        std::uint32_t value = 0;
        EXPECT_TRUE(fileChecksum(kFileChecksums[index], name, value));
        EXPECT_EQ(value, expected[index]);
    }
}

}  // namespace
}  // namespace tolvek::engine
