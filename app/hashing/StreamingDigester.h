// A list entry's digester over one of the engine's streaming hashes. A hash that can spread a
// large update over threads uses every core.
#pragma once

#include <concepts>
#include <cstdint>
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
class StreamingDigester : public Digester {
public:
    void update(std::span<const std::uint8_t> bytes) override { UpdateOnEveryCore(m_hash, bytes); }

    DigestOutcome finish() override {
        Digest digest(Hash::kDigestSize);
        m_hash.finish(std::span<std::uint8_t, Hash::kDigestSize>(digest));
        return {true, std::move(digest), {}};
    }

protected:
    Hash m_hash;
};

// A hash whose message can be hashed in pieces apart and joined in order (see PieceHashing).
template <class Hash>
concept JoinsPieces = requires(Hash hash, std::span<const std::uint8_t> bytes) {
    { Hash::piece(bytes) } -> std::unsigned_integral;
    hash.join(Hash::piece(bytes), std::uint64_t{});
};

template <engine::StreamingHash Hash>
    requires JoinsPieces<Hash>
class PieceDigester final : public StreamingDigester<Hash>, public PieceHashing {
public:
    PieceHashing* pieces() override { return this; }
    std::uint64_t hashPiece(std::span<const std::uint8_t> bytes) const override {
        return Hash::piece(bytes);
    }
    void joinPiece(std::uint64_t value, std::uint64_t length) override {
        this->m_hash.join(static_cast<decltype(Hash::piece({}))>(value), length);
    }
};

// The digester of a streaming hash, joining pieces when the hash can.
template <engine::StreamingHash Hash>
std::unique_ptr<Digester> StartStreaming() {
    if constexpr (JoinsPieces<Hash>) {
        return std::make_unique<PieceDigester<Hash>>();
    } else {
        return std::make_unique<StreamingDigester<Hash>>();
    }
}

}  // namespace tolvek::hashing
