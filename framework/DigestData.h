// Constant tables of the framework's hash classes.
#pragma once

#include <array>
#include <cstdint>

namespace tolvek::framework::data {

// --- MD5 (RFC 1321, 3.4) --------------------------------------------------------------------

namespace detail {

// sin(x) for |x| <= pi by its Taylor series in long double, far more precise than the 32 bits
// that the sine table keeps.
constexpr long double taylorSine(long double x) {
    long double term = x;
    long double sum = x;
    for (int n = 1; n < 30; ++n) {
        term *= -x * x / static_cast<long double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

constexpr long double absoluteSine(int radians) {
    constexpr long double kTwoPi = 6.283185307179586476925286766559005768L;
    long double x = radians;
    x -= kTwoPi * static_cast<long double>(static_cast<long long>((x + kTwoPi / 2) / kTwoPi));
    const long double sine = taylorSine(x);
    return sine < 0 ? -sine : sine;
}

}  // namespace detail

// T[i] = floor(4294967296 * abs(sin(i + 1))), the additive constant of MD5 step i.
alignas(64) inline constexpr std::array<std::uint32_t, 64> kMd5Sine = [] {
    std::array<std::uint32_t, 64> table{};
    for (int step = 0; step < 64; ++step) {
        table[step] = static_cast<std::uint32_t>(detail::absoluteSine(step + 1) * 4294967296.0L);
    }
    return table;
}();
static_assert(kMd5Sine[0] == 0xd76aa478 && kMd5Sine[1] == 0xe8c7b756 &&
              kMd5Sine[16] == 0xf61e2562 && kMd5Sine[32] == 0xfffa3942 &&
              kMd5Sine[48] == 0xf4292244 && kMd5Sine[63] == 0xeb86d391);

// The message word of MD5 step i: in round r (0-3) the (i mod 16)th of the orders i, 1 + 5i,
// 5 + 3i and 7i, modulo 16.
inline constexpr std::array<std::uint8_t, 64> kMd5Word = [] {
    constexpr int kStart[] = {0, 1, 5, 0};
    constexpr int kStride[] = {1, 5, 3, 7};
    std::array<std::uint8_t, 64> table{};
    for (int step = 0; step < 64; ++step) {
        const int round = step / 16;
        table[step] = static_cast<std::uint8_t>((kStart[round] + kStride[round] * step) % 16);
    }
    return table;
}();

// The rotation of MD5 step i: four amounts per round, repeated.
inline constexpr std::array<std::uint8_t, 64> kMd5Shift = [] {
    constexpr std::uint8_t kPerRound[4][4] = {
        {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
    std::array<std::uint8_t, 64> table{};
    for (int step = 0; step < 64; ++step) {
        table[step] = kPerRound[step / 16][step % 4];
    }
    return table;
}();

// The chaining words before the first block: RIPEMD-320's ten, whose first four are MD5's
// (RFC 1321, 3.3) and the first four of every RIPEMD (RIPEMD-160 paper and the designers'
// RIPEMD-128/256/320 descriptions).
inline constexpr std::array<std::uint32_t, 10> kRipemd320Initial = {
    0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0,
    0x76543210, 0xfedcba98, 0x89abcdef, 0x01234567, 0x3c2d1e0f};
inline constexpr std::array<std::uint32_t, 8> kRipemd256Initial = {
    0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0x76543210, 0xfedcba98, 0x89abcdef, 0x01234567};

// --- RIPEMD (Dobbertin, Bosselaers, Preneel, "RIPEMD-160: A strengthened version of RIPEMD",
// 1996); the 256- and 320-bit versions use the first 64 and all 80 steps ---------------------

// clang-format off
// The message word of each step of the left line, from ripemd_tables.txt, table r.
alignas(64) inline constexpr std::array<std::uint8_t, 80> kRipemdLeftWord = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
    7, 4, 13, 1, 10, 6, 15, 3, 12, 0, 9, 5, 2, 14, 11, 8,
    3, 10, 14, 4, 9, 15, 8, 1, 2, 7, 0, 6, 13, 11, 5, 12,
    1, 9, 11, 10, 0, 8, 12, 4, 13, 3, 7, 15, 14, 5, 6, 2,
    4, 0, 5, 9, 7, 12, 2, 10, 14, 1, 3, 8, 11, 6, 15, 13,
};
// The message word of each step of the right line, from ripemd_tables.txt, table r'.
alignas(64) inline constexpr std::array<std::uint8_t, 80> kRipemdRightWord = {
    5, 14, 7, 0, 9, 2, 11, 4, 13, 6, 15, 8, 1, 10, 3, 12,
    6, 11, 3, 7, 0, 13, 5, 10, 14, 15, 8, 12, 4, 9, 1, 2,
    15, 5, 1, 3, 7, 14, 6, 9, 11, 8, 12, 2, 10, 0, 4, 13,
    8, 6, 4, 1, 3, 11, 15, 0, 5, 12, 2, 13, 9, 7, 10, 14,
    12, 15, 10, 4, 1, 5, 8, 7, 6, 2, 13, 14, 0, 3, 9, 11,
};
// The rotation of each step of the left line, from ripemd_tables.txt, table s.
alignas(64) inline constexpr std::array<std::uint8_t, 80> kRipemdLeftShift = {
    11, 14, 15, 12, 5, 8, 7, 9, 11, 13, 14, 15, 6, 7, 9, 8,
    7, 6, 8, 13, 11, 9, 7, 15, 7, 12, 15, 9, 11, 7, 13, 12,
    11, 13, 6, 7, 14, 9, 13, 15, 14, 8, 13, 6, 5, 12, 7, 5,
    11, 12, 14, 15, 14, 15, 9, 8, 9, 14, 5, 6, 8, 6, 5, 12,
    9, 15, 5, 11, 6, 8, 13, 12, 5, 12, 13, 14, 11, 8, 5, 6,
};
// The rotation of each step of the right line, from ripemd_tables.txt, table s'.
alignas(64) inline constexpr std::array<std::uint8_t, 80> kRipemdRightShift = {
    8, 9, 9, 11, 13, 15, 15, 5, 7, 7, 8, 11, 14, 14, 12, 6,
    9, 13, 15, 7, 12, 8, 9, 11, 7, 7, 12, 7, 6, 15, 13, 11,
    9, 7, 15, 11, 8, 6, 6, 14, 12, 13, 5, 14, 13, 13, 7, 5,
    15, 5, 8, 11, 14, 14, 6, 14, 6, 9, 12, 9, 12, 5, 15, 8,
    8, 5, 12, 9, 12, 5, 14, 6, 8, 13, 6, 5, 15, 13, 11, 11,
};
// clang-format on

// The constants of the rounds: left and right line, for the 128/256-bit and the 160/320-bit
// versions.
inline constexpr std::array<std::uint32_t, 4> kRipemd128LeftConstant = {0x00000000, 0x5a827999,
                                                                        0x6ed9eba1, 0x8f1bbcdc};
inline constexpr std::array<std::uint32_t, 4> kRipemd128RightConstant = {0x50a28be6, 0x5c4dd124,
                                                                         0x6d703ef3, 0x00000000};
inline constexpr std::array<std::uint32_t, 5> kRipemd160LeftConstant = {
    0x00000000, 0x5a827999, 0x6ed9eba1, 0x8f1bbcdc, 0xa953fd4e};
inline constexpr std::array<std::uint32_t, 5> kRipemd160RightConstant = {
    0x50a28be6, 0x5c4dd124, 0x6d703ef3, 0x7a6d76e9, 0x00000000};

}  // namespace tolvek::framework::data
