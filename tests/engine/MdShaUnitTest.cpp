// What the shared vector and split tests cannot reach in the MD and SHA units: MD4/MD5's bit
// count crossing into its high word, and the units' own arguments (negative lengths, variant
// numbers) that the frame never passes.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "engine/MD.h"
#include "engine/SHA.h"

namespace tolvek::engine {
namespace {

const auto* asBytes(const char* text) {
    return reinterpret_cast<const std::uint8_t*>(text);
}

constexpr const char* kSha1Abc = "a9993e364706816aba3e25717850c26c9cd0d89d";
constexpr const char* kSha256Abc =
    "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr const char* kSha512Abc =
    "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3"
    "feebbd454d4423643ce80e2a9ac94fa54ca49f";

// Zero bytes that cost no memory: an anonymous read-only mapping reads as the zero page.
class ZeroBytes {
public:
    explicit ZeroBytes(std::size_t size)
        : m_size(size),
          m_bytes(::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) {}
    ~ZeroBytes() {
        if (m_bytes != MAP_FAILED) {
            ::munmap(m_bytes, m_size);
        }
    }
    ZeroBytes(const ZeroBytes&) = delete;
    ZeroBytes& operator=(const ZeroBytes&) = delete;

    bool valid() const { return m_bytes != MAP_FAILED; }
    const std::uint8_t* data() const { return static_cast<const std::uint8_t*>(m_bytes); }

private:
    std::size_t m_size;
    void* m_bytes;
};

// 2^29 + 3 zero bytes are 2^32 + 24 bits: the low word of the count wraps, and a single update
// of that length carries its top bits straight into the high word. Digests from nettle-hash
// 3.8.1, with openssl 3.0 (MD4) and python 3.11 hashlib (MD5) agreeing.
TEST(MdUnit, SlowBitCountCrossesIntoTheHighWord) {
    constexpr std::uint32_t kLength = (1u << 29) + 3;
    const ZeroBytes zeros(kLength);
    ASSERT_TRUE(zeros.valid());
    const std::pair<MdBlockTransform, const char*> cases[] = {
        {Md4Transform, "45f1ac0f7939f5e4121ebbd21550a912"},
        {Md5Transform, "f477dd2300ffb741b990c4eac208d915"},
    };
    for (const auto& [transform, expected] : cases) {
        MdContext whole;
        MdInit(whole);
        MdUpdate(whole, zeros.data(), kLength, transform);
        EXPECT_EQ(MdFinal(whole, transform), expected) << "one update";

        MdContext pieces;
        MdInit(pieces);
        constexpr std::uint32_t kPiece = 1u << 20;
        for (std::uint32_t offset = 0; offset < kLength; offset += kPiece) {
            MdUpdate(pieces, zeros.data() + offset, std::min(kPiece, kLength - offset), transform);
        }
        EXPECT_EQ(MdFinal(pieces, transform), expected) << "1 MiB updates";
    }
}

TEST(ShaUnit, LengthsBelowOneAddNothing) {
    for (const std::int64_t length :
         {std::int64_t{0}, std::int64_t{-1}, std::numeric_limits<std::int64_t>::min()}) {
        ShaContext context;
        Sha256Init(context);
        ShaUpdate32(context, asBytes("abc"), kShaVariant256, 3);
        ShaUpdate32(context, asBytes("xyz"), kShaVariant256, length);
        EXPECT_EQ(ShaFinal32(context, kShaVariant256), kSha256Abc) << length;

        Sha512Context wide;
        Sha512Init(wide);
        ShaUpdate64(wide, asBytes("xyz"), length);
        ShaUpdate64(wide, asBytes("abc"), 3);
        EXPECT_EQ(ShaFinal64(wide, kShaVariant512), kSha512Abc) << length;
    }
}

// Only 256 selects SHA-256 in the 32-bit pair and only 384 the SHA-384 output in the 64-bit one.
TEST(ShaUnit, OtherVariantNumbersMeanSha1AndSha512) {
    for (const std::uint16_t variant : {0, 2, 255, 257, 384, 512, 65535}) {
        ShaContext context;
        Sha1Init(context);
        ShaUpdate32(context, asBytes("abc"), variant, 3);
        EXPECT_EQ(ShaFinal32(context, variant), kSha1Abc) << variant;
    }
    for (const std::uint16_t variant : {0, 1, 256, 383, 385, 512, 65535}) {
        Sha512Context context;
        Sha512Init(context);
        ShaUpdate64(context, asBytes("abc"), 3);
        EXPECT_EQ(ShaFinal64(context, variant), kSha512Abc) << variant;
    }
}

}  // namespace
}  // namespace tolvek::engine
