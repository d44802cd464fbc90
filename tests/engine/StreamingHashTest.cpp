// The engine's streaming hashes on every CPU path: any split of a message, from any alignment,
// gives the portable path's one-call digest, at lengths on every block, stripe, chunk, leaf and
// subtree edge the algorithms have; so do large updates spread over several threads, from
// positions on and off a subtree's edge.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/Blake2.h"
#include "engine/Blake3.h"
#include "engine/CompositeHashes.h"
#include "engine/CrcStreams.h"
#include "engine/Gost.h"
#include "engine/KangarooTwelve.h"
#include "engine/Keccak.h"
#include "engine/QuickXor.h"
#include "engine/SHA.h"
#include "engine/Sm3.h"
#include "engine/Streebog.h"
#include "engine/Sums.h"
#include "engine/StreamingHash.h"
#include "engine/Tiger.h"
#include "engine/WorkerPool.h"
#include "engine/XXHash.h"
#include "tests/support/CpuPaths.h"

namespace tolvek::engine {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <class Hash, class... Pool>
std::array<std::uint8_t, Hash::kDigestSize> digestOf(
    const std::vector<std::span<const std::uint8_t>>& pieces, Pool&... pool) {
    Hash hash;
    for (const auto piece : pieces) {
        hash.update(piece, pool...);
    }
    std::array<std::uint8_t, Hash::kDigestSize> digest;
    hash.finish(digest);
    return digest;
}

// For a hash that spreads over threads: the message whole and after a first update of each
// length, which leaves the large rest starting on or off a chunk and a subtree edge.
template <class Hash>
void expectSameDigestOnThreads(std::span<const std::uint8_t> message,
                               const std::array<std::uint8_t, Hash::kDigestSize>& expected,
                               const std::string& path) {
    if constexpr (SpreadsOverThreads<Hash>) {
        for (const std::size_t threads : {2, 3}) {
            WorkerPool pool(threads);
            for (const std::size_t first : {0, 1, 1024, 1025, 3 * 1024 + 5, 48 * 1024, 64 * 1024 + 1}) {
                const std::size_t split = std::min(first, message.size());
                ASSERT_EQ(digestOf<Hash>({message.first(split), message.subspan(split)}, pool),
                          expected)
                    << path << ", " << message.size() << " bytes after " << split << ", "
                    << threads << " threads";
            }
        }
    }
}

// Every length to 300 (all short-input paths and the first blocks), then each edge of 64, 128,
// 240, 256, 1024 and 2^k * 1024 bytes, one byte either side.
std::vector<std::size_t> edgeLengths() {
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length <= 300; ++length) {
        lengths.push_back(length);
    }
    for (const std::size_t edge : {512, 1024, 2048, 3072, 4096, 8192, 16384, 17408, 32768, 65536,
                                   66560, 131072, 139264, 199680, 262144, 1048576}) {
        lengths.insert(lengths.end(), {edge - 1, edge, edge + 1});
    }
    return lengths;
}

template <class Hash>
class StreamingHashTest : public ::testing::Test {};

using StreamingHashes =
    ::testing::Types<Sha224, Sha512_256, Sha3_224, Sha3_256, Sha3_384, Sha3_512, Blake2b, Blake2s,
                     Blake3, Xxh64, Xxh3_64, Xxh3_128, Crc32c, Crc64Xz, TigerLittleEndian,
                     Crc64Nvme, PosixCksum, BsdSum, SysvSum, Xxh32, Sm3, GostCryptoPro,
                     Streebog256, Streebog512, QuickXor, Ed2k, DropboxContentHash, Blake2sp,
                     Blake2bp, Shake128, Shake256, KangarooTwelve>;
TYPED_TEST_SUITE(StreamingHashTest, StreamingHashes);

TYPED_TEST(StreamingHashTest, AnySplitOnAnyPathGivesThePortableDigest) {
    std::mt19937 random(2024);
    Bytes storage(1048576 + 64);
    for (std::uint8_t& byte : storage) {
        byte = static_cast<std::uint8_t>(random());
    }
    for (const testing::CpuPath& path : testing::CpuPaths()) {
        if (!testing::ScopedCpuPath::available(path)) {
            continue;
        }
        for (const std::size_t length : edgeLengths()) {
            const std::size_t offset = length % 7;  // misaligned starts
            const std::span<const std::uint8_t> message(storage.data() + offset, length);
            LimitCpuFeaturesForTesting(kCpuNone);
            const auto expected = digestOf<TypeParam>({message});
            const testing::ScopedCpuPath onPath(path);
            ASSERT_EQ(digestOf<TypeParam>({message}), expected) << path.name << ", " << length;
            expectSameDigestOnThreads<TypeParam>(message, expected, path.name);

            std::vector<std::span<const std::uint8_t>> pieces;
            for (std::size_t done = 0; done < length || random() % 3 != 0;) {
                const std::size_t limit = random() % 2 == 0 ? 300 : 5000;
                const std::size_t piece = std::min<std::size_t>(random() % limit, length - done);
                pieces.push_back(message.subspan(done, piece));
                done += piece;
            }
            ASSERT_EQ(digestOf<TypeParam>(pieces), expected)
                << path.name << ", " << length << " bytes in " << pieces.size() << " pieces";
        }
    }
}

}  // namespace
}  // namespace tolvek::engine
