// The whole-file checksums: files as their bytes, empty, read-only, missing and refused files,
// and a file too large for a signed 32-bit size.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <future>
#include <vector>

#include "engine/CRC_.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::engine {
namespace {

// The three checksums of one file, each preset to `preset` as a caller would.
struct FileValues {
    bool crc16Ok;
    bool crcArcOk;
    bool crc32Ok;
    std::uint16_t crc16;
    std::uint16_t crcArc;
    std::uint32_t crc32;
};

FileValues checksumsOf(const std::string& fileName, std::uint32_t preset = 0) {
    FileValues values{
        false, false, false, static_cast<std::uint16_t>(preset), static_cast<std::uint16_t>(preset),
        preset};
    values.crc16Ok = FileCrc16(fileName, values.crc16);
    values.crcArcOk = FileCrcArc(fileName, values.crcArc);
    values.crc32Ok = FileCrc32(fileName, values.crc32);
    return values;
}

void expectValues(const FileValues& values, std::uint16_t crc16, std::uint16_t crcArc,
                  std::uint32_t crc32) {
    EXPECT_TRUE(values.crc16Ok && values.crcArcOk && values.crc32Ok);
    EXPECT_EQ(values.crc16, crc16);
    EXPECT_EQ(values.crcArc, crcArc);
    EXPECT_EQ(values.crc32, crc32);
}

void expectFailure(const std::string& fileName, HashResult code) {
    constexpr std::uint32_t kSentinel = 0x5A5A;
    const FileValues values = checksumsOf(fileName, kSentinel);
    EXPECT_FALSE(values.crc16Ok || values.crcArcOk || values.crc32Ok);
    EXPECT_EQ(values.crc16, kSentinel);
    EXPECT_EQ(values.crcArc, kSentinel);
    EXPECT_EQ(values.crc32, kSentinel);
    for (const FileChecksum kind :
         {FileChecksum::Crc16Xmodem, FileChecksum::Crc16Arc, FileChecksum::Crc32}) {
        std::uint32_t value = kSentinel;
        EXPECT_EQ(ChecksumFile(kind, fileName, value), code);
        EXPECT_EQ(value, kSentinel);
    }
}

class FileChecksums : public ::testing::Test {
protected:
    testing::TempFolder folder;
};

// A read-only file, more than one read piece ending inside a piece, and files whose size reads
// as 0 although they have content: each file gives what its bytes give (the values of bytes
// are ChecksumPathTest's).
TEST_F(FileChecksums, FileHashesLikeItsContents) {
    std::vector<std::string> names = {folder.write("readonly", "123456789"),
                                      folder.write("long", testing::PatternBytes(600001))};
    ASSERT_EQ(::chmod(names[0].c_str(), 0444), 0);
    names.insert(names.end(), testing::kZeroSizeFiles.begin(), testing::kZeroSizeFiles.end());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string contents = testing::FileContents(name);
        ASSERT_FALSE(contents.empty());
        const auto* const bytes = reinterpret_cast<const std::uint8_t*>(contents.data());
        std::vector<std::uint32_t> expected;
        for (const FileChecksum kind :
             {FileChecksum::Crc16Xmodem, FileChecksum::Crc16Arc, FileChecksum::Crc32}) {
            ChecksumRun run(kind);
            run.update({bytes, contents.size()});
            expected.push_back(run.value());
        }
        expectValues(checksumsOf(name), static_cast<std::uint16_t>(expected[0]),
                     static_cast<std::uint16_t>(expected[1]), expected[2]);
    }
}

TEST_F(FileChecksums, EmptyFileSucceedsWithoutTouchingTheValue) {
    constexpr std::uint32_t kPreset = 0x1234;
    const FileValues values = checksumsOf(folder.write("empty", ""), kPreset);
    expectValues(values, kPreset, kPreset, kPreset);
    expectValues(checksumsOf(folder.file("empty")), 0, 0, 0);
}

// Missing names and directories cannot be opened; devices and FIFOs are refused without
// waiting for a writer or an end.
TEST_F(FileChecksums, NamesThatCannotBeOpened) {
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name :
         {folder.file("missing"), folder.path().string(), fifo, std::string("/dev/zero")}) {
        auto done = std::async(std::launch::async, [&] { expectFailure(name, kHashOpenFailed); });
        ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready)
            << name << " blocked";
    }
}

// A sparse file of 2 GiB + 5 bytes, zeros then "x": its size does not fit a signed 32-bit
// count, and it is read in pieces. Expected values from python 3 over the same bytes, fed in
// 16 MiB pieces: zlib.crc32, binascii.crc_hqx (CRC-16/XMODEM) and crcmod's "crc-16" (ARC).
TEST_F(FileChecksums, SlowSparseFileOverTwoGiB) {
    const std::string name = folder.writeSparse("sparse", (std::int64_t{1} << 31) + 5, 'x');
    expectValues(checksumsOf(name), 0xFF9F, 0x2200, 0x99D2F6B7);
}

}  // namespace
}  // namespace tolvek::engine
