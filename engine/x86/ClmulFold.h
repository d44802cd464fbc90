// 128-bit steps of CRC folding shared by the carry-less-multiply kernels. Everything here has
// internal linkage on purpose: each kernel file compiles its own copy with its own instruction-set
// flags, so the linker can never hand a path a copy built for a wider extension.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "engine/Backends.h"
#include "engine/CrcTables.h"

namespace tolvek::engine {
namespace {  // NOLINT(google-build-namespaces): see above

inline __m128i byteReverseMask() {
    return _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}

// 16 message bytes as a polynomial in the kernel's bit order: as they lie in memory for a
// reflected CRC, byte-reversed for an MSB-first one so that the first byte is the highest.
template <bool kReflected>
__m128i load128(const std::uint8_t* bytes) {
    const __m128i loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    if constexpr (kReflected) {
        return loaded;
    } else {
        return _mm_shuffle_epi8(loaded, byteReverseMask());
    }
}

// The register's starting value, placed over the first four (or eight) message bytes.
template <bool kReflected>
__m128i initial128(std::uint32_t crc) {
    const int word = static_cast<int>(crc);
    return kReflected ? _mm_cvtsi32_si128(word) : _mm_set_epi32(word, 0, 0, 0);
}

template <bool kReflected>
__m128i initial128(std::uint64_t crc) {
    static_assert(kReflected, "64-bit CRCs are reflected");
    return _mm_cvtsi64_si128(static_cast<long long>(crc));
}

inline __m128i pair128(const FoldPair& pair) {
    return _mm_set_epi64x(static_cast<long long>(pair.high), static_cast<long long>(pair.low));
}

// The accumulator moved forward by the pair's distance, congruent modulo the polynomial.
inline __m128i fold128(__m128i accumulator, __m128i pair) {
    return _mm_xor_si128(_mm_clmulepi64_si128(accumulator, pair, 0x00),
                         _mm_clmulepi64_si128(accumulator, pair, 0x11));
}

// Four consecutive 16-byte accumulators, the first the oldest, reduced to one.
inline __m128i combine128(const FoldConstants& fold, __m128i first, __m128i second, __m128i third,
                          __m128i fourth) {
    return _mm_xor_si128(
        _mm_xor_si128(fold128(first, pair128(fold.by384)), fold128(second, pair128(fold.by256))),
        _mm_xor_si128(fold128(third, pair128(fold.by128)), fourth));
}

// Folds in the remaining whole 16-byte pieces, then turns the accumulator into a register by
// running the table over its 16 bytes (the register of a message is the message times x^width),
// and finishes the last bytes with the table.
template <bool kReflected, class Tables>
auto finish128(const Tables& tables, __m128i accumulator, const std::uint8_t* bytes,
               std::size_t length) {
    const __m128i by128 = pair128(tables.fold.by128);
    for (; length >= 16; bytes += 16, length -= 16) {
        accumulator = _mm_xor_si128(fold128(accumulator, by128), load128<kReflected>(bytes));
    }
    if constexpr (!kReflected) {
        accumulator = _mm_shuffle_epi8(accumulator, byteReverseMask());
    }
    alignas(16) std::uint8_t folded[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(folded), accumulator);
    const auto crc =
        CrcUpdatePortable(tables, decltype(tables.slices[0][0]){0}, folded, sizeof folded);
    return CrcUpdatePortable(tables, crc, bytes, length);
}

// The folding of the 256-bit and 512-bit kernels: four accumulators of `Wide::kBytes` each take
// 4 * kBytes a step, are combined into one, which takes the remaining whole registers, and are
// then reduced to 128 bits for finish128. `Wide` gives the register type `Vector` and load,
// bitXor, startWith (the 128-bit start in the lowest lane), broadcast (a pair in every lane),
// foldInto (each lane moved forward by the pair's distance, with bytes added), the pairs of the
// stride and of one register, combine and reduce.
template <class Wide, bool kReflected, class Tables, class Register>
Register foldWide(const Tables& tables, Register crc, const std::uint8_t* bytes,
                  std::size_t length) {
    constexpr std::size_t kWidth = Wide::kBytes;
    typename Wide::Vector first = Wide::bitXor(Wide::template load<kReflected>(bytes),
                                               Wide::startWith(initial128<kReflected>(crc)));
    typename Wide::Vector second = Wide::template load<kReflected>(bytes + kWidth);
    typename Wide::Vector third = Wide::template load<kReflected>(bytes + 2 * kWidth);
    typename Wide::Vector fourth = Wide::template load<kReflected>(bytes + 3 * kWidth);
    bytes += 4 * kWidth;
    length -= 4 * kWidth;
    const typename Wide::Vector stride = Wide::broadcast(Wide::stride(tables.fold));
    for (; length >= 4 * kWidth; bytes += 4 * kWidth, length -= 4 * kWidth) {
        first = Wide::foldInto(first, stride, Wide::template load<kReflected>(bytes));
        second = Wide::foldInto(second, stride, Wide::template load<kReflected>(bytes + kWidth));
        third = Wide::foldInto(third, stride, Wide::template load<kReflected>(bytes + 2 * kWidth));
        fourth = Wide::foldInto(fourth, stride, Wide::template load<kReflected>(bytes + 3 * kWidth));
    }
    typename Wide::Vector single = Wide::combine(tables.fold, first, second, third, fourth);
    const typename Wide::Vector byWidth = Wide::broadcast(Wide::oneRegister(tables.fold));
    for (; length >= kWidth; bytes += kWidth, length -= kWidth) {
        single = Wide::foldInto(single, byWidth, Wide::template load<kReflected>(bytes));
    }
    return finish128<kReflected>(tables, Wide::reduce(tables.fold, single), bytes, length);
}

}  // namespace
}  // namespace tolvek::engine
