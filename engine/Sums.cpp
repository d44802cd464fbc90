#include "engine/Sums.h"

#include <algorithm>
#include <bit>

#include "engine/EngineUtils.h"

namespace tolvek::engine {

void BsdSum::update(std::span<const std::uint8_t> bytes) {
    std::uint16_t sum = m_sum;
    for (const std::uint8_t byte : bytes) {
        sum = static_cast<std::uint16_t>(std::rotr(sum, 1) + byte);
    }
    m_sum = sum;
}

void BsdSum::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    digest[0] = static_cast<std::uint8_t>(m_sum >> 8);
    digest[1] = static_cast<std::uint8_t>(m_sum);
}

// Eight bytes at a time: their pairs add into four 16-bit lanes, which cannot overflow within
// 128 words (128 * 2 * 255 < 2^16), and the lanes are summed into the total after each run.
void SysvSum::update(std::span<const std::uint8_t> bytes) {
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
    constexpr std::size_t kWordsPerRun = 128;
    std::uint32_t sum = m_sum;
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
    m_sum = sum;
}

void SysvSum::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    const std::uint32_t folded = (m_sum & 0xFFFF) + (m_sum >> 16);
    const std::uint32_t checksum = (folded & 0xFFFF) + (folded >> 16);
    digest[0] = static_cast<std::uint8_t>(checksum >> 8);
    digest[1] = static_cast<std::uint8_t>(checksum);
}

}  // namespace tolvek::engine
