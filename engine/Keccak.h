// The Keccak sponge (FIPS 202) and the hashes on it: SHA-3 with its fixed outputs and the
// SHAKEs with outputs of any length, as streaming hashes that absorb whole blocks straight from
// the caller's memory.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/BlockBuffer.h"
#include "engine/KeccakConstants.h"

namespace tolvek::engine {

// The 5 x 5 lanes, lane (x, y) at index x + 5y (FIPS 202, section 3.1.2).
using KeccakState = std::array<std::uint64_t, 25>;

// XORs each of `blockCount` consecutive blocks of `rate` bytes into the state's leading lanes
// and permutes after each with Keccak-p[1600, rounds] (the last `rounds` rounds of
// Keccak-f[1600]), on the fastest path the CPU offers. `rate` is a multiple of 8.
void KeccakAbsorb(KeccakState& state, const std::uint8_t* blocks, std::size_t blockCount,
                  std::size_t rate, std::size_t rounds = keccak::kRounds);

// A sponge over Keccak-p[1600, Rounds] with a rate of Rate bytes: absorb any number of times,
// then squeeze once, which closes the message with the domain byte (its suffix bits and the first
// padding bit, FIPS 202 B.2) and pad10*1's last bit, and writes any number of output bytes.
template <std::size_t Rate, std::size_t Rounds = keccak::kRounds>
class KeccakSponge {
public:
    void absorb(std::span<const std::uint8_t> bytes) {
        m_fill = AbsorbBlocks(m_buffer, m_fill, bytes.data(), bytes.size(),
                              [this](const std::uint8_t* blocks, std::size_t blockCount) {
                                  KeccakAbsorb(m_state, blocks, blockCount, Rate, Rounds);
                              });
    }

    void squeeze(std::uint8_t domain, std::span<std::uint8_t> out) {
        std::fill(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_fill), m_buffer.end(),
                  std::uint8_t{0});
        m_buffer[m_fill] ^= domain;
        m_buffer[Rate - 1] ^= 0x80;
        KeccakAbsorb(m_state, m_buffer.data(), 1, Rate, Rounds);
        static constexpr std::array<std::uint8_t, Rate> kZeroBlock{};
        for (std::size_t done = 0; done < out.size(); done += Rate) {
            if (done != 0) {
                KeccakAbsorb(m_state, kZeroBlock.data(), 1, Rate, Rounds);
            }
            const std::size_t part = std::min(Rate, out.size() - done);
            for (std::size_t index = 0; index < part; ++index) {
                out[done + index] =
                    static_cast<std::uint8_t>(m_state[index / 8] >> (8 * (index % 8)));
            }
        }
    }

private:
    KeccakState m_state{};
    std::array<std::uint8_t, Rate> m_buffer{};
    std::size_t m_fill = 0;
};

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

// SHA3-224/256/384/512: capacity twice the digest, domain bits 01 (FIPS 202, section 6.1).
template <std::size_t DigestSize>
class Sha3 {
public:
    static constexpr std::size_t kDigestSize = DigestSize;
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest = Sha3DigestOfAbc(DigestSize);

    void update(std::span<const std::uint8_t> bytes) { m_sponge.absorb(bytes); }
    void finish(std::span<std::uint8_t, kDigestSize> digest) { m_sponge.squeeze(0x06, digest); }

private:
    KeccakSponge<200 - 2 * DigestSize> m_sponge;
};

using Sha3_224 = Sha3<28>;
using Sha3_256 = Sha3<32>;
using Sha3_384 = Sha3<48>;
using Sha3_512 = Sha3<64>;

// SHAKE128 and SHAKE256 (FIPS 202, section 6.2): domain bits 1111, output of any length. As a
// list entry the output is twice the security strength, 32 and 64 bytes.
template <std::size_t SecurityBits>
class Shake {
public:
    static constexpr std::size_t kDigestSize = 2 * SecurityBits / 8;
    // NIST's SHAKE examples over the empty message, to the length above.
    static constexpr std::string_view kKnownInput = "";
    static constexpr std::string_view kKnownDigest =
        SecurityBits == 128
            ? "7f9c2ba4e88f827d616045507605853ed73b8093f6efbc88eb1a6eacfa66ef26"
            : "46b9dd2b0ba88d13233b3feb743eeb243fcd52ea62b81b82b50c27646ed5762fd75dc4ddd8c0f200cb0"
              "5019d67b592f6fc821c49479ab48640292eacb3b7c4be";

    void update(std::span<const std::uint8_t> bytes) { m_sponge.absorb(bytes); }
    // Any number of output bytes.
    void finish(std::span<std::uint8_t> digest) { m_sponge.squeeze(0x1F, digest); }

private:
    KeccakSponge<200 - 2 * SecurityBits / 8> m_sponge;
};

using Shake128 = Shake<128>;
using Shake256 = Shake<256>;

}  // namespace tolvek::engine
