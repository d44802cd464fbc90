// A list entry's digester over one of the engine's streaming hashes: the digest bytes as
// lower-case hexadecimal, first byte first. A hash that can spread a large update over threads
// uses every core.
#pragma once

#include <array>
#include <memory>

#include "app/hashing/Digester.h"
#include "engine/StreamingHash.h"
#include "engine/WorkerPool.h"

namespace tolvek::hashing {

// Two lower-case hex digits per byte, in order.
inline std::string LowerHex(std::span<const std::uint8_t> bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0f];
    }
    return text;
}

template <engine::StreamingHash Hash>
class StreamingDigester final : public Digester {
public:
    void update(std::span<const std::uint8_t> bytes) override {
        if constexpr (engine::SpreadsOverThreads<Hash>) {
            m_hash.update(bytes, engine::WorkerPool::Shared());
        } else {
            m_hash.update(bytes);
        }
    }

    DigestOutcome finish() override {
        std::array<std::uint8_t, Hash::kDigestSize> digest{};
        m_hash.finish(digest);
        return {true, LowerHex(digest)};
    }

private:
    Hash m_hash;
};

}  // namespace tolvek::hashing
