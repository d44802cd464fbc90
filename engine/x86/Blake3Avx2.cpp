// BLAKE3 on eight 32-bit lanes of 256-bit registers: rotations by 16 and 8 as byte shuffles,
// by 12 and 7 as two shifts and an or.
#include <immintrin.h>

#include "engine/Backends.h"
#include "engine/x86/Blake3MessageLanes.h"
#include "engine/x86/WordTranspose.h"

namespace tolvek::engine::blake3 {

namespace {

// Byte orders that rotate each 32-bit word right by 16 and by 8 bits.
// clang-format off
alignas(32) constexpr std::uint8_t kRotate16[32] = {
    2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13,
    2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13};
alignas(32) constexpr std::uint8_t kRotate8[32] = {
    1, 2, 3, 0, 5, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12,
    1, 2, 3, 0, 5, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12};
// clang-format on

struct Lanes8 {
    using Vector = __m256i;
    static constexpr std::size_t kCount = 8;

    static Vector load(const void* address) {
        return _mm256_load_si256(static_cast<const __m256i*>(address));
    }
    static void store(void* address, Vector x) {
        _mm256_store_si256(static_cast<__m256i*>(address), x);
    }
    static Vector set1(std::uint32_t word) { return _mm256_set1_epi32(static_cast<int>(word)); }
    static Vector bitXor(Vector x, Vector y) { return _mm256_xor_si256(x, y); }

    // Sixteen state registers leave none for the compiler: written out, the quarter-round keeps
    // its four words and one temporary in registers and reads the message words and byte orders
    // from memory, where the compiler's own schedule spilled state on the critical path. The
    // message word goes in before `b`, the value the previous step finishes last.
    static void quarterRound(Vector& a, Vector& b, Vector& c, Vector& d, const Vector& x,
                             const Vector& y) {
        Vector t;
        asm("vpaddd %[x], %[a], %[a]\n\t"
            "vpaddd %[b], %[a], %[a]\n\t"
            "vpxor %[a], %[d], %[d]\n\t"
            "vpshufb %[r16], %[d], %[d]\n\t"
            "vpaddd %[d], %[c], %[c]\n\t"
            "vpxor %[c], %[b], %[b]\n\t"
            "vpsrld $12, %[b], %[t]\n\t"
            "vpslld $20, %[b], %[b]\n\t"
            "vpor %[t], %[b], %[b]\n\t"
            "vpaddd %[y], %[a], %[a]\n\t"
            "vpaddd %[b], %[a], %[a]\n\t"
            "vpxor %[a], %[d], %[d]\n\t"
            "vpshufb %[r8], %[d], %[d]\n\t"
            "vpaddd %[d], %[c], %[c]\n\t"
            "vpxor %[c], %[b], %[b]\n\t"
            "vpsrld $7, %[b], %[t]\n\t"
            "vpslld $25, %[b], %[b]\n\t"
            "vpor %[t], %[b], %[b]"
            : [a] "+x"(a), [b] "+x"(b), [c] "+x"(c), [d] "+x"(d), [t] "=&x"(t)
            : [x] "m"(x), [y] "m"(y), [r16] "m"(kRotate16), [r8] "m"(kRotate8));
    }

    static void transposeBlocks(const std::array<const std::uint8_t*, 8>& starts,
                                std::size_t offset, Vector (&m)[16]) {
        TransposeBlockWords(starts, offset, m);
    }
};

}  // namespace

void HashManyAvx2(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
                  std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
                  std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
                  std::uint8_t* out) {
    HashLanes<Lanes8>(key, inputs, count, blockCount, counter, incrementCounter, flags, startFlags,
                      endFlags, out);
}

}  // namespace tolvek::engine::blake3

namespace tolvek::engine {

void Blake3MessagesAvx2(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    blake3::HashMessagesInLanes<blake3::Lanes8>(messages, digests);
}

}  // namespace tolvek::engine
