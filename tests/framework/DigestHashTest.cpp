// The hash base class: states, the bit counter, the padding byte, the MD-style ending, and the
// zeroing of released objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "framework/DigestHashMD4.h"
#include "framework/DigestInternal.h"
#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

using internal::DigestHashAccess;

constexpr char kMd5OfAbc[] = "900150983cd24fb0d6963f7d28e17f72";  // RFC 1321 A.5

// An MD-style class that keeps every block it compresses; over-aligned, so that its release goes
// through the aligned deallocation.
class alignas(64) RecordingHash final : public THashBaseMD4 {
public:
    static constexpr std::string_view kClassName = "THash_Recording";

    HashClassRef ClassType() const override { return ClassOf<RecordingHash>; }

    std::vector<std::string> blocks;

private:
    void ProcessBlock(const std::uint8_t* block) override {
        blocks.emplace_back(reinterpret_cast<const char*>(block), kBlockLength);
    }
};

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

TEST(DigestHash, CounterCountsEveryByteOnce) {
    const std::string message = testing::PatternBytes(1000);
    THash_MD5 whole;
    whole.BeginHash();
    absorb(whole, message);
    THash_MD5 pieces;
    pieces.BeginHash();
    for (std::size_t start = 0; start < message.size(); start += 7) {
        absorb(pieces, message.substr(start, 7));
    }
    EXPECT_EQ(DigestHashAccess::BitCounter(whole), BitCount{8000});
    EXPECT_EQ(DigestHashAccess::BitCounter(pieces), BitCount{8000});
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

TEST(DigestHash, Md4FamilyEndsOnlyBelowTwoToTheSixtyFourBits) {
    for (const std::size_t word : {2, 3, 7}) {
        THash_RipeMD256 hash;
        hash.BeginHash();
        BitCount count{};
        count[word] = 1;
        DigestHashAccess::PresetBitCounter(hash, count);
        EXPECT_EQ(messageOf([&] { hash.EndHash(); }), "Hash function have to many bits processed")
            << word;
    }
    THash_RipeMD256 hash;
    hash.BeginHash();
    DigestHashAccess::PresetBitCounter(hash, {0xFFFFFFFF, 0xFFFFFFFF});
    EXPECT_NO_THROW(hash.EndHash());
}

// What each class pads with: 0 until the first hash, then its own byte unless another was
// set, which then sticks and changes the digest; Snefru and Sapphire take no padding byte.
TEST(DigestHash, PaddingByteDefaultsAndSticks) {
    const struct Case {
        HashClassRef hashClass;
        std::uint8_t padding;
        std::uint8_t other;
        bool used;
    } cases[] = {
        {ClassOf<THash_MD5>, 0x80, 0x01, true},
        {ClassOf<THash_Square>, 0x80, 0x01, true},
        {ClassOf<THash_Panama>, 0x01, 0x80, true},
        {ClassOf<THash_Snefru128>, 0, 0x80, false},
        {ClassOf<THash_Snefru256>, 0, 0x80, false},
        {ClassOf<THash_Sapphire>, 0, 0x80, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(ShortClassName(test.hashClass));
        const std::unique_ptr<TDigestHash> hash = test.hashClass->Create();
        EXPECT_EQ(hash->PaddingByte(), 0);
        const auto digestOfAbc = [&] {
            hash->BeginHash();
            absorb(*hash, "abc");
            hash->EndHash();
            return hash->DigestText(nullptr);
        };
        const std::string standard = digestOfAbc();
        EXPECT_EQ(standard, testing::DigestOf(test.hashClass, "abc"));
        EXPECT_EQ(hash->PaddingByte(), test.padding);

        hash->SetPaddingByte(test.other);
        EXPECT_EQ(digestOfAbc() != standard, test.used);
        EXPECT_EQ(hash->PaddingByte(), test.other);
        hash->BeginHash();
        EXPECT_EQ(hash->PaddingByte(), test.other);
    }
}

// RFC 1321 3.1-3.2: the padding byte, zeros to 56 bytes modulo 64, the bit count little-endian.
TEST(DigestHash, Md4FamilyFinalBlocks) {
    struct Case {
        std::size_t messageSize;
        std::size_t blocks;
    };
    for (const Case test : {Case{3, 1}, Case{55, 1}, Case{56, 2}, Case{63, 2}, Case{64, 2}}) {
        RecordingHash hash;
        hash.SetPaddingByte(0x5A);
        hash.BeginHash();
        absorb(hash, std::string(test.messageSize, 'm'));
        hash.EndHash();
        ASSERT_EQ(hash.blocks.size(), test.blocks) << test.messageSize;
        const std::string all =
            std::accumulate(hash.blocks.begin(), hash.blocks.end(), std::string());
        std::string expected(test.messageSize, 'm');
        expected += '\x5A';
        expected.resize(all.size() - 8, '\0');
        const std::uint64_t bits = 8 * test.messageSize;
        for (int index = 0; index < 8; ++index) {
            expected += static_cast<char>(bits >> (8 * index));
        }
        EXPECT_EQ(testing::BytesToHex(all), testing::BytesToHex(expected)) << test.messageSize;
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
