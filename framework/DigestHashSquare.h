// The 128-bit hash built on the Square block cipher (eight rounds) in the Matyas-Meyer-Oseas
// construction: each 16-byte block is enciphered under the chaining value as the key and XORed
// into the result; MD-style padding with the bit count big-endian.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/DigestHash.h"

namespace tolvek::framework {

class THash_Square final : public TDigestHash {
public:
    static constexpr std::string_view kClassName = "THash_Square";
    static constexpr std::int32_t kDigestLength = 16;
    static constexpr std::int32_t kBlockLength = 16;

    ~THash_Square() override;

    HashClassRef ClassType() const override { return ClassOf<THash_Square>; }
    const std::uint8_t* DigestBytes() const override { return m_digest.data(); }

private:
    void ProcessBlock(const std::uint8_t* block) override;
    void InitState() override;
    // Padding byte 0x80 by default, zeros, the 64-bit bit count big-endian in bytes 8 to 15.
    void FinishState() override;

    // The chaining value, and after the ending the digest.
    std::array<std::uint8_t, 16> m_digest{};
};

}  // namespace tolvek::framework
