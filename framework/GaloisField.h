// Multiplication in GF(2^8) for the table derivations of the byte-oriented ciphers, each with its
// own reduction polynomial.
#pragma once

#include <cstdint>

namespace tolvek::framework::data {

// left * right modulo `reduction` (the polynomial's nine-bit form, e.g. 0x11d).
constexpr std::uint8_t GfMultiply(unsigned reduction, std::uint8_t left, std::uint8_t right) {
    unsigned product = 0;
    unsigned shifted = left;
    for (unsigned bits = right; bits != 0; bits >>= 1) {
        if ((bits & 1) != 0) {
            product ^= shifted;
        }
        shifted <<= 1;
        if ((shifted & 0x100) != 0) {
            shifted ^= reduction;
        }
    }
    return static_cast<std::uint8_t>(product);
}

}  // namespace tolvek::framework::data
