#include "engine/KangarooTwelve.h"

#include <algorithm>
#include <array>

#include "engine/Backends.h"
#include "engine/WorkerPool.h"

namespace tolvek::engine {

using namespace kt128;

namespace {

// RFC 9861 section 3.3's domain bytes of the final node.
constexpr std::uint8_t kSingleNode = 0x07;
constexpr std::uint8_t kFinalNode = 0x06;

// After the first chunk the final node takes 0x03 and seven zero bytes.
constexpr std::array<std::uint8_t, 8> kFinalNodeMark = {0x03};
// The final node ends with the leaf count's length_encode and 0xFF 0xFF.
constexpr std::array<std::uint8_t, 2> kFinalNodeEnd = {0xFF, 0xFF};

// Fewer whole leaves than this in one update are not worth waking other threads for.
constexpr std::size_t kLeavesForThreads = 32;
// Leaves per task: the values of a batch are absorbed in order once all are done.
constexpr std::size_t kLeavesPerTask = 16;

// length_encode(x) (RFC 9861 section 3.3): x big-endian without leading zeros, then the count of
// those bytes.
std::vector<std::uint8_t> lengthEncode(std::uint64_t value) {
    std::vector<std::uint8_t> bytes;
    for (; value != 0; value >>= 8) {
        bytes.insert(bytes.begin(), static_cast<std::uint8_t>(value));
    }
    bytes.push_back(static_cast<std::uint8_t>(bytes.size()));
    return bytes;
}

}  // namespace

namespace kt128 {

void HashLeavesPortable(const std::uint8_t* chunks, std::size_t count, std::uint8_t* values) {
    for (std::size_t leaf = 0; leaf < count; ++leaf) {
        TurboShake128 sponge;
        sponge.absorb({chunks + leaf * kChunkSize, kChunkSize});
        sponge.squeeze(kLeafDomain, {values + leaf * kChainingValueSize, kChainingValueSize});
    }
}

}  // namespace kt128

KangarooTwelve::KangarooTwelve(std::span<const std::uint8_t> customization)
    : m_customization(customization.begin(), customization.end()) {}

void KangarooTwelve::update(std::span<const std::uint8_t> bytes) {
    absorb(bytes, nullptr);
}

void KangarooTwelve::update(std::span<const std::uint8_t> bytes, WorkerPool& pool) {
    absorb(bytes, &pool);
}

void KangarooTwelve::absorb(std::span<const std::uint8_t> bytes, WorkerPool* pool) {
    if (m_length < kChunkSize) {
        const std::size_t part = std::min<std::size_t>(kChunkSize - m_length, bytes.size());
        m_finalNode.absorb(bytes.first(part));
        m_length += part;
        bytes = bytes.subspan(part);
    }
    if (bytes.empty()) {
        return;
    }
    if (m_length == kChunkSize) {
        m_finalNode.absorb(kFinalNodeMark);
    }
    m_length += bytes.size();
    while (!bytes.empty()) {
        if (m_leafFill == 0 && bytes.size() >= kChunkSize) {
            const std::size_t leaves = bytes.size() / kChunkSize;
            std::array<std::uint8_t, kLeavesPerTask * kChainingValueSize> values;
            if (pool != nullptr && pool->threads() > 1 && leaves >= kLeavesForThreads) {
                const std::size_t tasks = leaves / kLeavesPerTask;
                std::vector<std::uint8_t> all(tasks * kLeavesPerTask * kChainingValueSize);
                pool->forEach(tasks, [&](std::size_t task) {
                    HashLeaves(bytes.data() + task * kLeavesPerTask * kChunkSize, kLeavesPerTask,
                               all.data() + task * kLeavesPerTask * kChainingValueSize);
                });
                addChainingValues(all.data(), tasks * kLeavesPerTask);
                bytes = bytes.subspan(tasks * kLeavesPerTask * kChunkSize);
                continue;
            }
            const std::size_t batch = std::min(leaves, kLeavesPerTask);
            HashLeaves(bytes.data(), batch, values.data());
            addChainingValues(values.data(), batch);
            bytes = bytes.subspan(batch * kChunkSize);
            continue;
        }
        const std::size_t part = std::min(kChunkSize - m_leafFill, bytes.size());
        m_leaf.absorb(bytes.first(part));
        m_leafFill += part;
        bytes = bytes.subspan(part);
        if (m_leafFill == kChunkSize) {
            std::array<std::uint8_t, kChainingValueSize> value;
            m_leaf.squeeze(kLeafDomain, value);
            addChainingValues(value.data(), 1);
            m_leaf = TurboShake128{};
            m_leafFill = 0;
        }
    }
}

void KangarooTwelve::addChainingValues(const std::uint8_t* values, std::size_t count) {
    m_finalNode.absorb({values, count * kChainingValueSize});
    m_leaves += count;
}

void KangarooTwelve::finish(std::span<std::uint8_t> digest) {
    absorb(m_customization, nullptr);
    absorb(lengthEncode(m_customization.size()), nullptr);
    if (m_length <= kChunkSize) {
        m_finalNode.squeeze(kSingleNode, digest);
        return;
    }
    if (m_leafFill != 0) {
        std::array<std::uint8_t, kChainingValueSize> value;
        m_leaf.squeeze(kLeafDomain, value);
        addChainingValues(value.data(), 1);
    }
    m_finalNode.absorb(lengthEncode(m_leaves));
    m_finalNode.absorb(kFinalNodeEnd);
    m_finalNode.squeeze(kFinalNode, digest);
}

}  // namespace tolvek::engine
