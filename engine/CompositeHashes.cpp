#include "engine/CompositeHashes.h"

#include <algorithm>
#include <string>

namespace tolvek::engine {

void Ed2k::update(std::span<const std::uint8_t> bytes) {
    m_chunks.update(bytes, [this](const auto& chunkDigest) { m_chunkDigests.update(chunkDigest); });
}

void Ed2k::finish(std::span<std::uint8_t, kDigestSize> digest) {
    const bool shorterThanAChunk = m_chunks.chunksFinished() == 0 && !m_chunks.openChunkFull();
    const bool wholeChunks = m_chunks.openChunkFull();
    const auto last = m_chunks.finishChunk();
    if (shorterThanAChunk) {
        std::copy(last.begin(), last.end(), digest.begin());
        return;
    }
    m_chunkDigests.update(last);
    if (wholeChunks) {
        m_chunkDigests.update(m_chunks.finishChunk());
    }
    m_chunkDigests.finish(digest);
}

void DropboxContentHash::update(std::span<const std::uint8_t> bytes) {
    m_length += bytes.size();
    m_blocks.update(bytes, [this](const auto& blockDigest) { m_blockDigests.update(blockDigest); });
}

void DropboxContentHash::finish(std::span<std::uint8_t, kDigestSize> digest) {
    if (m_length != 0) {
        m_blockDigests.update(m_blocks.finishChunk());
    }
    m_blockDigests.finish(digest);
}

template <class Hash>
GitBlobId<Hash>::GitBlobId(std::uint64_t size) : m_size(size) {
    const std::string header = "blob " + std::to_string(size);
    // The header's terminating zero byte is part of the object.
    m_hash.update({reinterpret_cast<const std::uint8_t*>(header.c_str()), header.size() + 1});
}

template <class Hash>
void GitBlobId<Hash>::update(std::span<const std::uint8_t> bytes) {
    m_hash.update(bytes);
    m_hashed += bytes.size();
}

template <class Hash>
bool GitBlobId<Hash>::finish(std::span<std::uint8_t, kDigestSize> digest) {
    if (m_hashed != m_size) {
        return false;
    }
    m_hash.finish(digest);
    return true;
}

template class GitBlobId<Sha1Stream>;
template class GitBlobId<Sha256Stream>;

}  // namespace tolvek::engine
