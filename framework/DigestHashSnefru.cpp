#include "framework/DigestHashSnefru.h"

#include <bit>
#include <cstring>

#include "framework/DigestDataSnefru.h"

namespace tolvek::framework {

namespace {

using data::kSnefruSBoxes;
using Block = std::array<std::uint32_t, 16>;
constexpr std::size_t kBlockWords = 16;

constexpr std::int32_t kMostPasses = 8;
constexpr std::int32_t kFewestPasses = 2;

// The low byte of every box entry. The permutation is one long chain of dependent look-ups:
// the index of step i + 1 is the low byte of word i + 1 after the entry of step i went into
// it. Taking the entry's low byte from this table lets the next index follow from one byte
// load and one XOR, while the full entry is loaded beside it, off the chain.
using LowBytes = std::array<std::array<std::uint8_t, 256>, 16>;
alignas(64) constexpr LowBytes kLowBytes = [] {
    LowBytes table{};
    for (std::size_t box = 0; box < table.size(); ++box) {
        for (std::size_t index = 0; index < 256; ++index) {
            table[box][index] = static_cast<std::uint8_t>(kSnefruSBoxes[box][index]);
        }
    }
    return table;
}();

// The low byte of a word, computed off the chain. The empty asm keeps the compiler from
// moving the mask behind the XOR with the chained byte, which would add an instruction to
// every step of the chain.
[[gnu::always_inline]] inline std::size_t lowByteOf(std::uint32_t word) {
    std::size_t low = word & 0xff;
    asm("" : "+r"(low));
    if (low > 0xff) {
        __builtin_unreachable();
    }
    return low;
}

// One byte-round of the permutation, in place. Step i looks up word i's low byte in box
// 2p + ((i div 2) mod 2) and XORs the entry into words i - 1 and i + 1; then every word turns
// right by Shift. Each word is read once and written once, already turned.
template <int Shift>
[[gnu::always_inline]] inline void byteRound(std::uint32_t* words, const std::uint32_t* boxes,
                                             const std::uint8_t* lowBytes) {
    const std::uint32_t word0 = words[0];
    std::size_t index = word0 & 0xff;
    std::uint32_t entry = boxes[index];
    std::size_t nextIndex = lowBytes[index] ^ lowByteOf(words[1]);
    const std::uint32_t word15 = words[15] ^ entry;
    std::uint32_t previous = words[1] ^ entry;

    index = nextIndex;
    entry = boxes[index];
    nextIndex = lowBytes[index] ^ lowByteOf(words[2]);
    const std::uint32_t pendingWord0 = word0 ^ entry;

#pragma GCC unroll 16
    for (std::size_t step = 2; step < 15; ++step) {
        const std::size_t box = ((step >> 1) & 1) * 256;
        const std::uint32_t current = words[step] ^ entry;
        index = nextIndex;
        entry = boxes[box + index];
        nextIndex = lowBytes[box + index] ^ lowByteOf(step < 14 ? words[step + 1] : word15);
        words[step - 1] = std::rotr(previous ^ entry, Shift);
        previous = current;
    }

    const std::uint32_t current = word15 ^ entry;
    entry = boxes[256 + nextIndex];
    words[14] = std::rotr(previous ^ entry, Shift);
    words[15] = std::rotr(current, Shift);
    words[0] = std::rotr(pendingWord0 ^ entry, Shift);
}

// The Snefru permutation with `passes` passes; pass p uses boxes 2p and 2p + 1. Kept out of
// line on its own memory so that the compiler does not spread the sixteen words over spilled
// registers, which would put stores and reloads on the chain.
[[gnu::noinline]] void permute(std::uint32_t* words, std::int32_t passes) {
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        const std::uint32_t* boxes = kSnefruSBoxes[2 * pass].data();
        const std::uint8_t* lowBytes = kLowBytes[2 * pass].data();
        byteRound<16>(words, boxes, lowBytes);
        byteRound<8>(words, boxes, lowBytes);
        byteRound<16>(words, boxes, lowBytes);
        byteRound<24>(words, boxes, lowBytes);
    }
}

void storeBigEndian(std::uint32_t word, std::uint8_t* bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        word = SwapBytes32(word);
    }
    std::memcpy(bytes, &word, sizeof word);
}

}  // namespace

THashBaseSnefru::~THashBaseSnefru() { WipeBuffer(m_digest.data(), sizeof m_digest); }

const std::uint8_t* THashBaseSnefru::DigestBytes() const {
    return reinterpret_cast<const std::uint8_t*>(m_digest.data());
}

void THashBaseSnefru::SetSecurity_Level(std::int32_t level) {
    m_securityLevel = level < kFewestPasses || level > kMostPasses ? kMostPasses : level;
}

void THashBaseSnefru::InitState() {
    m_digest.fill(0);
    SetSecurity_Level(m_securityLevel);
}

template <std::size_t ChainingWords>
void THashBaseSnefru::compressBlock(const std::uint8_t* block) {
    constexpr std::size_t kMessageWords = kBlockWords - ChainingWords;
    std::uint32_t* const message = m_digest.data() + ChainingWords;
    std::memcpy(message, block, kMessageWords * sizeof(std::uint32_t));
    if constexpr (std::endian::native == std::endian::little) {
        SwapWords32(message, message, static_cast<std::int32_t>(kMessageWords));
    }
    Block permuted = m_digest;
    permute(permuted.data(), m_securityLevel);
    for (std::size_t word = 0; word < ChainingWords; ++word) {
        m_digest[word] ^= permuted[kBlockWords - 1 - word];
    }
}

void THashBaseSnefru::FinishState() {
    std::uint8_t* const buffer = BlockBuffer();
    const std::int32_t size = BlockBufferSize();
    if (BlockFill() > 0) {
        std::memset(buffer + BlockFill(), 0, static_cast<std::size_t>(size - BlockFill()));
        ProcessBlock(buffer);
        SetBlockFill(0);
    }
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    storeBigEndian(BitCounter()[1], buffer + size - 8);
    storeBigEndian(BitCounter()[0], buffer + size - 4);
    ProcessBlock(buffer);
    // The digest bytes are the chaining words big-endian.
    if constexpr (std::endian::native == std::endian::little) {
        SwapWords32(m_digest.data(), m_digest.data(), 8);
    }
}

void THash_Snefru128::ProcessBlock(const std::uint8_t* block) { compressBlock<4>(block); }

void THash_Snefru256::ProcessBlock(const std::uint8_t* block) { compressBlock<8>(block); }

}  // namespace tolvek::framework
