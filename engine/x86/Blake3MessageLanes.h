// BLAKE3 of many small messages in lanes across them: every chunk of every message is one lane's
// job, with its own counter, block lengths and flags, and a lane whose chunk ends takes the next
// one at once, so that a few files of a few chunks each fill the lanes that one of them alone
// would leave mostly empty. Each message's chunk values are then joined into its tree. Included
// by the AVX2 and AVX-512 files, which supply the lanes under their own instruction sets.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "engine/Blake3.h"
#include "engine/EngineUtils.h"
#include "engine/MessageLanes.h"
#include "engine/ShaConstants.h"
#include "engine/x86/Blake3Lanes.h"

namespace tolvek::engine::blake3 {

namespace {  // NOLINT(google-build-namespaces, cert-dcl59-cpp): one copy per instruction set

// One lane's chunk: its blocks read where they are but the last, which may be short (or empty, in
// an empty message) and is hashed from a copy padded with zeros.
class LaneChunk {
public:
    // Chunk `index` of `message`: the one root chunk when the message has no other.
    void start(std::span<const std::uint8_t> message, std::size_t index) {
        const std::size_t offset = index * kChunkSize;
        const std::size_t length = std::min(kChunkSize, message.size() - offset);
        m_next = message.data() + offset;
        m_blocksLeft = length == 0 ? 1 : (length + kBlockSize - 1) / kBlockSize;
        const std::size_t lastLength = length - (m_blocksLeft - 1) * kBlockSize;
        m_last.fill(0);
        if (lastLength > 0) {
            std::memcpy(m_last.data(), m_next + (m_blocksLeft - 1) * kBlockSize, lastLength);
        }
        m_lastLength = static_cast<std::uint32_t>(lastLength);
        m_endFlags = kChunkEnd | (ChunkCount(message.size()) == 1 ? kRoot : 0);
        m_startFlag = kChunkStart;
    }

    const std::uint8_t* block() const { return m_blocksLeft == 1 ? m_last.data() : m_next; }
    std::uint32_t blockLength() const {
        return m_blocksLeft == 1 ? m_lastLength : static_cast<std::uint32_t>(kBlockSize);
    }
    std::uint32_t flags() const { return m_startFlag | (m_blocksLeft == 1 ? m_endFlags : 0); }

    // Past the block just compressed; true once the chunk has ended. The last block is the copy,
    // so no pointer moves past it (an empty message has none to move).
    bool advance() {
        m_startFlag = 0;
        if (--m_blocksLeft == 0) {
            return true;
        }
        m_next += kBlockSize;
        return false;
    }

private:
    const std::uint8_t* m_next = nullptr;
    std::size_t m_blocksLeft = 0;
    std::uint32_t m_lastLength = 0;
    std::uint32_t m_startFlag = 0;
    std::uint32_t m_endFlags = 0;
    std::array<std::uint8_t, kBlockSize> m_last{};
};

// Hashes the chunks of `messages`, message after message, into 32-byte chaining values at
// `values`, one block of every busy lane per pass.
template <class Lanes>
class ChunkLanes {
    using Vector = typename Lanes::Vector;
    static constexpr std::size_t kLanes = Lanes::kCount;
    using LaneWords = std::array<std::uint32_t, kLanes>;

public:
    ChunkLanes(std::span<const MessageBytes> messages, std::uint8_t* values)
        : m_messages(messages), m_values(values) {
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            refill(lane);
        }
    }

    // A lane goes idle only once no chunk is left: the last few chunks run beside idle lanes, for
    // at most a chunk's sixteen passes.
    void run() {
        while (std::ranges::any_of(m_slots, [](const std::uint8_t* slot) { return slot; })) {
            pass();
        }
    }

private:
    [[gnu::flatten]] void pass() {
        static constexpr std::array<std::uint8_t, kBlockSize> kIdleBlock{};
        std::array<const std::uint8_t*, kLanes> starts;
        alignas(64) LaneWords lengths{};
        alignas(64) LaneWords flags{};
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            starts[lane] = m_slots[lane] != nullptr ? m_chunks[lane].block() : kIdleBlock.data();
            if (m_slots[lane] != nullptr) {
                lengths[lane] = m_chunks[lane].blockLength();
                flags[lane] = m_chunks[lane].flags();
            }
        }
        Vector m[16];
        Lanes::transposeBlocks(starts, 0, m);
        Vector value[8];
        for (std::size_t word = 0; word < 8; ++word) {
            value[word] = Lanes::load(m_words[word].data());
        }
        CompressLanes<Lanes>(value, m, Lanes::load(m_counterLow.data()),
                             Lanes::load(m_counterHigh.data()), Lanes::load(lengths.data()),
                             Lanes::load(flags.data()));
        for (std::size_t word = 0; word < 8; ++word) {
            Lanes::store(m_words[word].data(), value[word]);
        }
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            if (m_slots[lane] != nullptr && m_chunks[lane].advance()) {
                for (std::size_t word = 0; word < 8; ++word) {
                    StoreLe32(m_slots[lane] + 4 * word, m_words[word][lane]);
                }
                refill(lane);
            }
        }
    }

    // The next chunk, if any is left, with the key as its chaining value.
    void refill(std::size_t lane) {
        m_slots[lane] = nullptr;
        if (m_message == m_messages.size()) {
            return;
        }
        const MessageBytes message = m_messages[m_message];
        m_chunks[lane].start(message, m_chunk);
        m_counterLow[lane] = static_cast<std::uint32_t>(m_chunk);
        m_counterHigh[lane] = static_cast<std::uint32_t>(std::uint64_t{m_chunk} >> 32);
        for (std::size_t word = 0; word < 8; ++word) {
            m_words[word][lane] = kSha256InitialValues[word];
        }
        m_slots[lane] = m_values;
        m_values += 32;
        if (++m_chunk == ChunkCount(message.size())) {
            ++m_message;
            m_chunk = 0;
        }
    }

    std::span<const MessageBytes> m_messages;
    std::uint8_t* m_values;
    std::size_t m_message = 0;
    std::size_t m_chunk = 0;
    std::array<LaneChunk, kLanes> m_chunks;
    // Where each lane's chunk value goes; null for an idle lane.
    std::array<std::uint8_t*, kLanes> m_slots{};
    alignas(64) LaneWords m_counterLow{};
    alignas(64) LaneWords m_counterHigh{};
    // The chaining values, word by word, one lane each.
    alignas(64) std::array<LaneWords, 8> m_words{};
};

template <class Lanes>
void HashMessagesInLanes(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    std::size_t chunks = 0;
    for (const MessageBytes message : messages) {
        chunks += ChunkCount(message.size());
    }
    std::vector<std::uint8_t> values(32 * chunks);
    ChunkLanes<Lanes>(messages, values.data()).run();
    JoinChunkValues(messages, values.data(), digests);
}

}  // namespace

}  // namespace tolvek::engine::blake3
