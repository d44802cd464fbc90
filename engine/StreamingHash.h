// The shape of the engine's streaming hashes, the algorithms outside the numbered hash types:
// constructing one starts a message, update takes any number of bytes straight from the
// caller's memory, and finish writes the digest bytes in the order the algorithm's reference
// tool prints them. Each carries a published known answer, kKnownInput and kKnownDigest (the
// digest as lower-case hexadecimal), that a self-test can check the build against.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvek::engine {

class WorkerPool;

template <class Hash>
concept StreamingHash =
    std::default_initializable<Hash> &&
    requires(Hash hash, std::span<const std::uint8_t> bytes,
             std::span<std::uint8_t, Hash::kDigestSize> digest) {
        { Hash::kDigestSize } -> std::convertible_to<std::size_t>;
        { Hash::kKnownInput } -> std::convertible_to<std::string_view>;
        { Hash::kKnownDigest } -> std::convertible_to<std::string_view>;
        hash.update(bytes);
        hash.finish(digest);
    };

// A streaming hash that can also spread one large update over a pool's threads.
template <class Hash>
concept SpreadsOverThreads = StreamingHash<Hash> &&
    requires(Hash hash, std::span<const std::uint8_t> bytes, WorkerPool& pool) {
        hash.update(bytes, pool);
    };

}  // namespace tolvek::engine
