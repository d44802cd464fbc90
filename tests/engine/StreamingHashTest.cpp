// The streaming hashes' buffering: a message given in any pieces, from any address, hashes as
// it does in one call, on the portable path and on everything the CPU has.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/CpuFeatures.h"
#include "engine/CrcStreams.h"
#include "engine/Keccak.h"
#include "engine/SHA.h"
#include "engine/StreamingHash.h"
#include "engine/Tiger.h"

namespace tolvek::engine {
namespace {

// Longer than two SHA-3 blocks at the largest rate (144 bytes) and two 128-byte blocks.
constexpr std::size_t kMessageLength = 2 * 144 + 3;

std::vector<std::uint8_t> patternBytes(std::size_t size, std::size_t offset = 0) {
    std::vector<std::uint8_t> bytes(offset + size);
    for (std::size_t index = 0; index < size; ++index) {
        bytes[offset + index] = static_cast<std::uint8_t>(index % 251);
    }
    return bytes;
}

template <StreamingHash Hash>
std::array<std::uint8_t, Hash::kDigestSize> digestOfPieces(
    std::span<const std::uint8_t> message, std::initializer_list<std::size_t> cuts) {
    Hash hash;
    std::size_t start = 0;
    for (const std::size_t cut : cuts) {
        hash.update(message.subspan(start, cut - start));
        start = cut;
    }
    hash.update(message.subspan(start));
    std::array<std::uint8_t, Hash::kDigestSize> digest{};
    hash.finish(digest);
    return digest;
}

template <class Hash>
class StreamingHashTest : public ::testing::Test {
protected:
    void TearDown() override { LimitCpuFeaturesForTesting(kAllCpuFeatures); }
};

using Hashes = ::testing::Types<Sha224, Sha512_256, Sha3_224, Sha3_256, Sha3_384, Sha3_512, Crc32c,
                                Crc64Xz, TigerLittleEndian>;
TYPED_TEST_SUITE(StreamingHashTest, Hashes);

TYPED_TEST(StreamingHashTest, EveryTwoCutsAndEveryAlignmentGiveTheOneCallDigest) {
    for (const unsigned features : {unsigned{kCpuNone}, kAllCpuFeatures}) {
        LimitCpuFeaturesForTesting(features);
        for (std::size_t length = 0; length <= kMessageLength; ++length) {
            const std::vector<std::uint8_t> message = patternBytes(length);
            LimitCpuFeaturesForTesting(kCpuNone);
            const auto expected = digestOfPieces<TypeParam>(message, {});
            LimitCpuFeaturesForTesting(features);
            for (std::size_t offset = 1; offset < 8; ++offset) {
                const std::vector<std::uint8_t> shifted = patternBytes(length, offset);
                ASSERT_EQ(digestOfPieces<TypeParam>(std::span(shifted).subspan(offset), {}),
                          expected)
                    << length << " bytes at offset " << offset;
            }
            if (length != kMessageLength) {
                continue;
            }
            for (std::size_t first = 0; first <= length; ++first) {
                for (std::size_t second = first; second <= length; ++second) {
                    ASSERT_EQ(digestOfPieces<TypeParam>(message, {first, second}), expected)
                        << "cuts at " << first << " and " << second << ", features " << features;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tolvek::engine
