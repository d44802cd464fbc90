// QuickXorHash, the digest a cloud drive shows for each file: every byte is XORed into a
// 160-bit circular register at 11 bits further than the byte before, and the message length is
// XORed into the register's last 64 bits. The digest is the register's 20 bytes, least
// significant first (the drive shows their base64).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvek::engine {

class QuickXor {
public:
    static constexpr std::size_t kDigestSize = 20;
    // rclone 1.60's quickxor hash of "abc".
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest = "6110c31800000000000000000300000000000000";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    // Byte k of the message lands at bit 11k mod 160, which depends only on k mod 160: the
    // message is XOR-folded onto 160 bytes and spread over the register once, at the end.
    static constexpr std::size_t kPeriod = 160;

    std::array<std::uint8_t, kPeriod> m_folded{};
    std::uint64_t m_length = 0;
};

}  // namespace tolvek::engine
