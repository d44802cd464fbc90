#include "framework/DigestHashSquare.h"

#include <bit>
#include <cstring>

#include "framework/DigestDataSquare.h"

namespace tolvek::framework {

namespace {

using data::kSquareK;
using data::kSquareSe;
using data::kSquareT;

// A 16-byte value as its four rows, byte 0 of a row in the low bits.
using Rows = std::array<std::uint32_t, 4>;
using RoundKeys = std::array<Rows, 9>;

Rows loadRows(const std::uint8_t* bytes) {
    Rows rows;
    std::memcpy(rows.data(), bytes, sizeof rows);
    if constexpr (std::endian::native == std::endian::big) {
        SwapWords32(rows.data(), rows.data(), 4);
    }
    return rows;
}

void storeRows(Rows rows, std::uint8_t* bytes) {
    if constexpr (std::endian::native == std::endian::big) {
        SwapWords32(rows.data(), rows.data(), 4);
    }
    std::memcpy(bytes, rows.data(), sizeof rows);
}

constexpr std::uint32_t byteOf(std::uint32_t row, unsigned position) {
    return (row >> (8 * position)) & 0xff;
}

// k(t) from k(t-1): row 0 takes row 3 rotated by one byte and the constant 2^(t-1), every
// further row the row before it.
constexpr RoundKeys expandKey(const Rows& key) {
    RoundKeys keys{};
    keys[0] = key;
    for (unsigned round = 1; round < keys.size(); ++round) {
        const Rows& previous = keys[round - 1];
        Rows& next = keys[round];
        next[0] = previous[0] ^ std::rotr(previous[3], 8) ^ (1u << (round - 1));
        for (unsigned row = 1; row < 4; ++row) {
            next[row] = previous[row] ^ next[row - 1];
        }
    }
    return keys;
}

// With the all-zero key, k1 is four rows (01, 00, 00, 00).
static_assert(expandKey(Rows{})[1] == Rows{1, 1, 1, 1});

std::uint32_t theta(std::uint32_t row) {
    return kSquareK[0][byteOf(row, 0)] ^ kSquareK[1][byteOf(row, 1)] ^
           kSquareK[2][byteOf(row, 2)] ^ kSquareK[3][byteOf(row, 3)];
}

// Row r of theta(pi(gamma(state))) XOR the key row: column r of the state through the tables.
std::uint32_t roundRow(const Rows& state, unsigned r, std::uint32_t keyRow) {
    return kSquareT[0][byteOf(state[0], r)] ^ kSquareT[1][byteOf(state[1], r)] ^
           kSquareT[2][byteOf(state[2], r)] ^ kSquareT[3][byteOf(state[3], r)] ^ keyRow;
}

// Row r of pi(gamma(state)) XOR the key row: the last round has no theta.
std::uint32_t lastRoundRow(const Rows& state, unsigned r, std::uint32_t keyRow) {
    return (std::uint32_t{kSquareSe[byteOf(state[0], r)]} |
            std::uint32_t{kSquareSe[byteOf(state[1], r)]} << 8 |
            std::uint32_t{kSquareSe[byteOf(state[2], r)]} << 16 |
            std::uint32_t{kSquareSe[byteOf(state[3], r)]} << 24) ^
           keyRow;
}

// E_key(plain): the round keys pass through theta so that every round but the last is one
// table step.
Rows encipher(const Rows& key, const Rows& plain) {
    const RoundKeys keys = expandKey(key);
    Rows state;
    for (unsigned r = 0; r < 4; ++r) {
        state[r] = plain[r] ^ theta(keys[0][r]);
    }
    for (unsigned round = 1; round < 8; ++round) {
        const Rows& roundKey = keys[round];
        state = {roundRow(state, 0, theta(roundKey[0])), roundRow(state, 1, theta(roundKey[1])),
                 roundRow(state, 2, theta(roundKey[2])), roundRow(state, 3, theta(roundKey[3]))};
    }
    const Rows& lastKey = keys[8];
    return {lastRoundRow(state, 0, lastKey[0]), lastRoundRow(state, 1, lastKey[1]),
            lastRoundRow(state, 2, lastKey[2]), lastRoundRow(state, 3, lastKey[3])};
}

}  // namespace

THash_Square::~THash_Square() { WipeBuffer(m_digest.data(), sizeof m_digest); }

void THash_Square::ProcessBlock(const std::uint8_t* block) {
    const Rows message = loadRows(block);
    Rows next = encipher(loadRows(m_digest.data()), message);
    for (unsigned r = 0; r < 4; ++r) {
        next[r] ^= message[r];
    }
    storeRows(next, m_digest.data());
}

void THash_Square::InitState() { m_digest.fill(0); }

void THash_Square::FinishState() { PadFinalBlocks(0x80, 8, std::endian::big); }

}  // namespace tolvek::framework
