#include "engine/Blake3.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "engine/Backends.h"
#include "engine/Blake3Schedule.h"
#include "engine/EngineUtils.h"
#include "engine/ShaConstants.h"
#include "engine/Unroll.h"
#include "engine/WorkerPool.h"

namespace tolvek::engine {

using namespace blake3;

namespace {

// Section 2.2: seven rounds of the quarter-round G over columns then diagonals. The whole state
// comes back; a chaining value is its first half XOR the second.
[[gnu::flatten]] std::array<std::uint32_t, 16> compressState(const ChainingValue& value,
                                                             const std::uint8_t* block,
                                                             std::uint64_t counter,
                                                             std::uint32_t blockLength,
                                                             std::uint32_t flags) {
    std::array<std::uint32_t, 16> m;
    for (std::size_t word = 0; word < 16; ++word) {
        m[word] = LoadLe32(block + 4 * word);
    }
    std::array<std::uint32_t, 16> v = {
        value[0], value[1], value[2], value[3], value[4], value[5], value[6], value[7],
        kSha256InitialValues[0], kSha256InitialValues[1], kSha256InitialValues[2],
        kSha256InitialValues[3], static_cast<std::uint32_t>(counter),
        static_cast<std::uint32_t>(counter >> 32), blockLength, flags};
    const auto mix = [&](std::size_t a, std::size_t b, std::size_t c, std::size_t d,
                         std::uint32_t x, std::uint32_t y) {
        v[a] += v[b] + x;
        v[d] = std::rotr(v[d] ^ v[a], 16);
        v[c] += v[d];
        v[b] = std::rotr(v[b] ^ v[c], 12);
        v[a] += v[b] + y;
        v[d] = std::rotr(v[d] ^ v[a], 8);
        v[c] += v[d];
        v[b] = std::rotr(v[b] ^ v[c], 7);
    };
    blake3::Rounds(m, mix);
    return v;
}

void compressBlock(ChainingValue& value, const std::uint8_t* block, std::uint64_t counter,
                   std::uint32_t blockLength, std::uint32_t flags) {
    const std::array<std::uint32_t, 16> v =
        compressState(value, block, counter, blockLength, flags);
    for (std::size_t word = 0; word < 8; ++word) {
        value[word] = v[word] ^ v[word + 8];
    }
}

ChainingValue key() {
    ChainingValue value;
    std::copy_n(kSha256InitialValues.begin(), 8, value.begin());
    return value;
}

void storeValue(std::uint8_t* out, const ChainingValue& value) {
    for (std::size_t word = 0; word < 8; ++word) {
        StoreLe32(out + 4 * word, value[word]);
    }
}

ChainingValue loadValue(const std::uint8_t* bytes) {
    ChainingValue value;
    for (std::size_t word = 0; word < 8; ++word) {
        value[word] = LoadLe32(bytes + 4 * word);
    }
    return value;
}

// The largest group of chunks whose values are hashed in one go before their parents are.
constexpr std::size_t kGroupChunks = 64;

// Fewer whole chunks than this in one update are not worth waking other threads for.
constexpr std::size_t kChunksForThreads = 128;
// The smallest subtree hashed in one go, and the most pieces per thread an update is cut into:
// enough that threads finishing early find more work.
constexpr std::size_t kSmallestSubtree = 16;
constexpr std::size_t kPiecesPerThread = 4;

// The largest complete subtree that can start at chunk `counter` with `chunkCount` chunks left,
// at most `limit` chunks.
std::size_t subtreeSize(std::uint64_t counter, std::size_t chunkCount, std::size_t limit) {
    std::size_t size = std::min(std::bit_floor(chunkCount), limit);
    if (counter != 0) {
        size = static_cast<std::size_t>(std::min<std::uint64_t>(size, counter & (0 - counter)));
    }
    return size;
}

}  // namespace

namespace blake3 {

void HashManyPortable(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
                      std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
                      std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
                      std::uint8_t* out) {
    for (std::size_t input = 0; input < count; ++input) {
        ChainingValue value = key;
        const std::uint8_t* blocks = inputs + input * blockCount * kBlockSize;
        const std::uint64_t inputCounter = incrementCounter ? counter + input : counter;
        for (std::size_t block = 0; block < blockCount; ++block) {
            const std::uint32_t blockFlags = flags | (block == 0 ? startFlags : 0) |
                                             (block + 1 == blockCount ? endFlags : 0);
            compressBlock(value, blocks + block * kBlockSize, inputCounter, kBlockSize,
                          blockFlags);
        }
        storeValue(out + 32 * input, value);
    }
}

}  // namespace blake3

Blake3::Blake3() : Blake3(key(), 0) {}

Blake3::Blake3(const ChainingValue& key, std::uint32_t modeFlags)
    : m_key(key), m_modeFlags(modeFlags), m_chunkValue(key) {}

Blake3 Blake3::Keyed(std::span<const std::uint8_t, kKeySize> key) {
    return Blake3(loadValue(key.data()), kKeyedHash);
}

Blake3 Blake3::DeriveKey(std::string_view context) {
    Blake3 contextHasher(key(), kDeriveKeyContext);
    contextHasher.update({reinterpret_cast<const std::uint8_t*>(context.data()), context.size()});
    std::array<std::uint8_t, kKeySize> contextKey;
    contextHasher.finish(contextKey);
    return Blake3(loadValue(contextKey.data()), kDeriveKeyMaterial);
}

Blake3::ChainingValue Blake3::parentValue(const ChainingValue& left,
                                          const ChainingValue& right) const {
    const Output output = parentOutput(left, right);
    ChainingValue value = output.input;
    compressBlock(value, output.block.data(), 0, kBlockSize, output.flags);
    return value;
}

Blake3::Output Blake3::parentOutput(const ChainingValue& left, const ChainingValue& right) const {
    Output output{m_key, {}, kBlockSize, kParent | m_modeFlags};
    storeValue(output.block.data(), left);
    storeValue(output.block.data() + 32, right);
    return output;
}

// The root of the complete subtree over `chunkCount` (a power of two) chunks from `counter`.
Blake3::ChainingValue Blake3::subtreeValue(const std::uint8_t* chunks, std::size_t chunkCount,
                                           std::uint64_t counter) const {
    if (chunkCount > kGroupChunks) {
        const std::size_t half = chunkCount / 2;
        return parentValue(subtreeValue(chunks, half, counter),
                           subtreeValue(chunks + half * kChunkSize, half, counter + half));
    }
    alignas(64) std::array<std::uint8_t, kGroupChunks * 32> values;
    HashMany(m_key, chunks, chunkCount, kBlocksPerChunk, counter, true, m_modeFlags,
             kChunkStart, kChunkEnd, values.data());
    for (std::size_t level = chunkCount; level > 1; level /= 2) {
        HashMany(m_key, values.data(), level / 2, 1, 0, false, kParent | m_modeFlags, 0, 0,
                 values.data());
    }
    return loadValue(values.data());
}



void Blake3::update(std::span<const std::uint8_t> bytes) { absorb(bytes, nullptr); }

void Blake3::update(std::span<const std::uint8_t> bytes, WorkerPool& pool) { absorb(bytes, &pool); }

void Blake3::absorb(std::span<const std::uint8_t> bytes, WorkerPool* pool) {
    while (!bytes.empty()) {
        if (chunkFill() == kChunkSize) {
            const Output chunk = chunkOutput();
            ChainingValue value = chunk.input;
            compressBlock(value, chunk.block.data(), m_chunkCounter, chunk.blockLength,
                          chunk.flags);
            push(value, 1);
            m_chunkValue = m_key;
            m_blocksCompressed = 0;
            m_blockFill = 0;
        }
        if (chunkFill() == 0 && bytes.size() > kChunkSize) {
            const std::size_t chunks = (bytes.size() - 1) / kChunkSize;
            hashWholeChunks(bytes.data(), chunks, pool);
            bytes = bytes.subspan(chunks * kChunkSize);
            continue;
        }
        const std::size_t part = std::min(kChunkSize - chunkFill(), bytes.size());
        absorbIntoChunk(bytes.first(part));
        bytes = bytes.subspan(part);
    }
}

// Keeps the chunk's last block buffered until a byte after it arrives.
void Blake3::absorbIntoChunk(std::span<const std::uint8_t> bytes) {
    const auto compressNext = [&](const std::uint8_t* block) {
        compressBlock(m_chunkValue, block, m_chunkCounter, kBlockSize,
                      m_modeFlags | (m_blocksCompressed == 0 ? kChunkStart : 0));
        ++m_blocksCompressed;
    };
    if (m_blockFill == kBlockSize) {
        compressNext(m_block.data());
        m_blockFill = 0;
    }
    if (m_blockFill != 0) {
        const std::size_t part = std::min(kBlockSize - m_blockFill, bytes.size());
        std::memcpy(m_block.data() + m_blockFill, bytes.data(), part);
        m_blockFill += part;
        bytes = bytes.subspan(part);
        if (bytes.empty()) {
            return;
        }
        compressNext(m_block.data());
        m_blockFill = 0;
    }
    for (; bytes.size() > kBlockSize; bytes = bytes.subspan(kBlockSize)) {
        compressNext(bytes.data());
    }
    std::memcpy(m_block.data(), bytes.data(), bytes.size());
    m_blockFill = bytes.size();
}

Blake3::Output Blake3::chunkOutput() const {
    Output output{m_chunkValue, {}, static_cast<std::uint32_t>(m_blockFill),
                  m_modeFlags | kChunkEnd | (m_blocksCompressed == 0 ? kChunkStart : 0)};
    std::memcpy(output.block.data(), m_block.data(), m_blockFill);
    return output;
}

// The chunks go as the largest complete subtrees their position allows, so that parents are
// hashed many at a time too; a short remainder goes as single chunks hashed side by side.
void Blake3::hashWholeChunks(const std::uint8_t* chunks, std::size_t chunkCount,
                             WorkerPool* pool) {
    if (pool != nullptr && pool->threads() > 1 && chunkCount >= kChunksForThreads) {
        const std::size_t done = hashSubtreesOnThreads(chunks, chunkCount, *pool);
        chunks += done * kChunkSize;
        chunkCount -= done;
    }
    for (;;) {
        const std::size_t size = subtreeSize(m_chunkCounter, chunkCount, chunkCount);
        if (size < kSmallestSubtree) {
            break;
        }
        push(subtreeValue(chunks, size, m_chunkCounter), size);
        chunks += size * kChunkSize;
        chunkCount -= size;
    }
    while (chunkCount != 0) {
        const std::size_t batch = std::min<std::size_t>(chunkCount, 16);
        alignas(64) std::array<std::uint8_t, 16 * 32> values;
        HashMany(m_key, chunks, batch, kBlocksPerChunk, m_chunkCounter, true, m_modeFlags,
                 kChunkStart, kChunkEnd, values.data());
        for (std::size_t chunk = 0; chunk < batch; ++chunk) {
            push(loadValue(values.data() + 32 * chunk), 1);
        }
        chunks += batch * kChunkSize;
        chunkCount -= batch;
    }
}

// Cuts the chunks into complete subtrees no larger than a share of the threads' work, hashes them
// on the pool and pushes their values in order: pushing aligned subtrees of any sizes builds the
// same tree as pushing the chunks one by one. Gives the number of chunks hashed; a remainder too
// small for a subtree is left to the caller.
std::size_t Blake3::hashSubtreesOnThreads(const std::uint8_t* chunks, std::size_t chunkCount,
                                          WorkerPool& pool) {
    const std::size_t largest = std::max(
        kGroupChunks, std::bit_floor(chunkCount / (kPiecesPerThread * pool.threads())));
    struct Piece {
        std::size_t first;
        std::size_t count;
    };
    std::vector<Piece> pieces;
    std::size_t done = 0;
    for (;;) {
        const std::size_t size = subtreeSize(m_chunkCounter + done, chunkCount - done, largest);
        if (size < kSmallestSubtree) {
            break;
        }
        pieces.push_back({done, size});
        done += size;
    }
    std::vector<ChainingValue> values(pieces.size());
    pool.forEach(pieces.size(), [&](std::size_t index) {
        const Piece& piece = pieces[index];
        values[index] = subtreeValue(chunks + piece.first * kChunkSize, piece.count,
                                     m_chunkCounter + piece.first);
    });
    for (std::size_t index = 0; index < pieces.size(); ++index) {
        push(values[index], pieces[index].count);
    }
    return done;
}

// Section 5.1.2: a complete subtree is merged with its left neighbours as far as the chunk
// count allows, so that the stack holds one value per set bit of the count.
void Blake3::push(const ChainingValue& subtree, std::uint64_t subtreeChunks) {
    m_stack[m_stackSize++] = subtree;
    m_chunkCounter += subtreeChunks;
    while (m_stackSize > static_cast<std::size_t>(std::popcount(m_chunkCounter))) {
        m_stack[m_stackSize - 2] = parentValue(m_stack[m_stackSize - 2], m_stack[m_stackSize - 1]);
        --m_stackSize;
    }
}

// The root node is compressed again for each 64 bytes of output, with the output block's number
// as the counter (section 2.6).
void Blake3::finish(std::span<std::uint8_t> digest) const {
    Output root = chunkOutput();
    if (m_stackSize != 0) {
        ChainingValue value = root.input;
        compressBlock(value, root.block.data(), m_chunkCounter, root.blockLength, root.flags);
        for (std::size_t index = m_stackSize; index-- > 1;) {
            value = parentValue(m_stack[index], value);
        }
        root = parentOutput(m_stack[0], value);
    }
    std::array<std::uint8_t, kBlockSize> block;
    for (std::size_t done = 0; done < digest.size(); done += block.size()) {
        const std::array<std::uint32_t, 16> v =
            compressState(root.input, root.block.data(), done / block.size(), root.blockLength,
                          root.flags | kRoot);
        for (std::size_t word = 0; word < 8; ++word) {
            StoreLe32(block.data() + 4 * word, v[word] ^ v[word + 8]);
            StoreLe32(block.data() + 32 + 4 * word, v[word + 8] ^ root.input[word]);
        }
        std::copy_n(block.begin(), std::min(block.size(), digest.size() - done),
                    digest.begin() + static_cast<std::ptrdiff_t>(done));
    }
}

}  // namespace tolvek::engine
