// Every entry's routes on every CPU path: a message fed in any pieces, from any alignment, on
// one thread or on every core, gives the digest that the portable path gives for one update, at
// lengths on every block, stripe, chunk and subtree edge the algorithms have.
#include <gtest/gtest.h>

#include <random>

#include "app/hashing/Hashing.h"
#include "engine/WorkerPool.h"
#include "tests/support/CpuPaths.h"

namespace tolvek::hashing {
namespace {

using Bytes = std::span<const std::uint8_t>;

// Lengths to 300 (the short-input paths and first blocks) and each edge of 512 to 64 KiB, one
// byte either side, on every path; the larger chunk and subtree edges on the widest path.
std::vector<std::size_t> edgeLengths(bool withLarge) {
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length <= 300; ++length) {
        lengths.push_back(length);
    }
    for (const std::size_t edge : {512, 1024, 2048, 3072, 4096, 16384, 17408, 32768, 65536}) {
        lengths.insert(lengths.end(), {edge - 1, edge, edge + 1});
    }
    if (withLarge) {
        for (const std::size_t edge : {66560, 131072, 199680, 262144, 1048576}) {
            lengths.insert(lengths.end(), {edge - 1, edge, edge + 1});
        }
    }
    return lengths;
}

Digest digestOf(const Provider& route, const std::vector<Bytes>& pieces) {
    const std::unique_ptr<Digester> digester = route.start();
    for (const Bytes piece : pieces) {
        digester->update(piece);
    }
    return digester->finish().digest;
}

std::vector<Bytes> randomPieces(Bytes message, std::mt19937& random) {
    std::vector<Bytes> pieces;
    for (std::size_t done = 0; done < message.size() || random() % 3 != 0;) {
        const std::size_t limit = random() % 2 == 0 ? 300 : 5000;
        const std::size_t piece = std::min<std::size_t>(random() % limit, message.size() - done);
        pieces.push_back(message.subspan(done, piece));
        done += piece;
    }
    return pieces;
}

class EntrySplitTest : public ::testing::TestWithParam<const AlgorithmEntry*> {};

TEST_P(EntrySplitTest, AnyPiecesOnAnyPathGiveThePortableDigest) {
    const AlgorithmEntry& entry = *GetParam();
    std::mt19937 random(2024);
    std::vector<std::uint8_t> storage(1048576 + 64);
    for (std::uint8_t& byte : storage) {
        byte = static_cast<std::uint8_t>(random());
    }
    const std::vector<testing::CpuPath>& paths = testing::CpuPaths();
    for (const testing::CpuPath& path : paths) {
        if (!testing::ScopedCpuPath::available(path)) {
            continue;
        }
        for (const std::size_t length : edgeLengths(&path == &paths.back())) {
            const Bytes message(storage.data() + length % 7, length);  // misaligned starts
            engine::LimitCpuFeaturesForTesting(engine::kCpuNone);
            const Digest expected = digestOf(entry.stringRoute, {message});
            const testing::ScopedCpuPath onPath(path);
            ASSERT_EQ(digestOf(entry.stringRoute, {message}), expected) << path.name << length;
            ASSERT_EQ(digestOf(entry.fileRoute, randomPieces(message, random)), expected)
                << path.name << ", " << length << " bytes in pieces";
            engine::WorkerPool::Shared().limitThreads(1);
            const Digest oneThread = digestOf(entry.fileRoute, {message});
            engine::WorkerPool::Shared().limitThreads(~std::size_t{0});
            ASSERT_EQ(oneThread, expected) << path.name << ", " << length << " on one thread";
        }
    }
}

std::vector<const AlgorithmEntry*> allEntries() {
    std::vector<const AlgorithmEntry*> entries;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        entries.push_back(&entry);
    }
    return entries;
}

INSTANTIATE_TEST_SUITE_P(Entries, EntrySplitTest, ::testing::ValuesIn(allEntries()),
                         [](const ::testing::TestParamInfo<const AlgorithmEntry*>& entryInfo) {
                             return tolvek::testing::TestNameOf(entryInfo.param->id);
                         });

}  // namespace
}  // namespace tolvek::hashing
