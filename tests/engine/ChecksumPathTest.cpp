// The checksum units on every code path this CPU has: agreement with the table-driven path at
// every length and alignment, and any split of the message. Their published vectors run through
// the entries (tests/hashing) and ParameterVectorTest.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <span>

#include "engine/Adler.h"
#include "engine/CRC1.h"
#include "engine/CRC_.h"
#include "engine/CpuFeatures.h"
#include "tests/support/CpuPaths.h"

namespace tolvek::engine {
namespace {

using Bytes = std::span<const std::uint8_t>;

Bytes bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A checksum as a number, computed through its unit's own operations from pieces.
using Checksum = std::function<std::uint32_t(const std::vector<Bytes>&)>;

std::uint32_t fileChecksumOf(FileChecksum kind, const std::vector<Bytes>& pieces) {
    ChecksumRun run(kind);
    for (const Bytes piece : pieces) {
        run.update(piece);
    }
    return run.value();
}

// A unit's state after its init and an update for each piece.
template <class State, auto kInit, auto kUpdate>
std::uint32_t stateAfter(const std::vector<Bytes>& pieces) {
    State state;
    kInit(state);
    for (const Bytes piece : pieces) {
        kUpdate(state, piece.data(), static_cast<std::uint32_t>(piece.size()));
    }
    return state;
}

const std::map<std::string, Checksum>& checksums() {
    static const std::map<std::string, Checksum> all = {
        {"crc32", [](const auto& pieces) { return fileChecksumOf(FileChecksum::Crc32, pieces); }},
        {"crc16",
         [](const auto& pieces) { return fileChecksumOf(FileChecksum::Crc16Xmodem, pieces); }},
        {"crc16arc",
         [](const auto& pieces) { return fileChecksumOf(FileChecksum::Crc16Arc, pieces); }},
        {"crc32-bzip2",
         [](const auto& pieces) {
             return ~stateAfter<Crc32Register, Crc32Init, Crc32UpdateMsbFirst>(pieces);
         }},
        {"adler32", stateAfter<Adler32State, Adler32Init, Adler32Update>},
    };
    return all;
}

class ChecksumPath : public testing::OnCpuPathTest<testing::CpuPath> {};

std::string randomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

// Every length up to well past the widest fold (256 bytes) and a few long ones, from every
// alignment modulo 4: each kernel's entry, loop and remainder handling.
TEST_P(ChecksumPath, AgreesWithTheTablesAtEveryLengthAndAlignment) {
    const std::string message = randomBytes(70000, 1950);
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length <= 600; ++length) {
        lengths.push_back(length);
    }
    lengths.insert(lengths.end(), {1023, 4096, 4097, 65536 + 15, 69996});
    for (const auto& [name, checksum] : checksums()) {
        for (const std::size_t offset : {0, 1, 2, 3}) {
            for (const std::size_t length : lengths) {
                const std::vector<Bytes> whole = {bytesOf(message).subspan(offset, length)};
                LimitCpuFeaturesForTesting(kCpuNone);
                const std::uint32_t expected = checksum(whole);
                LimitCpuFeaturesForTesting(GetParam().features);
                ASSERT_EQ(checksum(whole), expected)
                    << name << " offset " << offset << " length " << length;
            }
        }
    }
}

TEST_P(ChecksumPath, AnySplitGivesTheSameValue) {
    std::mt19937 random(1321);
    const std::string message = randomBytes(3000, 4122);
    for (const auto& [name, checksum] : checksums()) {
        const std::uint32_t whole = checksum({bytesOf(message)});
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<Bytes> pieces;
            for (std::size_t offset = 0; offset < message.size();) {
                const std::size_t piece =
                    std::min<std::size_t>(random() % 400, message.size() - offset);
                pieces.push_back(bytesOf(message).subspan(offset, piece));
                offset += piece;
            }
            ASSERT_EQ(checksum(pieces), whole) << name << " trial " << trial;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Checksums, ChecksumPath, ::testing::ValuesIn(testing::CpuPaths()),
                         [](const auto& pathInfo) { return pathInfo.param.name; });

// CrcCcittBlock's register is the message so far modulo the polynomial, so for "123456789" it
// is the CRC-16/XMODEM of "1234567" (0x86D6, python binascii.crc_hqx) XOR its last two bytes
// 0x3839.
TEST(ChecksumTexts, CcittRegisterHoldsTheMessageShiftedThrough) {
    const std::string message = "123456789";
    const std::uint16_t shifted =
        CrcCcittBlock(0, reinterpret_cast<const std::uint8_t*>(message.data()), message.size());
    EXPECT_EQ(shifted, 0xBEEF);
}

}  // namespace
}  // namespace tolvek::engine
