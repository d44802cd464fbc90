#include "engine/Blake2.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "engine/Backends.h"
#include "engine/Blake2Lanes.h"
#include "engine/Blake2Tables.h"
#include "engine/BlakeRound.h"
#include "engine/EngineUtils.h"
#include "engine/Unroll.h"

namespace tolvek::engine::blake2 {

namespace {

template <class Word>
Word loadWord(const std::uint8_t* bytes) {
    if constexpr (sizeof(Word) == 8) {
        return LoadLe64(bytes);
    } else {
        return LoadLe32(bytes);
    }
}

// RFC 7693, section 3.2. Scalar code on purpose: with one state row per vector register, the
// cross-lane rotations of the diagonal step lie on the critical path and the AVX2 and AVX-512
// forms measured half this speed. (Independent nodes go one per lane instead: Blake2Lanes.h.)
template <class Word>
[[gnu::flatten]] void compressPortable(std::array<Word, 8>& state, const std::uint8_t* blocks,
                                       std::size_t blockCount, std::uint64_t counter,
                                       Ending ending, const std::array<Word, 8>& iv) {
    constexpr auto kR = Shape<Word>::kRotations;
    for (; blockCount != 0;
         --blockCount, blocks += 16 * sizeof(Word), counter += 16 * sizeof(Word)) {
        std::array<Word, 16> message;
        for (std::size_t index = 0; index < 16; ++index) {
            message[index] = loadWord<Word>(blocks + index * sizeof(Word));
        }
        std::array<Word, 16> v;
        std::copy(state.begin(), state.end(), v.begin());
        std::copy(iv.begin(), iv.end(), v.begin() + 8);
        v[12] ^= static_cast<Word>(counter);
        if constexpr (sizeof(Word) == 4) {
            v[13] ^= static_cast<Word>(counter >> 32);
        }
        if (ending != Ending::None && blockCount == 1) {
            v[14] = ~v[14];
            if (ending == Ending::LastBlockOfLastNode) {
                v[15] = ~v[15];
            }
        }
        const auto mix = [&](std::size_t a, std::size_t b, std::size_t c, std::size_t d, Word x,
                             Word y) {
            v[a] += v[b] + x;
            v[d] = std::rotr(v[d] ^ v[a], kR[0]);
            v[c] += v[d];
            v[b] = std::rotr(v[b] ^ v[c], kR[1]);
            v[a] += v[b] + y;
            v[d] = std::rotr(v[d] ^ v[a], kR[2]);
            v[c] += v[d];
            v[b] = std::rotr(v[b] ^ v[c], kR[3]);
        };
        Unroll<Shape<Word>::kRounds>(
            [&](auto round) { MixColumnsThenDiagonals(message, kSigma[round % 10], mix); });
        for (std::size_t index = 0; index < 8; ++index) {
            state[index] ^= v[index] ^ v[index + 8];
        }
    }
}

// The parameter block (RFC 7693, section 2.5; the BLAKE2 paper's section 2.8 for the tree
// fields) as the words that are XORed into the IV.
template <class Word>
std::array<Word, 8> parameterWords(const NodeParameters& node) {
    std::array<std::uint8_t, 8 * sizeof(Word)> block{};
    block[0] = static_cast<std::uint8_t>(node.digestSize);
    block[1] = static_cast<std::uint8_t>(node.keySize);
    block[2] = node.fanout;
    block[3] = node.depth;
    // Leaf length (bytes 4..7) stays 0: the leaves take blocks, not runs of bytes.
    if constexpr (sizeof(Word) == 8) {
        StoreLe64(block.data() + 8, node.nodeOffset);
        block[16] = node.nodeDepth;
        block[17] = node.innerSize;
    } else {
        // A 48-bit node offset.
        StoreLe32(block.data() + 8, static_cast<std::uint32_t>(node.nodeOffset));
        block[12] = static_cast<std::uint8_t>(node.nodeOffset >> 32);
        block[13] = static_cast<std::uint8_t>(node.nodeOffset >> 40);
        block[14] = node.nodeDepth;
        block[15] = node.innerSize;
    }
    std::array<Word, 8> words;
    for (std::size_t index = 0; index < words.size(); ++index) {
        words[index] = loadWord<Word>(block.data() + index * sizeof(Word));
    }
    return words;
}

template <class Params>
void checkParameters(std::size_t keySize, std::size_t digestSize) {
    if (!Blake2<Params>::Accepts(keySize, digestSize)) {
        throw std::invalid_argument("BLAKE2: key or digest length out of range");
    }
}

void checkDigestSize(std::span<std::uint8_t> digest, std::size_t digestSize) {
    if (digest.size() != digestSize) {
        throw std::invalid_argument("BLAKE2: the digest buffer differs from the digest length");
    }
}

// A key starts the message as a block of its own, padded with zeros (RFC 7693, section 3.3).
template <class Params>
void absorbKey(Node<Params>& node, std::span<const std::uint8_t> key) {
    if (!key.empty()) {
        std::array<std::uint8_t, Params::kBlockSize> block{};
        std::copy(key.begin(), key.end(), block.begin());
        node.update(block);
    }
}

}  // namespace

void Blake2bCompress(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                     std::size_t blockCount, std::uint64_t counter, Ending ending) {
    compressPortable(state, blocks, blockCount, counter, ending, kSha512InitialValues);
}

void Blake2sCompress(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                     std::size_t blockCount, std::uint64_t counter, Ending ending) {
    compressPortable(state, blocks, blockCount, counter, ending, kSha256InitialValues);
}

// BLAKE2sp's leaves in two groups of four, one per lane of a 128-bit vector.
void CompressLeavesPortable(std::array<std::array<std::uint32_t, 8>*, 8> states,
                            std::array<const std::uint8_t*, 8> blocks, std::size_t blockCount,
                            std::size_t stride, std::uint64_t counter) {
    for (std::size_t half = 0; half < 8; half += 4) {
        std::array<std::array<std::uint32_t, 8>*, 4> halfStates;
        std::array<const std::uint8_t*, 4> halfBlocks;
        std::copy_n(states.begin() + half, 4, halfStates.begin());
        std::copy_n(blocks.begin() + half, 4, halfBlocks.begin());
        CompressLanes<std::uint32_t, 4>(halfStates, halfBlocks, blockCount, stride, counter,
                                        kSha256InitialValues, LoadLe32);
    }
}

// BLAKE2bp's leaves one at a time: its 64-bit rotations cost three SSE2 operations against one
// scalar one, and two leaves per 128-bit vector measured slower than this (2-core EPYC).
void CompressLeavesPortable(std::array<std::array<std::uint64_t, 8>*, 4> states,
                            std::array<const std::uint8_t*, 4> blocks, std::size_t blockCount,
                            std::size_t stride, std::uint64_t counter) {
    for (std::size_t leaf = 0; leaf < 4; ++leaf) {
        for (std::size_t block = 0; block < blockCount; ++block) {
            compressPortable(*states[leaf], blocks[leaf] + block * stride, 1,
                             counter + block * Blake2bParams::kBlockSize, Ending::None,
                             kSha512InitialValues);
        }
    }
}

template <class Params>
Node<Params>::Node(const NodeParameters& parameters) : m_state(Params::kIv) {
    const std::array<Word, 8> words = parameterWords<Word>(parameters);
    for (std::size_t index = 0; index < m_state.size(); ++index) {
        m_state[index] ^= words[index];
    }
}

template <class Params>
void Node<Params>::update(std::span<const std::uint8_t> bytes) {
    if (m_fill + bytes.size() <= kBlockSize) {
        if (!bytes.empty()) {
            std::memcpy(m_buffer.data() + m_fill, bytes.data(), bytes.size());
            m_fill += bytes.size();
        }
        return;
    }
    if (m_fill != 0) {
        const std::size_t part = kBlockSize - m_fill;
        std::memcpy(m_buffer.data() + m_fill, bytes.data(), part);
        m_fill = kBlockSize;
        compressPending();
        bytes = bytes.subspan(part);
    }
    const std::size_t blocks = (bytes.size() - 1) / kBlockSize;
    if (blocks != 0) {
        Params::kCompress(m_state, bytes.data(), blocks, m_counter + kBlockSize, Ending::None);
        m_counter += blocks * kBlockSize;
    }
    m_fill = bytes.size() - blocks * kBlockSize;
    std::memcpy(m_buffer.data(), bytes.data() + blocks * kBlockSize, m_fill);
}

template <class Params>
void Node<Params>::UpdateGroup(Node* nodes, const std::uint8_t* firstBlocks,
                               std::size_t blockCount, std::size_t stride) {
    std::array<std::array<Word, 8>*, kGroup> states;
    std::array<const std::uint8_t*, kGroup> pending;
    std::array<const std::uint8_t*, kGroup> blocks;
    for (std::size_t node = 0; node < kGroup; ++node) {
        states[node] = &nodes[node].m_state;
        pending[node] = nodes[node].m_buffer.data();
        blocks[node] = firstBlocks + node * kBlockSize;
    }
    const auto compress = [&](const std::array<const std::uint8_t*, kGroup>& from,
                              std::size_t count, std::size_t step) {
        CompressLeaves(states, from, count, step, nodes[0].m_counter + kBlockSize);
        for (std::size_t node = 0; node < kGroup; ++node) {
            nodes[node].m_counter += count * kBlockSize;
        }
    };
    if (nodes[0].m_fill == kBlockSize) {
        compress(pending, 1, 0);
    }
    if (blockCount > 1) {
        compress(blocks, blockCount - 1, stride);
    }
    for (std::size_t node = 0; node < kGroup; ++node) {
        std::memcpy(nodes[node].m_buffer.data(), blocks[node] + (blockCount - 1) * stride,
                    kBlockSize);
        nodes[node].m_fill = kBlockSize;
    }
}

// Compresses a full pending block: the node goes on, so it was not the last.
template <class Params>
void Node<Params>::compressPending() {
    if (m_fill == kBlockSize) {
        Params::kCompress(m_state, m_buffer.data(), 1, m_counter + kBlockSize, Ending::None);
        m_counter += kBlockSize;
        m_fill = 0;
    }
}

template <class Params>
void Node<Params>::finish(std::span<std::uint8_t> digest, Ending ending) const {
    std::array<Word, 8> state = m_state;
    std::array<std::uint8_t, kBlockSize> last = m_buffer;
    std::fill(last.begin() + static_cast<std::ptrdiff_t>(m_fill), last.end(), 0);
    Params::kCompress(state, last.data(), 1, m_counter + m_fill, ending);
    std::array<std::uint8_t, 8 * sizeof(Word)> bytes;
    for (std::size_t index = 0; index < state.size(); ++index) {
        if constexpr (sizeof(Word) == 8) {
            StoreLe64(bytes.data() + index * sizeof(Word), state[index]);
        } else {
            StoreLe32(bytes.data() + index * sizeof(Word), state[index]);
        }
    }
    std::copy_n(bytes.begin(), digest.size(), digest.begin());
}

template <class Params>
Blake2<Params>::Blake2(std::span<const std::uint8_t> key, std::size_t digestSize)
    : m_digestSize(digestSize), m_node({.digestSize = digestSize, .keySize = key.size()}) {
    checkParameters<Params>(key.size(), digestSize);
    absorbKey(m_node, key);
}

template <class Params>
void Blake2<Params>::finish(std::span<std::uint8_t> digest) const {
    checkDigestSize(digest, m_digestSize);
    m_node.finish(digest, Ending::LastBlock);
}

namespace {

template <class Params, std::size_t Leaves>
std::array<Node<Params>, Leaves> makeLeaves(std::size_t keySize, std::size_t digestSize) {
    const auto leaf = [&](std::size_t offset) {
        return Node<Params>({.digestSize = digestSize,
                             .keySize = keySize,
                             .fanout = Leaves,
                             .depth = 2,
                             .nodeOffset = offset,
                             .nodeDepth = 0,
                             .innerSize = Params::kDigestSize});
    };
    return [&]<std::size_t... Offset>(std::index_sequence<Offset...>) {
        return std::array<Node<Params>, Leaves>{leaf(Offset)...};
    }(std::make_index_sequence<Leaves>{});
}

}  // namespace

template <class Params, std::size_t Leaves>
Blake2Parallel<Params, Leaves>::Blake2Parallel(std::span<const std::uint8_t> key,
                                               std::size_t digestSize)
    : m_digestSize(digestSize),
      m_keySize(key.size()),
      m_leaves(makeLeaves<Params, Leaves>(key.size(), digestSize)) {
    checkParameters<Params>(key.size(), digestSize);
    for (Node<Params>& leaf : m_leaves) {
        absorbKey(leaf, key);
    }
}

template <class Params, std::size_t Leaves>
void Blake2Parallel<Params, Leaves>::update(std::span<const std::uint8_t> bytes) {
    static_assert(Leaves == Node<Params>::kGroup);
    if (bytes.empty()) {
        return;  // an empty span may have no address to copy from
    }
    if (m_fill != 0) {
        const std::size_t part = std::min(kStripeSize - m_fill, bytes.size());
        std::memcpy(m_buffer.data() + m_fill, bytes.data(), part);
        m_fill += part;
        bytes = bytes.subspan(part);
        if (m_fill < kStripeSize) {
            return;
        }
        Node<Params>::UpdateGroup(m_leaves.data(), m_buffer.data(), 1, kStripeSize);
        m_fill = 0;
    }
    const std::size_t stripes = bytes.size() / kStripeSize;
    if (stripes != 0) {
        Node<Params>::UpdateGroup(m_leaves.data(), bytes.data(), stripes, kStripeSize);
    }
    m_fill = bytes.size() - stripes * kStripeSize;
    std::memcpy(m_buffer.data(), bytes.data() + stripes * kStripeSize, m_fill);
}

// The buffered bytes go to the leaves block by block; each leaf ends, the last one as the last
// node of its level, and the root hashes their digests.
template <class Params, std::size_t Leaves>
void Blake2Parallel<Params, Leaves>::finish(std::span<std::uint8_t> digest) const {
    checkDigestSize(digest, m_digestSize);
    Node<Params> root({.digestSize = m_digestSize,
                       .keySize = m_keySize,
                       .fanout = Leaves,
                       .depth = 2,
                       .nodeOffset = 0,
                       .nodeDepth = 1,
                       .innerSize = Params::kDigestSize});
    for (std::size_t index = 0; index < Leaves; ++index) {
        Node<Params> leaf = m_leaves[index];
        const std::size_t start = index * Params::kBlockSize;
        if (m_fill > start) {
            leaf.update({m_buffer.data() + start, std::min(Params::kBlockSize, m_fill - start)});
        }
        std::array<std::uint8_t, Params::kDigestSize> leafDigest;
        leaf.finish(leafDigest,
                    index + 1 == Leaves ? Ending::LastBlockOfLastNode : Ending::LastBlock);
        root.update(leafDigest);
    }
    root.finish(digest, Ending::LastBlockOfLastNode);
}

template class Node<Blake2bParams>;
template class Node<Blake2sParams>;
template class Blake2<Blake2bParams>;
template class Blake2<Blake2sParams>;
template class Blake2Parallel<Blake2bParams, 4>;
template class Blake2Parallel<Blake2sParams, 8>;

}  // namespace tolvek::engine::blake2
