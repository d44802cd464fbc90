#include "engine/Sums.h"

#include <algorithm>
#include <bit>

#include "engine/EngineUtils.h"

namespace tolvek::engine {

namespace {

std::uint32_t bsdSum(std::uint32_t sum, std::span<const std::uint8_t> bytes) {
    auto value = static_cast<std::uint16_t>(sum);
    for (const std::uint8_t byte : bytes) {
        value = static_cast<std::uint16_t>(std::rotr(value, 1) + byte);
    }
    return value;
}

// Eight bytes at a time: their pairs add into four 16-bit lanes, which cannot overflow within
// 128 words (128 * 2 * 255 < 2^16), and the lanes go into the sum after each run.
std::uint32_t byteSum(std::uint32_t sum, std::span<const std::uint8_t> bytes) {
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
    constexpr std::size_t kWordsPerRun = 128;
    std::size_t index = 0;
    while (bytes.size() - index >= 8) {
        const std::size_t words = std::min(kWordsPerRun, (bytes.size() - index) / 8);
        std::uint64_t lanes = 0;
        for (std::size_t word = 0; word < words; ++word, index += 8) {
            const std::uint64_t value = LoadLe64(bytes.data() + index);
            lanes += (value & kEvenBytes) + ((value >> 8) & kEvenBytes);
        }
        for (; lanes != 0; lanes >>= 16) {
            sum += static_cast<std::uint32_t>(lanes & 0xFFFF);
        }
    }
    for (; index < bytes.size(); ++index) {
        sum += bytes[index];
    }
    return sum;
}

// The System V folding of the 32-bit byte sum to 16 bits.
std::uint32_t folded(std::uint32_t sum) {
    const std::uint32_t once = (sum & 0xFFFF) + (sum >> 16);
    return (once & 0xFFFF) + (once >> 16);
}

}  // namespace

template <UnixSumKind Kind>
void UnixSum<Kind>::update(std::span<const std::uint8_t> bytes) {
    m_sum = Kind == UnixSumKind::Bsd ? bsdSum(m_sum, bytes) : byteSum(m_sum, bytes);
}

template <UnixSumKind Kind>
void UnixSum<Kind>::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    const std::uint32_t checksum = Kind == UnixSumKind::Bsd ? m_sum : folded(m_sum);
    digest[0] = static_cast<std::uint8_t>(checksum >> 8);
    digest[1] = static_cast<std::uint8_t>(checksum);
}

template class UnixSum<UnixSumKind::Bsd>;
template class UnixSum<UnixSumKind::SystemV>;

}  // namespace tolvek::engine
