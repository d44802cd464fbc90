// The shape of the engine's streaming hashes, the algorithms outside the numbered hash types:
// constructing one starts a message, update takes any number of bytes straight from the
// caller's memory, and finish writes the digest bytes in the order the algorithm's reference
// tool prints them.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvek::engine {

template <class Hash>
concept StreamingHash =
    std::default_initializable<Hash> &&
    requires(Hash hash, std::span<const std::uint8_t> bytes,
             std::span<std::uint8_t, Hash::kDigestSize> digest) {
        { Hash::kDigestSize } -> std::convertible_to<std::size_t>;
        hash.update(bytes);
        hash.finish(digest);
    };

}  // namespace tolvek::engine
