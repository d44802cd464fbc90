// The 16-bit checksums of the Unix sum command as streaming hashes: the BSD sum (sum -r), which
// rotates its sum right by a bit before adding each byte, and the System V sum (sum -s), the sum
// of all bytes modulo 2^32 folded to 16 bits. The digest is the 16-bit value big-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvek::engine {

enum class UnixSumKind { Bsd, SystemV };

template <UnixSumKind Kind>
class UnixSum {
public:
    static constexpr std::size_t kDigestSize = 2;
    // coreutils sum -r prints 53615 and sum -s 477 for "123456789".
    static constexpr std::string_view kKnownInput = "123456789";
    static constexpr std::string_view kKnownDigest = Kind == UnixSumKind::Bsd ? "d16f" : "01dd";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    std::uint32_t m_sum = 0;
};

extern template class UnixSum<UnixSumKind::Bsd>;
extern template class UnixSum<UnixSumKind::SystemV>;

using BsdSum = UnixSum<UnixSumKind::Bsd>;
using SysvSum = UnixSum<UnixSumKind::SystemV>;

}  // namespace tolvek::engine
