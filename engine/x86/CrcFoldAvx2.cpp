// CRC folding with VPCLMULQDQ on 256-bit registers: four accumulators of two 128-bit lanes each,
// 128 bytes per step, then the same 128-bit finish as the PCLMULQDQ kernel.
#include "engine/Backends.h"
#include "engine/x86/ClmulFold.h"

namespace tolvek::engine {

namespace {

struct Lanes256 {
    using Vector = __m256i;
    static constexpr std::size_t kBytes = 32;

    template <bool kReflected>
    static Vector load(const std::uint8_t* bytes) {
        const Vector loaded = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
        if constexpr (kReflected) {
            return loaded;
        } else {
            return _mm256_shuffle_epi8(loaded, _mm256_broadcastsi128_si256(byteReverseMask()));
        }
    }
    static Vector bitXor(Vector a, Vector b) { return _mm256_xor_si256(a, b); }
    static Vector startWith(__m128i start) { return _mm256_zextsi128_si256(start); }
    static Vector broadcast(const FoldPair& pair) {
        return _mm256_broadcastsi128_si256(pair128(pair));
    }
    static Vector foldInto(Vector accumulator, Vector pair, Vector bytes) {
        return _mm256_xor_si256(_mm256_xor_si256(_mm256_clmulepi64_epi128(accumulator, pair, 0x00),
                                                 _mm256_clmulepi64_epi128(accumulator, pair, 0x11)),
                                bytes);
    }
    static const FoldPair& stride(const FoldConstants& fold) { return fold.by1024; }
    static const FoldPair& oneRegister(const FoldConstants& fold) { return fold.by256; }
    // Four consecutive registers, the first the oldest: two pairs, then the pairs together.
    static Vector combine(const FoldConstants& fold, Vector first, Vector second, Vector third,
                          Vector fourth) {
        const Vector by256 = broadcast(fold.by256);
        return foldInto(foldInto(first, by256, second), broadcast(fold.by512),
                        foldInto(third, by256, fourth));
    }
    static __m128i reduce(const FoldConstants& fold, Vector single) {
        return _mm_xor_si128(fold128(_mm256_castsi256_si128(single), pair128(fold.by128)),
                             _mm256_extracti128_si256(single, 1));
    }
};

}  // namespace

std::uint32_t CrcUpdateAvx2Clmul(const CrcTables& tables, std::uint32_t crc,
                                 const std::uint8_t* bytes, std::size_t length) {
    return tables.reflected ? foldWide<Lanes256, true>(tables, crc, bytes, length)
                            : foldWide<Lanes256, false>(tables, crc, bytes, length);
}

std::uint64_t CrcUpdateAvx2Clmul(const Crc64Tables& tables, std::uint64_t crc,
                                 const std::uint8_t* bytes, std::size_t length) {
    return foldWide<Lanes256, true>(tables, crc, bytes, length);
}

}  // namespace tolvek::engine
