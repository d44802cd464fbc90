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

std::array<std::uint32_t, 4> Xxh32::initialLanes() {
    return {kPrime32_1 + kPrime32_2, kPrime32_2, 0, 0 - kPrime32_1};
}

void Xxh32::update(std::span<const std::uint8_t> bytes) {
    m_length += bytes.size();
    m_fill = AbsorbBlocks(m_buffer, m_fill, bytes.data(), bytes.size(),
                          [this](const std::uint8_t* stripes, std::size_t stripeCount) {
                              std::array<std::uint32_t, 4> lanes = m_lanes;
                              for (; stripeCount != 0; --stripeCount, stripes += kStripe) {
                                  for (std::size_t lane = 0; lane < 4; ++lane) {
                                      lanes[lane] =
                                          xxh32Round(lanes[lane], LoadLe32(stripes + 4 * lane));
                                  }
                              }
                              m_lanes = lanes;
                          });
}

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
