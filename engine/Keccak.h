// SHA-3 (FIPS 202): the Keccak-f[1600] sponge with the fixed-output SHA-3 rates, as streaming
// hashes that absorb whole blocks straight from the caller's memory.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/BlockBuffer.h"

namespace tolvek::engine {

// The 5 x 5 lanes, lane (x, y) at index x + 5y (FIPS 202, section 3.1.2).
using KeccakState = std::array<std::uint64_t, 25>;

// XORs each of `blockCount` consecutive blocks of `rate` bytes into the state's leading lanes
// and permutes after each, on the fastest path the CPU offers. `rate` is a multiple of 8.
void KeccakAbsorb(KeccakState& state, const std::uint8_t* blocks, std::size_t blockCount,
                  std::size_t rate);

// NIST's FIPS 202 examples: the SHA-3 digest of "abc" for each digest size.
constexpr std::string_view Sha3DigestOfAbc(std::size_t digestSize) {
    switch (digestSize) {
    case 28:
        return "e642824c3f8cf24ad09234ee7d3c766fc9a3a5168d0c94ad73b46fdf";
    case 32:
        return "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532";
    case 48:
        return "ec01498288516fc926459f58e2c6ad8df9b473cb0fc08c2596da7cf0e49be4b298d88cea927ac7f5"
               "39f1edf228376d25";
    default:
        return "b751850b1a57168a5693cd924b6b096e08f621827444f70d884f5d0240d2712e10e116e9192af3c9"
               "1a7ec57647e3934057340b4cf408d5a56592f8274eec53f0";
    }
}

// SHA3-224/256/384/512: capacity twice the digest, domain bits 01 then pad10*1 (FIPS 202,
// sections 6.1 and B.2); the digest is short enough to come from the first squeeze.
template <std::size_t DigestSize>
class Sha3 {
public:
    static constexpr std::size_t kDigestSize = DigestSize;
    static constexpr std::size_t kRate = 200 - 2 * DigestSize;
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest = Sha3DigestOfAbc(DigestSize);

    void update(std::span<const std::uint8_t> bytes) {
        m_fill = AbsorbBlocks(m_buffer, m_fill, bytes.data(), bytes.size(),
                              [this](const std::uint8_t* blocks, std::size_t blockCount) {
                                  KeccakAbsorb(m_state, blocks, blockCount, kRate);
                              });
    }

    void finish(std::span<std::uint8_t, kDigestSize> digest) {
        std::fill(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_fill), m_buffer.end(),
                  std::uint8_t{0});
        m_buffer[m_fill] ^= kDomainAndFirstPadBit;
        m_buffer[kRate - 1] ^= kLastPadBit;
        KeccakAbsorb(m_state, m_buffer.data(), 1, kRate);
        for (std::size_t index = 0; index < kDigestSize; ++index) {
            digest[index] = static_cast<std::uint8_t>(m_state[index / 8] >> (8 * (index % 8)));
        }
    }

private:
    static constexpr std::uint8_t kDomainAndFirstPadBit = 0x06;
    static constexpr std::uint8_t kLastPadBit = 0x80;

    KeccakState m_state{};
    std::array<std::uint8_t, kRate> m_buffer{};
    std::size_t m_fill = 0;
};

using Sha3_224 = Sha3<28>;
using Sha3_256 = Sha3<32>;
using Sha3_384 = Sha3<48>;
using Sha3_512 = Sha3<64>;

}  // namespace tolvek::engine
