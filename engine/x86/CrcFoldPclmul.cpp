// CRC folding with PCLMULQDQ over four 128-bit accumulators, 64 bytes per step (the method of
// Intel's "Fast CRC Computation for Generic Polynomials Using PCLMULQDQ", with our own constants).
#include "engine/Backends.h"
#include "engine/x86/ClmulFold.h"

namespace tolvek::engine {

namespace {

template <bool kReflected, class Tables, class Register>
Register foldPclmul(const Tables& tables, Register crc, const std::uint8_t* bytes,
                    std::size_t length) {
    __m128i first = _mm_xor_si128(load128<kReflected>(bytes), initial128<kReflected>(crc));
    __m128i second = load128<kReflected>(bytes + 16);
    __m128i third = load128<kReflected>(bytes + 32);
    __m128i fourth = load128<kReflected>(bytes + 48);
    bytes += 64;
    length -= 64;
    const __m128i by512 = pair128(tables.fold.by512);
    for (; length >= 64; bytes += 64, length -= 64) {
        first = _mm_xor_si128(fold128(first, by512), load128<kReflected>(bytes));
        second = _mm_xor_si128(fold128(second, by512), load128<kReflected>(bytes + 16));
        third = _mm_xor_si128(fold128(third, by512), load128<kReflected>(bytes + 32));
        fourth = _mm_xor_si128(fold128(fourth, by512), load128<kReflected>(bytes + 48));
    }
    return finish128<kReflected>(tables, combine128(tables.fold, first, second, third, fourth),
                                 bytes, length);
}

}  // namespace

std::uint32_t CrcUpdatePclmul(const CrcTables& tables, std::uint32_t crc, const std::uint8_t* bytes,
                            std::size_t length) {
    return tables.reflected ? foldPclmul<true>(tables, crc, bytes, length)
                            : foldPclmul<false>(tables, crc, bytes, length);
}

std::uint64_t CrcUpdatePclmul(const Crc64Tables& tables, std::uint64_t crc, const std::uint8_t* bytes,
                            std::size_t length) {
    return foldPclmul<true>(tables, crc, bytes, length);
}

}  // namespace tolvek::engine
