// The hash built on the Sapphire stream cipher: every message byte is enciphered, which stirs a
// 256-card deck and five indices; the ending enciphers the bytes 255 down to 0, and the digest
// is the cipher's output for 64 zero bytes. It works byte by byte: no blocks, no bit count and
// no padding.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/DigestHash.h"

namespace tolvek::framework {

class THash_Sapphire final : public TDigestHash {
public:
    static constexpr std::string_view kClassName = "THash_Sapphire";
    static constexpr std::int32_t kDigestLength = 64;
    static constexpr std::int32_t kBlockLength = 1;

    ~THash_Sapphire() override;

    HashClassRef ClassType() const override { return ClassOf<THash_Sapphire>; }

    // Enciphers the bytes in any state: before BeginHash on a deck of zeros, after EndHash
    // from the finished state. A size of 0 or less does nothing.
    void HashData(const void* data, std::int32_t size) override;
    const std::uint8_t* DigestBytes() const override { return m_digest.data(); }
    // The first RequestedDigestSize() digest bytes when that is 1 to 64, all 64 when it is 0
    // or less, and never more than the 64 there are.
    std::string DigestText(FormatClassRef format) const override;

    // Kept across computations; a new object reads 0.
    std::int32_t RequestedDigestSize() const { return m_requestedDigestSize; }
    void SetRequestedDigestSize(std::int32_t size) { m_requestedDigestSize = size; }

private:
    // A block is one byte: it is enciphered like any other.
    void ProcessBlock(const std::uint8_t* block) override;
    void InitState() override;
    void FinishState() override;

    void encipher(const std::uint8_t* bytes, std::size_t count);

    // Always a permutation of 0 to 255 once InitState has run.
    std::array<std::uint8_t, 256> m_cards{};
    std::array<std::uint8_t, 64> m_digest{};
    // Indices into the deck and the last bytes in and out; sums wrap modulo 256.
    std::uint8_t m_rotor = 0;
    std::uint8_t m_ratchet = 0;
    std::uint8_t m_avalanche = 0;
    std::uint8_t m_lastPlain = 0;
    std::uint8_t m_lastCipher = 0;
    std::int32_t m_requestedDigestSize = 0;
};

}  // namespace tolvek::framework
