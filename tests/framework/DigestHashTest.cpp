// The hash base class: states, the bit counter, the padding byte, the MD-style ending, and the
// zeroing of released objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <vector>

#include "framework/DigestHashMD4.h"
#include "framework/DigestInternal.h"
#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

using internal::DigestHashAccess;

constexpr char kMd5OfAbc[] = "900150983cd24fb0d6963f7d28e17f72";  // RFC 1321 A.5

using RecordingHash = testing::BlockRecorder<THashBaseMD4>;

// Only final classes that say what they are get a class reference: the abstract ones cannot be
// made, nor can a class pass for its base by not saying.
static_assert(ConcreteDigestHash<THash_MD5> && ConcreteDigestHash<RecordingHash>);
static_assert(!ConcreteDigestHash<TDigestHash> && !ConcreteDigestHash<THashBaseMD4>);

void absorb(TDigestHash& hash, const std::string& bytes) {
    hash.HashData(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

std::string hexDigest(const TDigestHash& hash) {
    return testing::BytesToHex(hash.DigestText(nullptr));
}

template <class Call>
std::string messageOf(Call call) {
    try {
        call();
    } catch (const EDigestException& error) {
        return error.what();
    }
    return "(nothing raised)";
}

TEST(DigestHash, IdleObjectTakesNoData) {
    THash_MD5 hash;
    EXPECT_EQ(hash.DigestText(nullptr), std::string(16, '\0'));
    EXPECT_NO_THROW(hash.HashData("abc", 0));
    EXPECT_NO_THROW(hash.HashData("abc", -1));
    EXPECT_EQ(messageOf([&] { hash.HashData("abc", 3); }), "Hash must be initialized");
    EXPECT_EQ(messageOf([&] { hash.EndHash(); }), "Hash must be initialized");
    EXPECT_EQ(DigestHashAccess::BitCounter(hash), BitCount{});
}

TEST(DigestHash, DigestStaysReadableAfterEndHash) {
    THash_MD5 hash;
    hash.BeginHash();
    EXPECT_TRUE(DigestHashAccess::HasBlockBuffer(hash));
    EXPECT_EQ(DigestHashAccess::BlockBufferSize(hash), 64);
    absorb(hash, "abc");
    hash.EndHash();
    EXPECT_FALSE(DigestHashAccess::HasBlockBuffer(hash));
    EXPECT_EQ(DigestHashAccess::BlockBufferSize(hash), 0);
    EXPECT_EQ(messageOf([&] { absorb(hash, "more"); }), "Hash must be initialized");
    EXPECT_NO_THROW(hash.HashData("more", 0));
    EXPECT_EQ(hexDigest(hash), kMd5OfAbc);
    EXPECT_EQ(hash.DigestText(ClassOf<TFormat_HEX>), "900150983CD24FB0D6963F7D28E17F72");
}

// Eight words of hex from a case field, least significant first.
BitCount counterOf(const std::string& words) {
    BitCount counter{};
    std::size_t index = 0;
    for (const std::string& word : testing::SplitField(words, ' ')) {
        counter.at(index++) = static_cast<std::uint32_t>(std::stoul(word, nullptr, 16));
    }
    return counter;
}

// tests/framework/bit_counter.cases
TEST(DigestHash, BitCounterArithmetic) {
    for (const testing::Case& test : testing::ReadCaseFile("framework/bit_counter.cases")) {
        BitCount counter = counterOf(test.get("Start"));
        const auto bytes = static_cast<std::int32_t>(std::stol(test.get("Bytes"), nullptr, 16));
        EXPECT_EQ(internal::AddBitCount(counter, bytes), test.get("Fits") == "yes") << test.where;
        EXPECT_EQ(counter, counterOf(test.get("Counter"))) << test.where;
    }
}

TEST(DigestHash, CounterOverflowAbsorbsNothing) {
    THash_MD5 hash;
    hash.BeginHash();
    absorb(hash, "ab");
    BitCount full;
    full.fill(0xFFFFFFFF);
    DigestHashAccess::PresetBitCounter(hash, full);
    EXPECT_EQ(messageOf([&] { absorb(hash, "c"); }), "Hash function have to many bits processed");
    EXPECT_EQ(DigestHashAccess::BlockFill(hash), 2);
    EXPECT_EQ(DigestHashAccess::BitCounter(hash), BitCount{7});
}

// tests/framework/endings.cases
TEST(DigestHash, Md4FamilyEndsOnlyBelowTwoToTheSixtyFourBits) {
    for (const testing::Case& test :
         testing::ReadCaseFile("framework/endings.cases", "MD4 counters")) {
        THash_RipeMD256 hash;
        hash.BeginHash();
        DigestHashAccess::PresetBitCounter(hash, counterOf(test.get("Counter")));
        EXPECT_EQ(messageOf([&] { hash.EndHash(); }), test.get("Raises", "(nothing raised)"))
            << test.where;
    }
}

std::uint8_t byteOf(const testing::Case& test, const std::string& field) {
    return static_cast<std::uint8_t>(std::stoul(test.get(field), nullptr, 16));
}

TEST(DigestHash, PaddingByteDefaultsAndSticks) {
    for (const testing::Case& test : testing::ReadCaseFile("framework/endings.cases", "Padding")) {
        SCOPED_TRACE(test.where);
        const HashClassRef hashClass =
            *std::ranges::find(testing::kHashClasses, test.get("Class"),
                               [](HashClassRef each) { return ShortClassName(each); });
        const std::unique_ptr<TDigestHash> hash = hashClass->Create();
        EXPECT_EQ(hash->PaddingByte(), 0);
        const std::string standard = testing::DigestOf(*hash, "abc");
        EXPECT_EQ(standard, testing::DigestOf(hashClass, "abc"));
        EXPECT_EQ(hash->PaddingByte(), byteOf(test, "Padding"));

        hash->SetPaddingByte(byteOf(test, "Other"));
        EXPECT_EQ(testing::DigestOf(*hash, "abc") != standard, test.has("Uses"));
        EXPECT_EQ(hash->PaddingByte(), byteOf(test, "Other"));
        hash->BeginHash();
        EXPECT_EQ(hash->PaddingByte(), byteOf(test, "Other"));
    }
}

// The blocks a message of `size` bytes ends in: the padding byte, zeros up to a length field of
// `fieldSize` bytes at the last block's end, and `bits` in it in the byte order given.
std::string paddedMessage(std::size_t size, std::size_t fieldSize, std::endian order,
                          const BitCount& bits) {
    std::string padded(size, 'm');
    padded += '\x5A';
    padded.resize((padded.size() + fieldSize + 63) / 64 * 64 - fieldSize, '\0');
    std::string field;
    for (std::size_t index = 0; index < fieldSize; ++index) {
        field += static_cast<char>(bits.at(index / 4) >> (8 * (index % 4)));
    }
    if (order == std::endian::big) {
        std::ranges::reverse(field);
    }
    return padded + field;
}

// What a recorder of `Family` compresses for `size` bytes, with the counter preset to `preset`
// (when given) before the ending.
template <class Family>
std::string recordedBlocks(std::size_t size, const BitCount* preset) {
    testing::BlockRecorder<Family> hash;
    hash.SetPaddingByte(0x5A);
    hash.BeginHash();
    absorb(hash, std::string(size, 'm'));
    if (preset != nullptr) {
        DigestHashAccess::PresetBitCounter(hash, *preset);
    }
    hash.EndHash();
    return hash.blocks;
}

TEST(DigestHash, FinalBlocksAroundTheLengthField) {
    const BitCount everyWord = {0x03020100, 0x07060504, 0x0B0A0908, 0x0F0E0D0C,
                                0x13121110, 0x17161514, 0x1B1A1918, 0x1F1E1D1C};
    for (const testing::Case& test :
         testing::ReadCaseFile("framework/endings.cases", "Final blocks")) {
        SCOPED_TRACE(test.where);
        const bool md4 = test.get("Family") == "MD4";
        const std::size_t size = std::stoul(test.get("Size"));
        const BitCount* const preset = test.has("Preset") ? &everyWord : nullptr;
        const std::string blocks = md4 ? recordedBlocks<THashBaseMD4>(size, preset)
                                       : recordedBlocks<testing::Whirlpool0Tables>(size, preset);
        const BitCount bits = preset ? *preset : BitCount{static_cast<std::uint32_t>(8 * size)};
        EXPECT_EQ(blocks.size(), 64 * std::stoul(test.get("Blocks")));
        EXPECT_EQ(testing::BytesToHex(blocks),
                  testing::BytesToHex(paddedMessage(size, md4 ? 8 : 32,
                                                    md4 ? std::endian::little : std::endian::big,
                                                    bits)));
    }
}

// --- Release ----------------------------------------------------------------------------------

struct ReleaseRecord {
    int count = 0;
    std::size_t size = 0;
    bool zeroed = false;
};

ReleaseRecord g_released;

void recordRelease(const void* instance, std::size_t size) {
    const auto* const bytes = static_cast<const std::uint8_t*>(instance);
    g_released.count += 1;
    g_released.size = size;
    g_released.zeroed =
        std::all_of(bytes, bytes + size, [](std::uint8_t byte) { return byte == 0; });
}

class ReleaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_released = {};
        internal::SetReleaseObserver(recordRelease);
    }
    void TearDown() override { internal::SetReleaseObserver(nullptr); }
};

template <class Hash>
void computeAndRelease() {
    std::unique_ptr<TDigestHash> hash = ClassOf<Hash>->Create();
    hash->SetPaddingByte(0x80);
    hash->BeginHash();
    absorb(*hash, "some message");  // leaves a partial block in the buffer
    hash.reset();
}

TEST_F(ReleaseTest, WholeInstanceIsZeroedBeforeItIsFreed) {
    computeAndRelease<THash_RipeMD320>();
    EXPECT_EQ(g_released.count, 1);
    EXPECT_EQ(g_released.size, sizeof(THash_RipeMD320));
    EXPECT_TRUE(g_released.zeroed);

    computeAndRelease<RecordingHash>();
    EXPECT_EQ(g_released.count, 2);
    EXPECT_EQ(g_released.size, sizeof(RecordingHash));
    EXPECT_TRUE(g_released.zeroed);
}

}  // namespace
}  // namespace tolvek::framework
