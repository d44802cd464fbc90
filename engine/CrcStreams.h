// CRC-32C and CRC-64/XZ as streaming hashes: the register starts at all ones and is complemented
// at the end, and the digest is the CRC's full width big-endian, as the catalogue writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvek::engine {

class Crc32c {
public:
    static constexpr std::size_t kDigestSize = 4;

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    std::uint32_t m_register = 0xFFFFFFFF;
};

class Crc64Xz {
public:
    static constexpr std::size_t kDigestSize = 8;

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    std::uint64_t m_register = ~std::uint64_t{0};
};

}  // namespace tolvek::engine
