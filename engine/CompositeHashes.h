// Digests that other programs build from a plain hash of a message's pieces: the ED2K hash (MD4
// of 9500 KiB chunks), a cloud drive's content hash (SHA-256 of 4 MiB blocks), and git's blob
// ids (the hash of a "blob <size>" header and the content).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/MD.h"
#include "engine/SHA.h"

namespace tolvek::engine {

// Hashes a message in pieces of ChunkSize bytes with Hash; each finished piece's digest is
// handed to a callback. The last piece stays open until finishChunk().
template <class Hash, std::size_t ChunkSize>
class ChunkHasher {
public:
    using Digest = std::array<std::uint8_t, Hash::kDigestSize>;

    // Calls onChunk(digest) for each piece that `bytes` completes; a piece is complete once a
    // byte after it has arrived.
    template <class OnChunk>
    void update(std::span<const std::uint8_t> bytes, OnChunk&& onChunk) {
        while (!bytes.empty()) {
            if (m_fill == ChunkSize) {
                onChunk(finishChunk());
            }
            const std::size_t part = std::min(ChunkSize - m_fill, bytes.size());
            m_chunk.update(bytes.first(part));
            m_fill += part;
            bytes = bytes.subspan(part);
        }
    }

    // The digest of the open piece (possibly empty); a new piece starts.
    Digest finishChunk() {
        Digest digest;
        m_chunk.finish(digest);
        m_chunk = Hash{};
        m_fill = 0;
        ++m_chunksFinished;
        return digest;
    }

    std::uint64_t chunksFinished() const { return m_chunksFinished; }
    bool openChunkFull() const { return m_fill == ChunkSize; }

private:
    Hash m_chunk;
    std::size_t m_fill = 0;
    std::uint64_t m_chunksFinished = 0;
};

// The ED2K hash: a message shorter than a chunk has its MD4 as the hash; otherwise it is the MD4
// of the chunks' MD4s, where a message of whole chunks ends with the MD4 of an empty chunk (the
// convention of eMule's and rhash's ED2K links).
class Ed2k {
public:
    static constexpr std::size_t kDigestSize = 16;
    static constexpr std::size_t kChunkSize = 9500 * 1024;
    // The MD4 of "abc" (RFC 1320, appendix A.5): a one-chunk message.
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest = "a448017aaf21d8525fc10ae87aa6729d";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    ChunkHasher<Md4Stream, kChunkSize> m_chunks;
    Md4Stream m_chunkDigests;
};

// The content hash of a cloud drive: SHA-256 of the SHA-256s of the message's 4 MiB blocks.
class DropboxContentHash {
public:
    static constexpr std::size_t kDigestSize = 32;
    static constexpr std::size_t kBlockSize = 4 * 1024 * 1024;
    // The drive's API documentation: no blocks, the SHA-256 of nothing.
    static constexpr std::string_view kKnownInput = "";
    static constexpr std::string_view kKnownDigest =
        "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    ChunkHasher<Sha256Stream, kBlockSize> m_blocks;
    Sha256Stream m_blockDigests;
    std::uint64_t m_length = 0;
};

// A git blob id: the object format's hash over "blob <size>\0" and the content. The size comes
// first, so it must be known before the content; finish() fails when the content hashed was not
// that long.
template <class Hash>
class GitBlobId {
public:
    static constexpr std::size_t kDigestSize = Hash::kDigestSize;

    explicit GitBlobId(std::uint64_t size);
    void update(std::span<const std::uint8_t> bytes);
    // False, with no digest written, when the content had another size than announced.
    [[nodiscard]] bool finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    Hash m_hash;
    std::uint64_t m_size;
    std::uint64_t m_hashed = 0;
};

extern template class GitBlobId<Sha1Stream>;
extern template class GitBlobId<Sha256Stream>;

// Blob ids of git's SHA-1 object format and of its SHA-256 one.
using GitBlobSha1 = GitBlobId<Sha1Stream>;
using GitBlobSha256 = GitBlobId<Sha256Stream>;

}  // namespace tolvek::engine
