#include "engine/QuickXor.h"

#include <algorithm>

#include "engine/EngineUtils.h"

namespace tolvek::engine {

namespace {

constexpr unsigned kRegisterBits = 160;
constexpr unsigned kShift = 11;

// XORs `bytes` into `folded` from position 0, whole words at a time.
void foldPeriod(std::array<std::uint8_t, 160>& folded, const std::uint8_t* bytes) {
    for (std::size_t offset = 0; offset < folded.size(); offset += 8) {
        StoreLe64(folded.data() + offset,
                  LoadLe64(folded.data() + offset) ^ LoadLe64(bytes + offset));
    }
}

}  // namespace

void QuickXor::update(std::span<const std::uint8_t> bytes) {
    std::size_t position = static_cast<std::size_t>(m_length % kPeriod);
    m_length += bytes.size();
    if (position != 0) {
        const std::size_t part = std::min(kPeriod - position, bytes.size());
        for (std::size_t index = 0; index < part; ++index) {
            m_folded[position + index] ^= bytes[index];
        }
        bytes = bytes.subspan(part);
    }
    for (; bytes.size() >= kPeriod; bytes = bytes.subspan(kPeriod)) {
        foldPeriod(m_folded, bytes.data());
    }
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        m_folded[index] ^= bytes[index];
    }
}

void QuickXor::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    std::array<std::uint8_t, kDigestSize> reg{};
    for (unsigned index = 0; index < kPeriod; ++index) {
        const unsigned start = (kShift * index) % kRegisterBits;
        for (unsigned bit = 0; bit < 8; ++bit) {
            if ((m_folded[index] >> bit & 1) != 0) {
                const unsigned at = (start + bit) % kRegisterBits;
                reg[at / 8] ^= static_cast<std::uint8_t>(1u << (at % 8));
            }
        }
    }
    std::array<std::uint8_t, 8> length;
    StoreLe64(length.data(), m_length);
    for (std::size_t index = 0; index < length.size(); ++index) {
        reg[kDigestSize - 8 + index] ^= length[index];
    }
    std::copy(reg.begin(), reg.end(), digest.begin());
}

}  // namespace tolvek::engine
