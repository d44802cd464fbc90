#include "engine/Streebog.h"

#include <algorithm>

#include "engine/BlockBuffer.h"
#include "engine/EngineUtils.h"
#include "engine/StreebogTables.h"

namespace tolvek::engine {

using namespace streebog;

namespace {

// LPS in one step per output word: kLps[j][b] is l applied to the word whose byte j is pi[b]
// and whose other bytes are zero; P moves byte i of word j to byte j of word i.
using LpsTables = std::array<std::array<std::uint64_t, 256>, 8>;

consteval LpsTables buildLpsTables() {
    LpsTables tables{};
    for (unsigned byteIndex = 0; byteIndex < 8; ++byteIndex) {
        for (unsigned value = 0; value < 256; ++value) {
            std::uint64_t row = 0;
            for (unsigned bit = 0; bit < 8; ++bit) {
                if ((kPi[value] >> bit & 1) != 0) {
                    // Bit k of the word (k = 0 least significant) selects A_(63 - k).
                    row ^= kLinearRows[63 - (8 * byteIndex + bit)];
                }
            }
            tables[byteIndex][value] = row;
        }
    }
    return tables;
}

alignas(64) constexpr LpsTables kLps = buildLpsTables();

consteval unsigned hexValue(char digit) {
    return digit <= '9' ? static_cast<unsigned>(digit - '0')
                        : static_cast<unsigned>(digit - 'a' + 10);
}

// The RFC's big-endian hexadecimal as words, word 0 least significant.
consteval std::array<Block, 12> iterationConstants() {
    std::array<Block, 12> constants{};
    for (std::size_t index = 0; index < constants.size(); ++index) {
        const std::string_view hex = kIterationConstants[index];
        for (std::size_t word = 0; word < 8; ++word) {
            std::uint64_t value = 0;
            for (std::size_t digit = 0; digit < 16; ++digit) {
                value = value << 4 | hexValue(hex[(7 - word) * 16 + digit]);
            }
            constants[index][word] = value;
        }
    }
    return constants;
}

alignas(64) constexpr std::array<Block, 12> kC = iterationConstants();

static_assert(kC[0][0] == 0xdd806559f2a64507 && kC[11][7] == 0x378ee767f11631ba);

Block lps(const Block& value) {
    Block result;
    for (std::size_t word = 0; word < 8; ++word) {
        const unsigned shift = 8 * static_cast<unsigned>(word);
        std::uint64_t mixed = 0;
        for (std::size_t source = 0; source < 8; ++source) {
            mixed ^= kLps[source][(value[source] >> shift) & 0xFF];
        }
        result[word] = mixed;
    }
    return result;
}

Block xorOf(const Block& left, const Block& right) {
    Block result;
    for (std::size_t word = 0; word < 8; ++word) {
        result[word] = left[word] ^ right[word];
    }
    return result;
}

// (value + addend) mod 2^512.
void add512(Block& value, const Block& addend) {
    std::uint64_t carry = 0;
    for (std::size_t word = 0; word < 8; ++word) {
        const std::uint64_t sum = value[word] + addend[word];
        const std::uint64_t withCarry = sum + carry;
        carry = (sum < value[word] ? 1 : 0) + (withCarry < sum ? 1 : 0);
        value[word] = withCarry;
    }
}

Block loadBlock(const std::uint8_t* bytes) {
    Block block;
    for (std::size_t word = 0; word < 8; ++word) {
        block[word] = LoadLe64(bytes + 8 * word);
    }
    return block;
}

// g_N(h, m) = E(LPS(h ^ N), m) ^ h ^ m, with E's twelve rounds and its key schedule side by side.
void compress(Block& hash, const Block& bitCount, const Block& message) {
    Block key = lps(xorOf(hash, bitCount));
    Block state = xorOf(key, message);
    for (const Block& constant : kC) {
        key = lps(xorOf(key, constant));
        state = xorOf(lps(state), key);
    }
    hash = xorOf(xorOf(hash, state), message);
}

constexpr Block kBlockBits = {512, 0, 0, 0, 0, 0, 0, 0};
constexpr Block kZero = {};

}  // namespace

namespace streebog {

void CompressBlocks(Block& hash, Block& bitCount, Block& sum, const std::uint8_t* blocks,
                    std::size_t blockCount) {
    for (; blockCount != 0; --blockCount, blocks += 64) {
        const Block message = loadBlock(blocks);
        compress(hash, bitCount, message);
        add512(bitCount, kBlockBits);
        add512(sum, message);
    }
}

}  // namespace streebog

template <std::size_t DigestSize>
Streebog<DigestSize>::Streebog() {
    // Section 8.1: the initial value is all zero bits for 512, 00000001 bytes for 256.
    m_hash.fill(DigestSize == 64 ? 0 : 0x0101010101010101);
}

template <std::size_t DigestSize>
void Streebog<DigestSize>::update(std::span<const std::uint8_t> bytes) {
    m_fill = AbsorbBlocks(m_buffer, m_fill, bytes.data(), bytes.size(),
                          [this](const std::uint8_t* blocks, std::size_t blockCount) {
                              CompressBlocks(m_hash, m_bitCount, m_sum, blocks, blockCount);
                          });
}

// Section 8.3: the last, partial block padded with a one byte and zeros, then the bit count and
// the sum of all blocks.
template <std::size_t DigestSize>
void Streebog<DigestSize>::finish(std::span<std::uint8_t, kDigestSize> digest) {
    std::fill(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_fill), m_buffer.end(), 0);
    m_buffer[m_fill] = 0x01;
    const Block message = loadBlock(m_buffer.data());
    compress(m_hash, m_bitCount, message);
    add512(m_bitCount, {8 * m_fill, 0, 0, 0, 0, 0, 0, 0});
    add512(m_sum, message);
    compress(m_hash, kZero, m_bitCount);
    compress(m_hash, kZero, m_sum);
    // The 256-bit digest is the high half.
    constexpr std::size_t kFirstWord = 8 - DigestSize / 8;
    for (std::size_t word = kFirstWord; word < 8; ++word) {
        StoreLe64(digest.data() + 8 * (word - kFirstWord), m_hash[word]);
    }
}

template class Streebog<32>;
template class Streebog<64>;

}  // namespace tolvek::engine
