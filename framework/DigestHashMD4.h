// The MD4-style family: 64-byte blocks read as sixteen little-endian words, chaining words kept
// in little-endian order, and one shared ending. MD5 (RFC 1321), RIPEMD-256 and RIPEMD-320.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/DigestHash.h"

namespace tolvek::framework {

// The family base: the chaining words, their initial values and the ending. Each class adds its
// compression, and where it differs its initial values and digest length.
class THashBaseMD4 : public TDigestHash {
public:
    static constexpr std::int32_t kDigestLength = 16;
    static constexpr std::int32_t kBlockLength = 64;

    ~THashBaseMD4() override;

    const std::uint8_t* DigestBytes() const override;

protected:
    // Loads RIPEMD-320's ten initial words, whose first four are MD5's.
    void InitState() override;
    // Padding byte 0x80 by default, zeros, the 64-bit bit count little-endian at the end.
    void FinishState() override;

    // The chaining words, and after the ending the digest: its first DigestLength() bytes.
    std::array<std::uint32_t, 10> m_digest{};
};

class THash_MD5 final : public THashBaseMD4 {
public:
    static constexpr std::string_view kClassName = "THash_MD5";

    HashClassRef ClassType() const override { return ClassOf<THash_MD5>; }

private:
    void ProcessBlock(const std::uint8_t* block) override;
};

class THash_RipeMD256 final : public THashBaseMD4 {
public:
    static constexpr std::string_view kClassName = "THash_RipeMD256";
    static constexpr std::int32_t kDigestLength = 32;

    HashClassRef ClassType() const override { return ClassOf<THash_RipeMD256>; }

private:
    void ProcessBlock(const std::uint8_t* block) override;
    void InitState() override;
};

class THash_RipeMD320 final : public THashBaseMD4 {
public:
    static constexpr std::string_view kClassName = "THash_RipeMD320";
    static constexpr std::int32_t kDigestLength = 40;

    HashClassRef ClassType() const override { return ClassOf<THash_RipeMD320>; }

private:
    void ProcessBlock(const std::uint8_t* block) override;
};

}  // namespace tolvek::framework
