// The 16-bit checksums of the Unix sum command as streaming hashes: the BSD sum (sum -r), which
// rotates its sum right by a bit before adding each byte, and the System V sum (sum -s), the sum
// of all bytes folded to 16 bits. The digest is the 16-bit value big-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvek::engine {

class BsdSum {
public:
    static constexpr std::size_t kDigestSize = 2;
    // coreutils sum -r prints 53615 for "123456789".
    static constexpr std::string_view kKnownInput = "123456789";
    static constexpr std::string_view kKnownDigest = "d16f";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    std::uint16_t m_sum = 0;
};

class SysvSum {
public:
    static constexpr std::size_t kDigestSize = 2;
    // coreutils sum -s prints 477 for "123456789".
    static constexpr std::string_view kKnownInput = "123456789";
    static constexpr std::string_view kKnownDigest = "01dd";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    // The byte sum modulo 2^32, as the System V algorithm keeps it.
    std::uint32_t m_sum = 0;
};

}  // namespace tolvek::engine
