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

// k(t) from k(t-1): row 0 takes row 3 rotated by one byte and the round constant, every
// further row the row before it.
constexpr Rows nextRoundKey(const Rows& previous, std::uint32_t constant) {
    Rows next{};
    next[0] = previous[0] ^ std::rotr(previous[3], 8) ^ constant;
    for (unsigned row = 1; row < 4; ++row) {
        next[row] = previous[row] ^ next[row - 1];
    }
    return next;
}

// C(t) = 2^(t-1) in byte 0 of row 0, for t = 1 to 8.
constexpr std::uint32_t roundConstant(unsigned round) { return 1u << (round - 1); }

// With the all-zero key, k1 is four rows (01, 00, 00, 00).
static_assert(nextRoundKey(Rows{}, roundConstant(1)) == Rows{1, 1, 1, 1});

constexpr std::uint32_t theta(std::uint32_t row) {
    return kSquareK[0][byteOf(row, 0)] ^ kSquareK[1][byteOf(row, 1)] ^
           kSquareK[2][byteOf(row, 2)] ^ kSquareK[3][byteOf(row, 3)];
}

constexpr Rows theta(const Rows& rows) {
    return {theta(rows[0]), theta(rows[1]), theta(rows[2]), theta(rows[3])};
}

// theta is linear and commutes with the byte rotation (both multiply a row by a polynomial
// modulo x^4 + 1), so theta(k(t)) follows from theta(k(t-1)) by the same schedule with
// theta(C(t)) as the constant: only k0 goes through the key tables.
constexpr Rows nextThetaRoundKey(const Rows& previous, unsigned round) {
    return nextRoundKey(previous, theta(roundConstant(round)));
}

constexpr bool thetaScheduleAgrees(Rows key) {
    Rows thetaKey = theta(key);
    for (unsigned round = 1; round <= 8; ++round) {
        key = nextRoundKey(key, roundConstant(round));
        thetaKey = nextThetaRoundKey(thetaKey, round);
        if (thetaKey != theta(key)) {
            return false;
        }
    }
    return true;
}
static_assert(thetaScheduleAgrees({0x03020100, 0x07060504, 0x0b0a0908, 0x0f0e0d0c}));

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

// E_key(plain), eight rounds: every round but the last is one table step, keyed by theta of
// the round key.
Rows encipher(Rows key, const Rows& plain) {
    Rows thetaKey = theta(key);
    Rows state;
    for (unsigned r = 0; r < 4; ++r) {
        state[r] = plain[r] ^ thetaKey[r];
    }
    for (unsigned round = 1; round < 8; ++round) {
        key = nextRoundKey(key, roundConstant(round));
        thetaKey = nextThetaRoundKey(thetaKey, round);
        state = {roundRow(state, 0, thetaKey[0]), roundRow(state, 1, thetaKey[1]),
                 roundRow(state, 2, thetaKey[2]), roundRow(state, 3, thetaKey[3])};
    }
    key = nextRoundKey(key, roundConstant(8));
    return {lastRoundRow(state, 0, key[0]), lastRoundRow(state, 1, key[1]),
            lastRoundRow(state, 2, key[2]), lastRoundRow(state, 3, key[3])};
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
