// XXH32, XXH64 and XXH3 (64- and 128-bit) with seed 0, as streaming hashes. Each digest is the hash
// value written most significant byte first, the way xxhsum prints it (XXH3-128: high half
// first).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/BlockBuffer.h"

namespace tolvek::engine {

// xxHash's sanity test input of 4 bytes (the first bytes of its generated sanity buffer), whose
// published digests the three classes carry.
inline constexpr std::string_view kXxhashSanityInput{"\x00\x52\x92\x9b", 4};

// XXH32 and XXH64, the classic xxHash: four lanes over stripes of four words, merged, then the
// tail and a final avalanche.
template <class Word>
class XxhClassic {
public:
    static constexpr std::size_t kDigestSize = sizeof(Word);
    static constexpr std::string_view kKnownInput = kXxhashSanityInput;
    static constexpr std::string_view kKnownDigest =
        sizeof(Word) == 4 ? "a9de7ce9" : "9136a0dca57457ee";

    void update(std::span<const std::uint8_t> bytes) {
        m_length += bytes.size();
        m_fill = AbsorbBlocks(m_buffer, m_fill, bytes.data(), bytes.size(),
                              [this](const std::uint8_t* stripes, std::size_t stripeCount) {
                                  absorbStripes(m_lanes, stripes, stripeCount);
                              });
    }
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    static constexpr std::size_t kStripe = 4 * sizeof(Word);

    static std::array<Word, 4> initialLanes();
    static void absorbStripes(std::array<Word, 4>& lanes, const std::uint8_t* stripes,
                              std::size_t stripeCount);

    std::array<Word, 4> m_lanes = initialLanes();
    std::array<std::uint8_t, kStripe> m_buffer{};
    std::size_t m_fill = 0;
    std::uint64_t m_length = 0;
};

template <>
std::array<std::uint32_t, 4> XxhClassic<std::uint32_t>::initialLanes();
template <>
void XxhClassic<std::uint32_t>::absorbStripes(std::array<std::uint32_t, 4>& lanes,
                                              const std::uint8_t* stripes,
                                              std::size_t stripeCount);
template <>
void XxhClassic<std::uint32_t>::finish(std::span<std::uint8_t, 4> digest) const;
template <>
std::array<std::uint64_t, 4> XxhClassic<std::uint64_t>::initialLanes();
template <>
void XxhClassic<std::uint64_t>::absorbStripes(std::array<std::uint64_t, 4>& lanes,
                                              const std::uint8_t* stripes,
                                              std::size_t stripeCount);
template <>
void XxhClassic<std::uint64_t>::finish(std::span<std::uint8_t, 8> digest) const;

using Xxh32 = XxhClassic<std::uint32_t>;
using Xxh64 = XxhClassic<std::uint64_t>;

namespace xxhash {

using Accumulators = std::array<std::uint64_t, 8>;

inline constexpr std::size_t kStripeSize = 64;
inline constexpr std::size_t kStripesPerBlock = 16;  // (secret size - stripe size) / 8
inline constexpr std::size_t kShortInputMax = 240;

// Accumulates `stripeCount` consecutive stripes into `accumulators`, the first being stripe
// `stripeInBlock` of its block; the accumulators are scrambled after each block's last stripe.
// Runs on the fastest path the CPU offers.
void AccumulateStripes(Accumulators& accumulators, const std::uint8_t* stripes,
                       std::size_t stripeCount, std::size_t stripeInBlock);

}  // namespace xxhash

// What XXH3-64 and XXH3-128 share: inputs up to 240 bytes wait whole in the buffer; longer
// ones are accumulated stripe by stripe straight from the caller's memory, except the last
// 1 to 64 bytes, whose stripe closes the message differently.
class Xxh3Stream {
public:
    Xxh3Stream();
    void update(std::span<const std::uint8_t> bytes);

protected:
    // The message when it is at most 240 bytes long.
    bool isShort() const { return m_length <= xxhash::kShortInputMax; }
    std::span<const std::uint8_t> shortMessage() const { return {m_buffer.data(), m_fill}; }
    // The accumulators of a longer message, its last stripe included.
    xxhash::Accumulators closedAccumulators() const;
    std::uint64_t length() const { return m_length; }

private:
    void accumulate(const std::uint8_t* stripes, std::size_t stripeCount);

    xxhash::Accumulators m_accumulators;
    std::size_t m_stripeInBlock = 0;
    std::array<std::uint8_t, 256> m_buffer{};    // bytes not accumulated yet
    std::size_t m_fill = 0;
    std::array<std::uint8_t, 64> m_lastStripe{};  // the last stripe accumulated
    std::uint64_t m_length = 0;
};

class Xxh3_64 : public Xxh3Stream {
public:
    static constexpr std::size_t kDigestSize = 8;
    static constexpr std::string_view kKnownInput = kXxhashSanityInput;
    static constexpr std::string_view kKnownDigest = "e5dc74bc51848a51";
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;
};

class Xxh3_128 : public Xxh3Stream {
public:
    static constexpr std::size_t kDigestSize = 16;
    static constexpr std::string_view kKnownInput = kXxhashSanityInput;
    static constexpr std::string_view kKnownDigest = "970d585ac632bf8e2e7d8d6876a39fe9";
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;
};

}  // namespace tolvek::engine
