// The three published versions of the Whirlpool hash (512-bit blocks and digest): Whirlpool-0,
// Whirlpool-T with a new S-box, and the final 2003 version with Whirlpool-T's S-box and a new
// diffusion matrix. They differ only in the tables derived from those two.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/DigestHash.h"
#include "framework/WhirlpoolTables.h"

namespace tolvek::framework {

// The family base: compression and ending, reading every constant through two table references
// that each version sets when a computation begins.
class THashBaseWhirlpool : public TDigestHash {
public:
    static constexpr std::int32_t kDigestLength = 64;
    static constexpr std::int32_t kBlockLength = 64;

    ~THashBaseWhirlpool() override;

    const std::uint8_t* DigestBytes() const override { return m_digest.data(); }

protected:
    // Clears the chaining state and chooses the version's tables.
    void startWith(const data::WhirlpoolCirculant& circulant,
                   const data::WhirlpoolRoundConstants& roundConstants);

private:
    void ProcessBlock(const std::uint8_t* block) override;
    // Padding byte 0x80 by default, zeros, the 256-bit bit count big-endian in bytes 32 to 63.
    void FinishState() override;

    // The 8 x 8 byte state in the standard's byte order; after the ending, the digest.
    std::array<std::uint8_t, 64> m_digest{};
    const data::WhirlpoolCirculant* m_circulant = nullptr;
    const data::WhirlpoolRoundConstants* m_roundConstants = nullptr;
};

// Whirlpool-0 (NESSIE submission, 2000).
class THash_Whirlpool final : public THashBaseWhirlpool {
public:
    static constexpr std::string_view kClassName = "THash_Whirlpool";

    HashClassRef ClassType() const override { return ClassOf<THash_Whirlpool>; }

private:
    void InitState() override;
};

// Whirlpool-T (the tweaked NESSIE submission, 2001).
class THash_Whirlpool1 final : public THashBaseWhirlpool {
public:
    static constexpr std::string_view kClassName = "THash_Whirlpool1";

    HashClassRef ClassType() const override { return ClassOf<THash_Whirlpool1>; }

private:
    void InitState() override;
};

// Whirlpool as finally adopted (2003, ISO/IEC 10118-3), what other tools mean by the name.
class THash_Whirlpool2003 final : public THashBaseWhirlpool {
public:
    static constexpr std::string_view kClassName = "THash_Whirlpool2003";
    // The ISO/IEC 10118-3 test vector "abc" of the designers' reference package.
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest =
        "4e2448a4c6f486bb16b6562c73b4020bf3043e3a731bce721ae1b303d97e6d4c7181eebdb6c57e277d0e34"
        "957114cbd6c797fc9d95d8b582d225292076d4eef5";

    HashClassRef ClassType() const override { return ClassOf<THash_Whirlpool2003>; }

private:
    void InitState() override;
};

}  // namespace tolvek::framework
