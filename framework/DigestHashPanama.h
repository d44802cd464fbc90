// Panama as a hash (Daemen and Clapp, FSE 1998), little-endian words as in the designers'
// reference implementation: a 544-bit state and a 32-stage buffer of 256-bit stages, one
// 256-bit block per push iteration, and 32 blank pull iterations before the digest is read.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/DigestHash.h"

namespace tolvek::framework {

namespace internal {
struct PanamaAccess;
}

class THash_Panama final : public TDigestHash {
public:
    static constexpr std::string_view kClassName = "THash_Panama";
    static constexpr std::int32_t kDigestLength = 32;
    static constexpr std::int32_t kBlockLength = 32;

    using Stage = std::array<std::uint32_t, 8>;

    ~THash_Panama() override;

    HashClassRef ClassType() const override { return ClassOf<THash_Panama>; }
    // The 32 digest bytes, followed by the rest of the state.
    const std::uint8_t* DigestBytes() const override;

private:
    friend struct internal::PanamaAccess;

    void ProcessBlock(const std::uint8_t* block) override;
    void ProcessBlocks(const std::uint8_t* blocks, std::int32_t count) override;
    void InitState() override;
    // Padding byte 0x01 by default and zeros make one last block; no length enters the digest.
    // The pull iterations follow, and the buffer is cleared once the digest is out.
    void FinishState() override;
    void pull();

    // A circular buffer: stage j of the standard is m_stages[(m_tap + j) % 32].
    std::array<Stage, 32> m_stages{};
    // The state a[0] to a[16]; after the ending, the digest in words 0 to 7.
    std::array<std::uint32_t, 17> m_digest{};
    std::int32_t m_tap = 0;
};

namespace internal {

// Test-only view of the stage buffer.
struct PanamaAccess {
    static const std::array<THash_Panama::Stage, 32>& Stages(const THash_Panama& hash) {
        return hash.m_stages;
    }
};

}  // namespace internal

}  // namespace tolvek::framework
