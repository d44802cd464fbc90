// BLAKE2b and BLAKE2s (RFC 7693), keyed or not, with any digest length they allow, and their
// parallel modes BLAKE2bp and BLAKE2sp (four and eight leaves over interleaved blocks, hashed
// into a root), as streaming hashes: the digest is the chaining words little-endian, as b2sum
// prints it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/ShaConstants.h"

namespace tolvek::engine {

namespace blake2 {

// How a compression ends the node: not at all, with its last block, or with the last block of
// the last node of its level (RFC 7693's f0; the BLAKE2 paper's f1 for trees).
enum class Ending { None, LastBlock, LastBlockOfLastNode };

// Compresses `blockCount` consecutive blocks; the byte counter is `counter` after the first
// block and grows by a block after each further one. `ending` applies to the single final block.
void Blake2bCompress(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                     std::size_t blockCount, std::uint64_t counter, Ending ending);
void Blake2sCompress(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                     std::size_t blockCount, std::uint64_t counter, Ending ending);

// Compresses `blockCount` blocks (at least one) into each leaf of BLAKE2sp (eight BLAKE2s nodes)
// or BLAKE2bp (four BLAKE2b nodes) side by side, on the fastest path the CPU offers: leaf j takes
// the blocks from blocks[j] on, `stride` bytes apart, all with the same byte counter (`counter`
// after the first). None of them is a leaf's last block.
void CompressLeaves(std::array<std::array<std::uint32_t, 8>*, 8> states,
                    std::array<const std::uint8_t*, 8> blocks, std::size_t blockCount,
                    std::size_t stride, std::uint64_t counter);
void CompressLeaves(std::array<std::array<std::uint64_t, 8>*, 4> states,
                    std::array<const std::uint8_t*, 4> blocks, std::size_t blockCount,
                    std::size_t stride, std::uint64_t counter);

struct Blake2bParams {
    using Word = std::uint64_t;
    static constexpr std::size_t kBlockSize = 128;
    static constexpr std::size_t kDigestSize = 64;
    static constexpr const std::array<Word, 8>& kIv = kSha512InitialValues;
    static constexpr auto kCompress = Blake2bCompress;
    // RFC 7693, appendix A: "abc".
    static constexpr std::string_view kDigestOfAbc =
        "ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d17d87c5392aab792dc252d5d"
        "e4533cc9518d38aa8dbf1925ab92386edd4009923";
};

struct Blake2sParams {
    using Word = std::uint32_t;
    static constexpr std::size_t kBlockSize = 64;
    static constexpr std::size_t kDigestSize = 32;
    static constexpr const std::array<Word, 8>& kIv = kSha256InitialValues;
    static constexpr auto kCompress = Blake2sCompress;
    // RFC 7693, appendix B: "abc".
    static constexpr std::string_view kDigestOfAbc =
        "508c5e8c327c14e2e1a72ba34eeb452f37458b209ed63a294d999b4c86675982";
};

// The fields of the parameter block this engine sets (no salt, no personalization).
struct NodeParameters {
    std::size_t digestSize;
    std::size_t keySize = 0;
    std::uint8_t fanout = 1;
    std::uint8_t depth = 1;
    std::uint64_t nodeOffset = 0;
    std::uint8_t nodeDepth = 0;
    std::uint8_t innerSize = 0;
};

// One node of a BLAKE2 tree (the whole hash when sequential): the chaining words, the byte
// counter and the pending last block, which is compressed only once a byte after it arrives.
template <class Params>
class Node {
public:
    using Word = typename Params::Word;
    static constexpr std::size_t kBlockSize = Params::kBlockSize;

    // The nodes compressed side by side by CompressLeaves: every leaf of the parallel mode.
    static constexpr std::size_t kGroup = sizeof(Word) == 4 ? 8 : 4;

    explicit Node(const NodeParameters& parameters);
    void update(std::span<const std::uint8_t> bytes);
    // The first digest.size() bytes of the node's output.
    void finish(std::span<std::uint8_t> digest, Ending ending) const;

    // Appends `blockCount` (at least one) whole blocks to each of the kGroup nodes from `nodes`
    // on, compressed side by side: node j takes the blocks from firstBlocks + j * kBlockSize on,
    // `stride` bytes apart. The nodes have taken as many blocks as each other and hold no partial
    // block.
    static void UpdateGroup(Node* nodes, const std::uint8_t* firstBlocks, std::size_t blockCount,
                            std::size_t stride);

private:
    void compressPending();

    std::array<Word, 8> m_state;
    std::uint64_t m_counter = 0;  // bytes compressed so far
    std::array<std::uint8_t, kBlockSize> m_buffer{};
    std::size_t m_fill = 0;
};

// The sequential hash; a key of 1 to kDigestSize bytes makes it a MAC.
template <class Params>
class Blake2 {
public:
    static constexpr std::size_t kDigestSize = Params::kDigestSize;
    static constexpr std::size_t kMaxKeySize = Params::kDigestSize;
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest = Params::kDigestOfAbc;

    // True when the hash takes a key of `keySize` bytes and gives `digestSize` bytes.
    static constexpr bool Accepts(std::size_t keySize, std::size_t digestSize) {
        return keySize <= kMaxKeySize && digestSize >= 1 && digestSize <= kDigestSize;
    }

    Blake2() : Blake2({}, kDigestSize) {}
    // Throws std::invalid_argument unless Accepts(key.size(), digestSize).
    Blake2(std::span<const std::uint8_t> key, std::size_t digestSize);

    std::size_t digestSize() const { return m_digestSize; }
    void update(std::span<const std::uint8_t> bytes) { m_node.update(bytes); }
    // Throws std::invalid_argument unless digest.size() == digestSize().
    void finish(std::span<std::uint8_t> digest) const;

private:
    std::size_t m_digestSize;
    Node<Params> m_node;
};

// The parallel mode with Leaves leaves: leaf i takes blocks i, i + Leaves, i + 2 Leaves, ...;
// the root hashes the leaves' full-size digests.
template <class Params, std::size_t Leaves>
class Blake2Parallel {
public:
    static constexpr std::size_t kDigestSize = Params::kDigestSize;
    static constexpr std::size_t kMaxKeySize = Params::kDigestSize;
    static constexpr std::string_view kKnownInput = "";
    // The BLAKE2 designers' known-answer file (blake2-kat.json): the empty message.
    static constexpr std::string_view kKnownDigest =
        Leaves == 8 ? "dd0e891776933f43c7d032b08a917e25741f8aa9a12c12e1cac8801500f2ca4f"
                    : "b5ef811a8038f70b628fa8b294daae7492b1ebe343a80eaabbf1f6ae664dd67b9d90b0120791"
                      "eab81dc96985f28849f6a305186a85501b405114bfa678df9380";

    static constexpr bool Accepts(std::size_t keySize, std::size_t digestSize) {
        return Blake2<Params>::Accepts(keySize, digestSize);
    }

    Blake2Parallel() : Blake2Parallel({}, kDigestSize) {}
    // Throws std::invalid_argument unless Accepts(key.size(), digestSize).
    Blake2Parallel(std::span<const std::uint8_t> key, std::size_t digestSize);

    std::size_t digestSize() const { return m_digestSize; }
    // The leaves go side by side in one thread's vector lanes.
    void update(std::span<const std::uint8_t> bytes);
    // Throws std::invalid_argument unless digest.size() == digestSize().
    void finish(std::span<std::uint8_t> digest) const;

private:
    static constexpr std::size_t kStripeSize = Leaves * Params::kBlockSize;


    std::size_t m_digestSize;
    std::size_t m_keySize;
    std::array<Node<Params>, Leaves> m_leaves;
    std::array<std::uint8_t, kStripeSize> m_buffer{};
    std::size_t m_fill = 0;
};

extern template class Node<Blake2bParams>;
extern template class Node<Blake2sParams>;
extern template class Blake2<Blake2bParams>;
extern template class Blake2<Blake2sParams>;
extern template class Blake2Parallel<Blake2bParams, 4>;
extern template class Blake2Parallel<Blake2sParams, 8>;

}  // namespace blake2

using Blake2b = blake2::Blake2<blake2::Blake2bParams>;
using Blake2s = blake2::Blake2<blake2::Blake2sParams>;
using Blake2bp = blake2::Blake2Parallel<blake2::Blake2bParams, 4>;
using Blake2sp = blake2::Blake2Parallel<blake2::Blake2sParams, 8>;

}  // namespace tolvek::engine
