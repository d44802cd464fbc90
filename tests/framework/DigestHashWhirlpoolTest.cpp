// What the Whirlpool classes add to the base class: the ending with its 256-bit length field,
// and the table choice that each object makes for itself.
#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <vector>

#include "framework/DigestHashWhirlpool.h"
#include "framework/DigestInternal.h"
#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

using internal::DigestHashAccess;

// A Whirlpool class that keeps every block it compresses.
class RecordingWhirlpool final : public THashBaseWhirlpool {
public:
    static constexpr std::string_view kClassName = "THash_RecordingWhirlpool";

    HashClassRef ClassType() const override { return ClassOf<RecordingWhirlpool>; }

    std::vector<std::string> blocks;

private:
    void InitState() override {
        startWith(data::kWhirlpool0Circulant, data::kWhirlpool0RoundConstants);
    }
    void ProcessBlock(const std::uint8_t* block) override {
        blocks.emplace_back(reinterpret_cast<const char*>(block), kBlockLength);
    }
};

// The blocks that the padding rule of the Whirlpool papers gives: the message, the padding
// byte, zeros up to 32 bytes modulo 64, and the 256-bit bit count, most significant byte first.
std::string paddedMessage(std::size_t messageSize, const BitCount& bitCount) {
    std::string padded(messageSize, 'm');
    padded += '\x80';
    while (padded.size() % 64 != 32) {
        padded += '\0';
    }
    for (int index = 31; index >= 0; --index) {
        padded += static_cast<char>(bitCount[index / 4] >> (8 * (index % 4)));
    }
    return padded;
}

TEST(WhirlpoolHash, FinalBlocksAroundTheLengthField) {
    struct Case {
        std::size_t messageSize;
        std::size_t blocks;
    };
    // Room for the padding byte and the length field up to 31 bytes into a block.
    for (const Case test : {Case{0, 1}, Case{31, 1}, Case{32, 2}, Case{63, 2}, Case{64, 2},
                            Case{95, 2}, Case{96, 3}}) {
        RecordingWhirlpool hash;
        hash.BeginHash();
        const std::string message(test.messageSize, 'm');
        hash.HashData(message.data(), static_cast<std::int32_t>(message.size()));
        hash.EndHash();
        ASSERT_EQ(hash.blocks.size(), test.blocks) << test.messageSize;
        EXPECT_EQ(hash.PaddingByte(), 0x80);
        const std::string all =
            std::accumulate(hash.blocks.begin(), hash.blocks.end(), std::string());
        const BitCount bits{static_cast<std::uint32_t>(8 * test.messageSize)};
        EXPECT_EQ(testing::BytesToHex(all),
                  testing::BytesToHex(paddedMessage(test.messageSize, bits)))
            << test.messageSize;
    }
}

TEST(WhirlpoolHash, LengthFieldHoldsAllTwoHundredFiftySixBits) {
    RecordingWhirlpool hash;
    hash.BeginHash();
    const BitCount bits = {0x03020100, 0x07060504, 0x0B0A0908, 0x0F0E0D0C,
                           0x13121110, 0x17161514, 0x1B1A1918, 0x1F1E1D1C};
    DigestHashAccess::PresetBitCounter(hash, bits);
    hash.EndHash();
    ASSERT_EQ(hash.blocks.size(), 1u);
    EXPECT_EQ(testing::BytesToHex(hash.blocks[0]), testing::BytesToHex(paddedMessage(0, bits)));
}

// The Whirlpool-0 and Whirlpool-T vectors of one message, fed alternately to one object of each
// class in the same small pieces.
TEST(WhirlpoolHash, BothVersionsUsedInTurnKeepTheirOwnTables) {
    const std::vector<testing::Vector> vectors =
        testing::ReadVectorFile(testing::VectorDirectory() + "/whirlpool.vec");
    std::map<std::string, std::string> versionT;
    for (const testing::Vector& vector : vectors) {
        if (vector.algorithm == "whirlpoolt") {
            versionT[vector.input] = vector.expected;
        }
    }
    int pairs = 0;
    for (const testing::Vector& vector : vectors) {
        const auto other = versionT.find(vector.input);
        if (vector.algorithm != "whirlpool0" || other == versionT.end() ||
            vector.input.size() > 1000) {
            continue;
        }
        THash_Whirlpool first;
        THash_Whirlpool1 second;
        for (int run = 0; run < 2; ++run) {
            first.BeginHash();
            second.BeginHash();
            for (std::size_t start = 0; start < vector.input.size(); start += 7) {
                const auto count = static_cast<std::int32_t>(
                    std::min<std::size_t>(7, vector.input.size() - start));
                first.HashData(vector.input.data() + start, count);
                second.HashData(vector.input.data() + start, count);
            }
            first.EndHash();
            second.EndHash();
            EXPECT_EQ(testing::BytesToHex(first.DigestText(nullptr)), vector.expected)
                << vector.where;
            EXPECT_EQ(testing::BytesToHex(second.DigestText(nullptr)), other->second)
                << vector.where;
        }
        ++pairs;
    }
    EXPECT_GE(pairs, 10);
}

}  // namespace
}  // namespace tolvek::framework
