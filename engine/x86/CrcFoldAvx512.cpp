// CRC folding with VPCLMULQDQ on 512-bit registers: four accumulators of four 128-bit lanes each,
// 256 bytes per step, then the same 128-bit finish as the PCLMULQDQ kernel.
// GCC 12's AVX-512 broadcast and extract intrinsics start from a deliberately undefined vector,
// which its flow analysis reports as uninitialised once they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include "engine/Backends.h"
#include "engine/x86/ClmulFold.h"

namespace tolvek::engine {

namespace {

struct Lanes512 {
    using Vector = __m512i;
    static constexpr std::size_t kBytes = 64;

    template <bool kReflected>
    static Vector load(const std::uint8_t* bytes) {
        const Vector loaded = _mm512_loadu_si512(bytes);
        if constexpr (kReflected) {
            return loaded;
        } else {
            return _mm512_shuffle_epi8(loaded, _mm512_broadcast_i32x4(byteReverseMask()));
        }
    }
    static Vector bitXor(Vector a, Vector b) { return _mm512_xor_si512(a, b); }
    static Vector startWith(__m128i start) {
        return _mm512_inserti32x4(_mm512_setzero_si512(), start, 0);
    }
    static Vector broadcast(const FoldPair& pair) { return _mm512_broadcast_i32x4(pair128(pair)); }
    static Vector foldInto(Vector accumulator, Vector pair, Vector bytes) {
        constexpr int kXorOfThree = 0x96;
        return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(accumulator, pair, 0x00),
                                         _mm512_clmulepi64_epi128(accumulator, pair, 0x11), bytes,
                                         kXorOfThree);
    }
    static const FoldPair& stride(const FoldConstants& fold) { return fold.by2048; }
    static const FoldPair& oneRegister(const FoldConstants& fold) { return fold.by512; }
    // Four consecutive registers, the first the oldest, each moved to the fourth's place.
    static Vector combine(const FoldConstants& fold, Vector first, Vector second, Vector third,
                          Vector fourth) {
        return foldInto(first, broadcast(fold.by1536),
                        foldInto(second, broadcast(fold.by1024),
                                 foldInto(third, broadcast(fold.by512), fourth)));
    }
    static __m128i reduce(const FoldConstants& fold, Vector single) {
        return combine128(fold, _mm512_extracti32x4_epi32(single, 0),
                          _mm512_extracti32x4_epi32(single, 1),
                          _mm512_extracti32x4_epi32(single, 2),
                          _mm512_extracti32x4_epi32(single, 3));
    }
};

}  // namespace

std::uint32_t CrcUpdateAvx512(const CrcTables& tables, std::uint32_t crc,
                              const std::uint8_t* bytes, std::size_t length) {
    return tables.reflected ? foldWide<Lanes512, true>(tables, crc, bytes, length)
                            : foldWide<Lanes512, false>(tables, crc, bytes, length);
}

std::uint64_t CrcUpdateAvx512(const Crc64Tables& tables, std::uint64_t crc,
                              const std::uint8_t* bytes, std::size_t length) {
    return foldWide<Lanes512, true>(tables, crc, bytes, length);
}

}  // namespace tolvek::engine
