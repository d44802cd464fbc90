// MD5's constants (RFC 1321, section 3.4) and the chaining words MD4 and MD5 start from, shared
// by the one-message transform and the one that hashes many messages in vector lanes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolvek::engine {

// RFC 1320 and RFC 1321, section 3.3: A, B, C, D.
inline constexpr std::array<std::uint32_t, 4> kMdInitialValues = {0x67452301, 0xEFCDAB89,
                                                                  0x98BADCFE, 0x10325476};

// RFC 1321, section 3.4: the word orders of rounds 2 to 4 step through the block by 5, 3 and 7.
constexpr std::size_t Md5WordIndex(std::size_t step) {
    switch (step / 16) {
        case 0:
            return step;
        case 1:
            return (1 + 5 * step) % 16;
        case 2:
            return (5 + 3 * step) % 16;
        default:
            return 7 * step % 16;
    }
}

inline constexpr std::array<std::array<unsigned, 4>, 4> kMd5Shifts = {{
    {7, 12, 17, 22},
    {5, 9, 14, 20},
    {4, 11, 16, 23},
    {6, 10, 15, 21},
}};

namespace md5detail {

// sin(x) by its Taylor series after reduction to [-pi, pi], precise enough in long double for
// the 32 fraction bits the MD5 constants keep.
constexpr long double sine(long double x) {
    constexpr long double kPi = 3.14159265358979323846264338327950288L;
    const auto turns = static_cast<long long>(x / (2 * kPi) + 0.5L);
    x -= static_cast<long double>(turns) * 2 * kPi;
    long double term = x;
    long double sum = x;
    for (int order = 3; order < 60; order += 2) {
        term *= -x * x / (static_cast<long double>(order - 1) * order);
        sum += term;
    }
    return sum;
}

}  // namespace md5detail

// RFC 1321, section 3.4: T[i] is the integer part of 2^32 * |sin(i)|, i in radians.
inline constexpr std::array<std::uint32_t, 64> kMd5SineConstants = [] {
    std::array<std::uint32_t, 64> table{};
    for (std::size_t index = 0; index < table.size(); ++index) {
        const long double value = md5detail::sine(static_cast<long double>(index + 1));
        table[index] = static_cast<std::uint32_t>((value < 0 ? -value : value) * 4294967296.0L);
    }
    return table;
}();
static_assert(kMd5SineConstants[0] == 0xd76aa478 && kMd5SineConstants[1] == 0xe8c7b756 &&
              kMd5SineConstants[31] == 0x8d2a4c8a && kMd5SineConstants[63] == 0xeb86d391);

}  // namespace tolvek::engine
