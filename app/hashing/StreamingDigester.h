// A list entry's digester over one of the engine's streaming hashes. A hash that can spread a
// large update over threads uses every core.
#pragma once

#include <memory>

#include "app/hashing/Digester.h"
#include "engine/StreamingHash.h"
#include "engine/WorkerPool.h"

namespace tolvek::hashing {

// Hands `bytes` to `hash`, over the shared pool's threads when the hash can spread.
template <class Hash>
void UpdateOnEveryCore(Hash& hash, std::span<const std::uint8_t> bytes) {
    if constexpr (engine::SpreadsOverThreads<Hash>) {
        hash.update(bytes, engine::WorkerPool::Shared());
    } else {
        hash.update(bytes);
    }
}

template <engine::StreamingHash Hash>
class StreamingDigester final : public Digester {
public:
    void update(std::span<const std::uint8_t> bytes) override { UpdateOnEveryCore(m_hash, bytes); }

    DigestOutcome finish() override {
        Digest digest(Hash::kDigestSize);
        m_hash.finish(std::span<std::uint8_t, Hash::kDigestSize>(digest));
        return {true, std::move(digest), {}};
    }

private:
    Hash m_hash;
};

}  // namespace tolvek::hashing
