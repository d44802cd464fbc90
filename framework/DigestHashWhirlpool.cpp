#include "framework/DigestHashWhirlpool.h"

#include <bit>
#include <cstring>

namespace tolvek::framework {

namespace {

using Rows = std::array<std::uint64_t, 8>;

// Row r of the 8 x 8 byte matrix is the big-endian word of bytes 8r to 8r+7.
std::uint64_t loadRow(const std::uint8_t* bytes) {
    std::uint64_t row;
    std::memcpy(&row, bytes, sizeof row);
    return std::endian::native == std::endian::little ? __builtin_bswap64(row) : row;
}

void storeRow(std::uint8_t* bytes, std::uint64_t row) {
    if constexpr (std::endian::native == std::endian::little) {
        row = __builtin_bswap64(row);
    }
    std::memcpy(bytes, &row, sizeof row);
}

constexpr std::size_t byteAt(std::uint64_t row, unsigned column) {
    return static_cast<std::size_t>((row >> (56 - 8 * column)) & 0xff);
}

// One round: the S-box, the cyclic shift of column c down by c rows and the circulant
// multiplication, all in the eight table lookups of each output row, then the round key.
[[gnu::always_inline]] inline Rows mixRows(const data::WhirlpoolCirculant& tables, const Rows& in,
                                           const Rows& roundKey) {
    Rows out;
#pragma GCC unroll 8
    for (unsigned row = 0; row < 8; ++row) {
        out[row] =
            tables[0][byteAt(in[row], 0)] ^ tables[1][byteAt(in[(row + 7) & 7], 1)] ^
            tables[2][byteAt(in[(row + 6) & 7], 2)] ^ tables[3][byteAt(in[(row + 5) & 7], 3)] ^
            tables[4][byteAt(in[(row + 4) & 7], 4)] ^ tables[5][byteAt(in[(row + 3) & 7], 5)] ^
            tables[6][byteAt(in[(row + 2) & 7], 6)] ^ tables[7][byteAt(in[(row + 1) & 7], 7)] ^
            roundKey[row];
    }
    return out;
}

// Miyaguchi-Preneel over the ten-round cipher W: the chaining state is the key, the block the
// plaintext, and the state becomes W(state, block) ^ state ^ block.
void compress(std::uint8_t* state, const std::uint8_t* block,
              const data::WhirlpoolCirculant& tables,
              const data::WhirlpoolRoundConstants& roundConstants) {
    Rows key;
    Rows text;
    Rows message;
    for (unsigned row = 0; row < 8; ++row) {
        key[row] = loadRow(state + 8 * row);
        message[row] = loadRow(block + 8 * row);
        text[row] = key[row] ^ message[row];
    }
    for (const std::uint64_t constant : roundConstants) {
        key = mixRows(tables, key, Rows{constant});
        text = mixRows(tables, text, key);
    }
    for (unsigned row = 0; row < 8; ++row) {
        storeRow(state + 8 * row, loadRow(state + 8 * row) ^ text[row] ^ message[row]);
    }
}

}  // namespace

THashBaseWhirlpool::~THashBaseWhirlpool() {
    WipeBuffer(m_digest.data(), sizeof m_digest);
}

void THashBaseWhirlpool::startWith(const data::WhirlpoolCirculant& circulant,
                                   const data::WhirlpoolRoundConstants& roundConstants) {
    m_digest.fill(0);
    m_circulant = &circulant;
    m_roundConstants = &roundConstants;
}

void THashBaseWhirlpool::ProcessBlock(const std::uint8_t* block) {
    compress(m_digest.data(), block, *m_circulant, *m_roundConstants);
}

void THashBaseWhirlpool::FinishState() {
    PadFinalBlocks(0x80, 32, std::endian::big);
}

void THash_Whirlpool::InitState() {
    startWith(data::kWhirlpool0Circulant, data::kWhirlpool0RoundConstants);
}

void THash_Whirlpool1::InitState() {
    startWith(data::kWhirlpoolTCirculant, data::kWhirlpoolTRoundConstants);
}

void THash_Whirlpool2003::InitState() {
    startWith(data::kWhirlpool2003Circulant, data::kWhirlpoolTRoundConstants);
}

}  // namespace tolvek::framework
