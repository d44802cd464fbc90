// Snefru, the eight-pass revision with its published S-boxes (Merkle, "A Fast Software One-Way
// Hash Function", J. Cryptology 1990), with 128- and 256-bit output. The number of passes is
// the published property Security_Level.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/DigestHash.h"

namespace tolvek::framework {

// The family base: the 512-bit input block whose first words chain, the pass count and the
// ending. Each class fixes how many words chain and how many carry the message.
class THashBaseSnefru : public TDigestHash {
public:
    ~THashBaseSnefru() override;

    const std::uint8_t* DigestBytes() const override;

    // Passes of the permutation, 2 to 8; a new object reads 0 until its first BeginHash.
    std::int32_t Security_Level() const { return m_securityLevel; }
    // A level from 2 to 8 is kept; any other value is taken as 8.
    void SetSecurity_Level(std::int32_t level);

protected:
    void InitState() override;
    // No padding byte: a partial last block is zero-filled, then a block holding only the
    // 64-bit bit count (big-endian, at its end) is always compressed.
    void FinishState() override;

    // One block of message words into W[ChainingWords] to W[15], permuted; each chaining word
    // i takes W[i] XOR permuted word 15 - i.
    template <std::size_t ChainingWords>
    void compressBlock(const std::uint8_t* block);

private:
    // W: the chaining words, then the message words; after the ending the digest bytes.
    std::array<std::uint32_t, 16> m_digest{};
    std::int32_t m_securityLevel = 0;
};

class THash_Snefru128 final : public THashBaseSnefru {
public:
    static constexpr std::string_view kClassName = "THash_Snefru128";
    static constexpr std::int32_t kDigestLength = 16;
    static constexpr std::int32_t kBlockLength = 48;

    HashClassRef ClassType() const override { return ClassOf<THash_Snefru128>; }

private:
    void ProcessBlock(const std::uint8_t* block) override;
};

class THash_Snefru256 final : public THashBaseSnefru {
public:
    static constexpr std::string_view kClassName = "THash_Snefru256";
    static constexpr std::int32_t kDigestLength = 32;
    static constexpr std::int32_t kBlockLength = 32;

    HashClassRef ClassType() const override { return ClassOf<THash_Snefru256>; }

private:
    void ProcessBlock(const std::uint8_t* block) override;
};

}  // namespace tolvek::framework
