// CRC folding with VPCLMULQDQ on 512-bit registers: four accumulators of four 128-bit lanes each,
// 256 bytes per step, then the same 128-bit finish as the PCLMULQDQ kernel.
// GCC 12's AVX-512 broadcast and extract intrinsics start from a deliberately undefined vector,
// which its flow analysis reports as uninitialised once they are inlined.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include "engine/Backends.h"
#include "engine/x86/ClmulFold.h"

namespace tolvek::engine {

namespace {

template <bool kReflected>
__m512i load512(const std::uint8_t* bytes) {
    const __m512i loaded = _mm512_loadu_si512(bytes);
    if constexpr (kReflected) {
        return loaded;
    } else {
        return _mm512_shuffle_epi8(loaded, _mm512_broadcast_i32x4(byteReverseMask()));
    }
}

__m512i pair512(const FoldPair& pair) {
    return _mm512_broadcast_i32x4(pair128(pair));
}

// Each lane moved forward by the pair's distance, with `bytes` added.
__m512i foldInto512(__m512i accumulator, __m512i pair, __m512i bytes) {
    constexpr int kXorOfThree = 0x96;
    return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(accumulator, pair, 0x00),
                                     _mm512_clmulepi64_epi128(accumulator, pair, 0x11), bytes,
                                     kXorOfThree);
}

template <bool kReflected, class Tables, class Register>
Register foldAvx512(const Tables& tables, Register crc, const std::uint8_t* bytes,
                    std::size_t length) {
    const __m512i start =
        _mm512_inserti32x4(_mm512_setzero_si512(), initial128<kReflected>(crc), 0);
    __m512i first = _mm512_xor_si512(load512<kReflected>(bytes), start);
    __m512i second = load512<kReflected>(bytes + 64);
    __m512i third = load512<kReflected>(bytes + 128);
    __m512i fourth = load512<kReflected>(bytes + 192);
    bytes += 256;
    length -= 256;
    const __m512i by2048 = pair512(tables.fold.by2048);
    for (; length >= 256; bytes += 256, length -= 256) {
        first = foldInto512(first, by2048, load512<kReflected>(bytes));
        second = foldInto512(second, by2048, load512<kReflected>(bytes + 64));
        third = foldInto512(third, by2048, load512<kReflected>(bytes + 128));
        fourth = foldInto512(fourth, by2048, load512<kReflected>(bytes + 192));
    }
    const __m512i by512 = pair512(tables.fold.by512);
    __m512i single = foldInto512(
        first, pair512(tables.fold.by1536),
        foldInto512(second, pair512(tables.fold.by1024), foldInto512(third, by512, fourth)));
    for (; length >= 64; bytes += 64, length -= 64) {
        single = foldInto512(single, by512, load512<kReflected>(bytes));
    }
    const __m128i folded = combine128(
        tables.fold, _mm512_extracti32x4_epi32(single, 0), _mm512_extracti32x4_epi32(single, 1),
        _mm512_extracti32x4_epi32(single, 2), _mm512_extracti32x4_epi32(single, 3));
    return finish128<kReflected>(tables, folded, bytes, length);
}

}  // namespace

std::uint32_t CrcUpdateAvx512(const CrcTables& tables, std::uint32_t crc, const std::uint8_t* bytes,
                            std::size_t length) {
    return tables.reflected ? foldAvx512<true>(tables, crc, bytes, length)
                            : foldAvx512<false>(tables, crc, bytes, length);
}

std::uint64_t CrcUpdateAvx512(const Crc64Tables& tables, std::uint64_t crc, const std::uint8_t* bytes,
                            std::size_t length) {
    return foldAvx512<true>(tables, crc, bytes, length);
}

}  // namespace tolvek::engine
