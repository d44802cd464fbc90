// XXH32 with seed 0, as the xxHash format description gives it: four 32-bit lanes over 16-byte
// stripes, merged, then the tail word by word and byte by byte, and a final avalanche.
#include <bit>

#include "engine/BlockBuffer.h"
#include "engine/EngineUtils.h"
#include "engine/XXHash.h"
#include "engine/XXHashSecret.h"

namespace tolvek::engine {

using namespace xxhash;

namespace {

std::uint32_t xxh32Round(std::uint32_t lane, std::uint32_t input) {
    return std::rotl(lane + input * kPrime32_2, 13) * kPrime32_1;
}

std::uint32_t xxh32Avalanche(std::uint32_t hash) {
    hash ^= hash >> 15;
    hash *= kPrime32_2;
    hash ^= hash >> 13;
    hash *= kPrime32_3;
    return hash ^ (hash >> 16);
}

}  // namespace

template <>
std::array<std::uint32_t, 4> Xxh32::initialLanes() {
    return {kPrime32_1 + kPrime32_2, kPrime32_2, 0, 0 - kPrime32_1};
}

// The four lanes as separate variables, and the file built without vectorizing
// (engine/CMakeLists.txt): vectorized, their 32-bit multiplies would need SSE4.1 or be emulated
// at a sixth of the scalar speed.
template <>
void Xxh32::absorbStripes(
    std::array<std::uint32_t, 4>& lanes, const std::uint8_t* stripes, std::size_t stripeCount) {
    std::uint32_t lane0 = lanes[0];
    std::uint32_t lane1 = lanes[1];
    std::uint32_t lane2 = lanes[2];
    std::uint32_t lane3 = lanes[3];
    for (; stripeCount != 0; --stripeCount, stripes += kStripe) {
        lane0 = xxh32Round(lane0, LoadLe32(stripes));
        lane1 = xxh32Round(lane1, LoadLe32(stripes + 4));
        lane2 = xxh32Round(lane2, LoadLe32(stripes + 8));
        lane3 = xxh32Round(lane3, LoadLe32(stripes + 12));
    }
    lanes = {lane0, lane1, lane2, lane3};
}

template <>
void Xxh32::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    std::uint32_t hash = kPrime32_5;
    if (m_length >= kStripe) {
        hash = std::rotl(m_lanes[0], 1) + std::rotl(m_lanes[1], 7) + std::rotl(m_lanes[2], 12) +
               std::rotl(m_lanes[3], 18);
    }
    // The length modulo 2^32, as the format defines it.
    hash += static_cast<std::uint32_t>(m_length);
    const std::uint8_t* tail = m_buffer.data();
    std::size_t left = m_fill;
    for (; left >= 4; left -= 4, tail += 4) {
        hash = std::rotl(hash + LoadLe32(tail) * kPrime32_3, 17) * kPrime32_4;
    }
    for (; left != 0; --left, ++tail) {
        hash = std::rotl(hash + *tail * kPrime32_5, 11) * kPrime32_1;
    }
    StoreBe32(digest.data(), xxh32Avalanche(hash));
}

}  // namespace tolvek::engine
