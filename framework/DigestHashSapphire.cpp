#include "framework/DigestHashSapphire.h"

#include <algorithm>
#include <numeric>

namespace tolvek::framework {

THash_Sapphire::~THash_Sapphire() {
    WipeBuffer(m_digest.data(), sizeof m_digest);
    WipeBuffer(m_cards.data(), sizeof m_cards);
}

void THash_Sapphire::HashData(const void* data, std::int32_t size) {
    if (size > 0) {
        encipher(static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size));
    }
}

std::string THash_Sapphire::DigestText(FormatClassRef format) const {
    const std::int32_t size =
        m_requestedDigestSize > 0 ? std::min(m_requestedDigestSize, kDigestLength) : kDigestLength;
    return Encode(*ResolveFormat(format), m_digest.data(), size);
}

void THash_Sapphire::ProcessBlock(const std::uint8_t* block) { encipher(block, 1); }

void THash_Sapphire::InitState() {
    m_digest.fill(0);
    m_rotor = 1;
    m_ratchet = 3;
    m_avalanche = 5;
    m_lastPlain = 7;
    m_lastCipher = 11;
    // Cards[i] = 255 - i.
    std::iota(m_cards.rbegin(), m_cards.rend(), std::uint8_t{0});
}

void THash_Sapphire::FinishState() {
    std::array<std::uint8_t, 256> countdown;
    std::iota(countdown.rbegin(), countdown.rend(), std::uint8_t{0});
    encipher(countdown.data(), countdown.size());
    const std::uint8_t zero = 0;
    for (std::uint8_t& digestByte : m_digest) {
        encipher(&zero, 1);
        digestByte = m_lastCipher;
    }
}

void THash_Sapphire::encipher(const std::uint8_t* bytes, std::size_t count) {
    // The state lives in locals for the loop; the uint8_t arithmetic is the modulo 256.
    std::array<std::uint8_t, 256>& cards = m_cards;
    std::uint8_t rotor = m_rotor;
    std::uint8_t ratchet = m_ratchet;
    std::uint8_t avalanche = m_avalanche;
    std::uint8_t lastPlain = m_lastPlain;
    std::uint8_t lastCipher = m_lastCipher;
    for (std::size_t index = 0; index < count; ++index) {
        ratchet = static_cast<std::uint8_t>(ratchet + cards[rotor]);
        ++rotor;
        const std::uint8_t swap = cards[lastCipher];
        cards[lastCipher] = cards[ratchet];
        cards[ratchet] = cards[lastPlain];
        cards[lastPlain] = cards[rotor];
        cards[rotor] = swap;
        avalanche = static_cast<std::uint8_t>(avalanche + cards[swap]);
        const std::uint8_t plain = bytes[index];
        const std::uint8_t mix = cards[static_cast<std::uint8_t>(cards[ratchet] + cards[rotor])];
        const std::uint8_t feedback = cards[cards[static_cast<std::uint8_t>(
            cards[lastPlain] + cards[lastCipher] + cards[avalanche])]];
        lastPlain = plain;
        lastCipher = static_cast<std::uint8_t>(plain ^ mix ^ feedback);
    }
    m_rotor = rotor;
    m_ratchet = ratchet;
    m_avalanche = avalanche;
    m_lastPlain = lastPlain;
    m_lastCipher = lastCipher;
}

}  // namespace tolvek::framework
