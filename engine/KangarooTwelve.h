// KangarooTwelve (KT128, RFC 9861): TurboSHAKE128 (Keccak-p[1600, 12] at SHAKE128's rate) over
// the message, a customization string and its length; a message longer than one 8192-byte chunk
// becomes a tree whose leaves, the chunks after the first, are hashed independently of each
// other, many at a time, and whose final node absorbs their 32-byte chaining values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/Keccak.h"

namespace tolvek::engine {

class WorkerPool;

namespace kt128 {

inline constexpr std::size_t kRate = 168;
inline constexpr std::size_t kRounds = 12;
inline constexpr std::size_t kChunkSize = 8192;
inline constexpr std::size_t kChainingValueSize = 32;
// RFC 9861 section 3.3: the domain byte that closes a leaf.
inline constexpr std::uint8_t kLeafDomain = 0x0B;

using TurboShake128 = KeccakSponge<kRate, kRounds>;

// The chaining values of `count` consecutive whole leaves: TurboSHAKE128 of each chunk with
// domain byte 0x0B, 32 bytes each, into `values`.
void HashLeaves(const std::uint8_t* chunks, std::size_t count, std::uint8_t* values);

}  // namespace kt128

class KangarooTwelve {
public:
    // The list entry's output length, RFC 9861's default for KT128.
    static constexpr std::size_t kDigestSize = 32;
    // RFC 9861 section 5: the empty message with the empty customization string.
    static constexpr std::string_view kKnownInput = "";
    static constexpr std::string_view kKnownDigest =
        "1ac2d450fc3b4205d19da7bfca1b37513c0803577ac7167f06fe2ce1f0ef39e5";

    KangarooTwelve() = default;
    explicit KangarooTwelve(std::span<const std::uint8_t> customization);

    void update(std::span<const std::uint8_t> bytes);
    // The same as update(bytes): the whole leaves of a large update are hashed on the pool's
    // threads.
    void update(std::span<const std::uint8_t> bytes, WorkerPool& pool);
    // Any number of output bytes.
    void finish(std::span<std::uint8_t> digest);

private:
    void absorb(std::span<const std::uint8_t> bytes, WorkerPool* pool);
    void addChainingValues(const std::uint8_t* values, std::size_t count);

    std::vector<std::uint8_t> m_customization;
    kt128::TurboShake128 m_finalNode;  // the first chunk, then the leaves' chaining values
    kt128::TurboShake128 m_leaf;       // the leaf being filled
    std::size_t m_leafFill = 0;
    std::uint64_t m_leaves = 0;  // leaves whose chaining values the final node holds
    std::uint64_t m_length = 0;  // bytes of the message and customization so far
};

}  // namespace tolvek::engine
