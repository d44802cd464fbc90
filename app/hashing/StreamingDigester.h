// A list entry's digester over one of the engine's streaming hashes. A hash that can spread a
// large update over threads uses every core.
#pragma once

#include <memory>

#include "app/hashing/Digester.h"
#include "engine/StreamingHash.h"
#include "engine/WorkerPool.h"

namespace tolvek::hashing {

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
        Digest digest(Hash::kDigestSize);
        m_hash.finish(std::span<std::uint8_t, Hash::kDigestSize>(digest));
        return {true, std::move(digest), {}};
    }

private:
    Hash m_hash;
};

}  // namespace tolvek::hashing
