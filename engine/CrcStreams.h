// CRC-32C and CRC-64/XZ as streaming hashes: the register starts at all ones and is complemented
// at the end, and the digest is the CRC's full width big-endian, as the catalogue writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvek::engine {

// The CRC catalogue's check values, over "123456789".
inline constexpr std::string_view kCrcCheckInput = "123456789";

class Crc32c {
public:
    static constexpr std::size_t kDigestSize = 4;
    static constexpr std::string_view kKnownInput = kCrcCheckInput;
    static constexpr std::string_view kKnownDigest = "e3069283";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    std::uint32_t m_register = 0xFFFFFFFF;
};

class Crc64Xz {
public:
    static constexpr std::size_t kDigestSize = 8;
    static constexpr std::string_view kKnownInput = kCrcCheckInput;
    static constexpr std::string_view kKnownDigest = "995dc9bbdf1939fa";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    std::uint64_t m_register = ~std::uint64_t{0};
};

}  // namespace tolvek::engine
