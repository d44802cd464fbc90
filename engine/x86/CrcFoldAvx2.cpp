// CRC folding with VPCLMULQDQ on 256-bit registers: four accumulators of two 128-bit lanes each,
// 128 bytes per step, then the same 128-bit finish as the PCLMULQDQ kernel.
#include "engine/Backends.h"
#include "engine/x86/ClmulFold.h"

namespace tolvek::engine {

namespace {

template <bool kReflected>
__m256i load256(const std::uint8_t* bytes) {
    const __m256i loaded = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
    if constexpr (kReflected) {
        return loaded;
    } else {
        return _mm256_shuffle_epi8(loaded, _mm256_broadcastsi128_si256(byteReverseMask()));
    }
}

__m256i pair256(const FoldPair& pair) {
    return _mm256_broadcastsi128_si256(pair128(pair));
}

// Each lane moved forward by the pair's distance, with `bytes` added.
__m256i foldInto256(__m256i accumulator, __m256i pair, __m256i bytes) {
    return _mm256_xor_si256(_mm256_xor_si256(_mm256_clmulepi64_epi128(accumulator, pair, 0x00),
                                             _mm256_clmulepi64_epi128(accumulator, pair, 0x11)),
                            bytes);
}

template <bool kReflected, class Tables, class Register>
Register foldAvx2(const Tables& tables, Register crc, const std::uint8_t* bytes,
                  std::size_t length) {
    const __m256i start = _mm256_zextsi128_si256(initial128<kReflected>(crc));
    __m256i first = _mm256_xor_si256(load256<kReflected>(bytes), start);
    __m256i second = load256<kReflected>(bytes + 32);
    __m256i third = load256<kReflected>(bytes + 64);
    __m256i fourth = load256<kReflected>(bytes + 96);
    bytes += 128;
    length -= 128;
    const __m256i by1024 = pair256(tables.fold.by1024);
    for (; length >= 128; bytes += 128, length -= 128) {
        first = foldInto256(first, by1024, load256<kReflected>(bytes));
        second = foldInto256(second, by1024, load256<kReflected>(bytes + 32));
        third = foldInto256(third, by1024, load256<kReflected>(bytes + 64));
        fourth = foldInto256(fourth, by1024, load256<kReflected>(bytes + 96));
    }
    const __m256i by256 = pair256(tables.fold.by256);
    __m256i single = foldInto256(foldInto256(first, by256, second), pair256(tables.fold.by512),
                                 foldInto256(third, by256, fourth));
    for (; length >= 32; bytes += 32, length -= 32) {
        single = foldInto256(single, by256, load256<kReflected>(bytes));
    }
    const __m128i folded = _mm_xor_si128(
        fold128(_mm256_castsi256_si128(single), pair128(tables.fold.by128)),
        _mm256_extracti128_si256(single, 1));
    return finish128<kReflected>(tables, folded, bytes, length);
}

}  // namespace

std::uint32_t CrcUpdateAvx2Clmul(const CrcTables& tables, std::uint32_t crc,
                                 const std::uint8_t* bytes, std::size_t length) {
    return tables.reflected ? foldAvx2<true>(tables, crc, bytes, length)
                            : foldAvx2<false>(tables, crc, bytes, length);
}

std::uint64_t CrcUpdateAvx2Clmul(const Crc64Tables& tables, std::uint64_t crc,
                                 const std::uint8_t* bytes, std::size_t length) {
    return foldAvx2<true>(tables, crc, bytes, length);
}

}  // namespace tolvek::engine
