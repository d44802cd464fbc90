// The Square cipher's S-box and its 32-bit round and key tables, built at compile time from
// their definitions (Daemen, Knudsen, Rijmen, "The block cipher Square", FSE 1997).
//
// A 16-byte value is a 4 x 4 byte matrix whose row i is bytes 4i..4i+3; a row held as a 32-bit
// word has its byte 0 in the least significant position.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "framework/GaloisField.h"

namespace tolvek::framework::data {

namespace square_detail {

// GF(2^8) reduced by x^8 + x^7 + x^6 + x^5 + x^4 + x^2 + 1.
constexpr unsigned kReduction = 0x1f5;

constexpr std::uint8_t gfMultiply(std::uint8_t left, std::uint8_t right) {
    return GfMultiply(kReduction, left, right);
}

// x^254 = x^-1 for x != 0, and 0 for 0.
constexpr std::uint8_t gfInverse(std::uint8_t value) {
    std::uint8_t result = 1;
    std::uint8_t power = value;
    for (unsigned exponent = 254; exponent != 0; exponent >>= 1) {
        if ((exponent & 1) != 0) {
            result = gfMultiply(result, power);
        }
        power = gfMultiply(power, power);
    }
    return result;
}

// The cipher's affine map after inversion: y -> A y + 0xb1, A given by the images of the unit
// vectors 1, 2, 4, ..., 0x80.
constexpr std::array<std::uint8_t, 8> kAffineColumns = {0x7f, 0xda, 0xbc, 0x78, 0xf0, 0x60, 0xc0, 0x80};
constexpr std::uint8_t kAffineConstant = 0xb1;

constexpr std::uint8_t substitute(std::uint8_t value) {
    const std::uint8_t inverse = gfInverse(value);
    std::uint8_t result = kAffineConstant;
    for (unsigned bit = 0; bit < 8; ++bit) {
        if (((inverse >> bit) & 1) != 0) {
            result ^= kAffineColumns[bit];
        }
    }
    return result;
}

// theta of the row holding `value` at position 0 and zeros elsewhere: (2v, v, v, 3v), the row
// times 2 + x + x^2 + 3x^3 modulo x^4 + 1. Position p is the same word rotated left by 8p bits.
constexpr std::uint32_t thetaOfFirstByte(std::uint8_t value) {
    const std::uint32_t twice = gfMultiply(value, 2);
    const std::uint32_t thrice = gfMultiply(value, 3);
    return twice | (std::uint32_t{value} << 8) | (std::uint32_t{value} << 16) | (thrice << 24);
}

using Table = std::array<std::uint32_t, 256>;
using Tables = std::array<Table, 4>;

consteval std::array<std::uint8_t, 256> makeSe() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned index = 0; index < 256; ++index) {
        table[index] = substitute(static_cast<std::uint8_t>(index));
    }
    return table;
}

// tables[p][x] = theta of the row holding map(x) at position p.
template <typename Map>
consteval Tables makeThetaTables(Map map) {
    Tables tables{};
    for (unsigned index = 0; index < 256; ++index) {
        const std::uint32_t first = thetaOfFirstByte(map(static_cast<std::uint8_t>(index)));
        for (unsigned position = 0; position < 4; ++position) {
            tables[position][index] = std::rotl(first, static_cast<int>(8 * position));
        }
    }
    return tables;
}

}  // namespace square_detail

alignas(64) constexpr std::array<std::uint8_t, 256> kSquareSe = square_detail::makeSe();

// Kp[x]: theta of the row with x at position p; theta(row) = K0[a0] ^ K1[a1] ^ K2[a2] ^ K3[a3].
alignas(64) constexpr square_detail::Tables kSquareK =
    square_detail::makeThetaTables([](std::uint8_t value) { return value; });

// Tp[x]: theta of the row with Se[x] at position p: one table step is gamma, then theta.
alignas(64) constexpr square_detail::Tables kSquareT =
    square_detail::makeThetaTables([](std::uint8_t value) { return kSquareSe[value]; });

// The published S-box begins B1 CE C3 95 and ends E2.
static_assert(kSquareSe[0] == 0xb1 && kSquareSe[1] == 0xce && kSquareSe[2] == 0xc3 &&
              kSquareSe[3] == 0x95 && kSquareSe[255] == 0xe2);

}  // namespace tolvek::framework::data
