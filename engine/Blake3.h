// BLAKE3 in its three modes (hash, keyed hash, derive key) with output of any length, as a
// streaming hash: whole chunks are hashed many at a time straight from the caller's memory and
// joined into the tree through a stack of chaining values; the digest is the root's output
// bytes, as b3sum prints them (32 by default). The complete subtrees of a large update can be
// hashed on several threads at once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvek::engine {

class WorkerPool;

namespace blake3 {

inline constexpr std::size_t kBlockSize = 64;
inline constexpr std::size_t kChunkSize = 1024;
inline constexpr std::size_t kBlocksPerChunk = kChunkSize / kBlockSize;

// Domain flags of a compression (section 2.1).
inline constexpr std::uint32_t kChunkStart = 1u << 0;
inline constexpr std::uint32_t kChunkEnd = 1u << 1;
inline constexpr std::uint32_t kParent = 1u << 2;
inline constexpr std::uint32_t kRoot = 1u << 3;
inline constexpr std::uint32_t kKeyedHash = 1u << 4;
inline constexpr std::uint32_t kDeriveKeyContext = 1u << 5;
inline constexpr std::uint32_t kDeriveKeyMaterial = 1u << 6;

using ChainingValue = std::array<std::uint32_t, 8>;

// Hashes `count` inputs laid out one after the other, each `blockCount` whole blocks long, from
// `key` (the IV in the default mode): input i uses counter `counter + i` when
// `incrementCounter`, else `counter`;
// its first block adds `startFlags`, its last `endFlags`, every block `flags`. Chaining value
// i goes to out[32 i .. 32 i + 32) as little-endian words. Runs on the fastest path the CPU
// offers; `out` may overlap the inputs only as a parent level does (out i within input i).
void HashMany(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
              std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
              std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
              std::uint8_t* out);

// The chunks of a message of `bytes` bytes: an empty message is one empty chunk.
constexpr std::size_t ChunkCount(std::size_t bytes) {
    return bytes == 0 ? 1 : (bytes + kChunkSize - 1) / kChunkSize;
}

// The default-mode digests of many messages from their chunks' chaining values, laid out message
// after message, ChunkCount of each (a message of one chunk has its digest there already, its
// last block compressed as the root): each message's values are joined into its tree, the root
// last. `chunkValues` is overwritten; `digests` takes 32 bytes a message.
void JoinChunkValues(std::span<const std::span<const std::uint8_t>> messages,
                     std::uint8_t* chunkValues, std::uint8_t* digests);

}  // namespace blake3

class Blake3 {
public:
    static constexpr std::size_t kDigestSize = 32;
    // The BLAKE3 team's official test vectors (test_vectors.json): the 1-byte input.
    static constexpr std::string_view kKnownInput{"\x00", 1};
    static constexpr std::string_view kKnownDigest =
        "2d3adedff11b61f14c886e35afa036736dcd87a74d27b5c1510225d0f592e213";

    static constexpr std::size_t kKeySize = 32;

    // The default hashing mode.
    Blake3();
    // The keyed hashing mode (section 2.3).
    static Blake3 Keyed(std::span<const std::uint8_t, kKeySize> key);
    // The key derivation mode (section 2.3): the key material is the message, `context` a
    // hard-coded, globally unique string.
    static Blake3 DeriveKey(std::string_view context);

    void update(std::span<const std::uint8_t> bytes);
    // The same digest as update(bytes): the complete subtrees of a large update are hashed side
    // by side on the pool's threads.
    void update(std::span<const std::uint8_t> bytes, WorkerPool& pool);
    // Any number of output bytes (section 2.6).
    void finish(std::span<std::uint8_t> digest) const;

private:
    using ChainingValue = blake3::ChainingValue;

    // What the last compression of a node takes, kept so that the root can be compressed once
    // per 64 output bytes.
    struct Output {
        ChainingValue input;
        std::array<std::uint8_t, blake3::kBlockSize> block;
        std::uint32_t blockLength;
        std::uint32_t flags;
    };

    Blake3(const ChainingValue& key, std::uint32_t modeFlags);
    ChainingValue parentValue(const ChainingValue& left, const ChainingValue& right) const;
    Output parentOutput(const ChainingValue& left, const ChainingValue& right) const;
    ChainingValue subtreeValue(const std::uint8_t* chunks, std::size_t chunkCount,
                               std::uint64_t counter) const;

    std::size_t chunkFill() const { return m_blocksCompressed * blake3::kBlockSize + m_blockFill; }
    void absorb(std::span<const std::uint8_t> bytes, WorkerPool* pool);
    void absorbIntoChunk(std::span<const std::uint8_t> bytes);
    Output chunkOutput() const;
    void hashWholeChunks(const std::uint8_t* chunks, std::size_t chunkCount, WorkerPool* pool);
    std::size_t hashSubtreesOnThreads(const std::uint8_t* chunks, std::size_t chunkCount,
                                      WorkerPool& pool);
    void push(const ChainingValue& subtree, std::uint64_t subtreeChunks);

    ChainingValue m_key;
    std::uint32_t m_modeFlags;

    // The chunk being filled: it is closed only once a byte after it has arrived.
    ChainingValue m_chunkValue;
    std::uint64_t m_chunkCounter = 0;
    std::size_t m_blocksCompressed = 0;
    std::array<std::uint8_t, blake3::kBlockSize> m_block{};
    std::size_t m_blockFill = 0;

    // Roots of the complete subtrees left of the current chunk, largest first: one per set bit
    // of m_chunkCounter.
    std::array<ChainingValue, 64> m_stack;
    std::size_t m_stackSize = 0;
};

}  // namespace tolvek::engine
