// BLAKE3 on sixteen 32-bit lanes of 512-bit registers, rotations in one instruction each.
#include <immintrin.h>

#include "engine/Backends.h"
#include "engine/x86/Blake3MessageLanes.h"

namespace tolvek::engine::blake3 {

namespace {

struct Lanes16 {
    using Vector = __m512i;
    static constexpr std::size_t kCount = 16;

    static Vector load(const void* address) { return _mm512_load_si512(address); }
    static void store(void* address, Vector x) { _mm512_store_si512(address, x); }
    static Vector set1(std::uint32_t word) { return _mm512_set1_epi32(static_cast<int>(word)); }
    static Vector bitXor(Vector x, Vector y) { return _mm512_xor_si512(x, y); }
    // The message word goes in before `b`, the value the previous step finishes last.
    static void quarterRound(Vector& a, Vector& b, Vector& c, Vector& d, const Vector& x,
                             const Vector& y) {
        a = _mm512_add_epi32(_mm512_add_epi32(a, x), b);
        d = _mm512_ror_epi32(bitXor(d, a), 16);
        c = _mm512_add_epi32(c, d);
        b = _mm512_ror_epi32(bitXor(b, c), 12);
        a = _mm512_add_epi32(_mm512_add_epi32(a, y), b);
        d = _mm512_ror_epi32(bitXor(d, a), 8);
        c = _mm512_add_epi32(c, d);
        b = _mm512_ror_epi32(bitXor(b, c), 7);
    }

    // Block `offset` of sixteen inputs as sixteen registers of one word from each input.
    static void transposeBlocks(const std::array<const std::uint8_t*, 16>& starts,
                                std::size_t offset, Vector (&m)[16]) {
        Vector rows[16];
        for (std::size_t row = 0; row < 16; ++row) {
            rows[row] = _mm512_loadu_si512(starts[row] + offset);
        }
        // Within each 128-bit lane: pairs of rows, then groups of four rows, per word.
        Vector pairs[16];
        for (std::size_t row = 0; row < 16; row += 2) {
            pairs[row] = _mm512_unpacklo_epi32(rows[row], rows[row + 1]);
            pairs[row + 1] = _mm512_unpackhi_epi32(rows[row], rows[row + 1]);
        }
        // groups[4 g + w]: rows 4g..4g+3 of word 4k+w in 128-bit lane k.
        Vector groups[16];
        for (std::size_t group = 0; group < 4; ++group) {
            const Vector* pair = &pairs[4 * group];
            groups[4 * group + 0] = _mm512_unpacklo_epi64(pair[0], pair[2]);
            groups[4 * group + 1] = _mm512_unpackhi_epi64(pair[0], pair[2]);
            groups[4 * group + 2] = _mm512_unpacklo_epi64(pair[1], pair[3]);
            groups[4 * group + 3] = _mm512_unpackhi_epi64(pair[1], pair[3]);
        }
        // Across 128-bit lanes: word 4k+w gathers lane k of the four groups' word w.
        for (std::size_t w = 0; w < 4; ++w) {
            const Vector a =
                _mm512_shuffle_i32x4(groups[w], groups[4 + w], _MM_SHUFFLE(1, 0, 1, 0));
            const Vector b =
                _mm512_shuffle_i32x4(groups[8 + w], groups[12 + w], _MM_SHUFFLE(1, 0, 1, 0));
            const Vector c = _mm512_shuffle_i32x4(groups[w], groups[4 + w], _MM_SHUFFLE(3, 2, 3, 2));
            const Vector d =
                _mm512_shuffle_i32x4(groups[8 + w], groups[12 + w], _MM_SHUFFLE(3, 2, 3, 2));
            m[w] = _mm512_shuffle_i32x4(a, b, _MM_SHUFFLE(2, 0, 2, 0));
            m[4 + w] = _mm512_shuffle_i32x4(a, b, _MM_SHUFFLE(3, 1, 3, 1));
            m[8 + w] = _mm512_shuffle_i32x4(c, d, _MM_SHUFFLE(2, 0, 2, 0));
            m[12 + w] = _mm512_shuffle_i32x4(c, d, _MM_SHUFFLE(3, 1, 3, 1));
        }
    }
};

}  // namespace

void HashManyAvx512(const ChainingValue& key, const std::uint8_t* inputs, std::size_t count,
                    std::size_t blockCount, std::uint64_t counter, bool incrementCounter,
                    std::uint32_t flags, std::uint32_t startFlags, std::uint32_t endFlags,
                    std::uint8_t* out) {
    HashLanes<Lanes16>(key, inputs, count, blockCount, counter, incrementCounter, flags, startFlags,
                       endFlags, out);
}

}  // namespace tolvek::engine::blake3

namespace tolvek::engine {

void Blake3MessagesAvx512(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    blake3::HashMessagesInLanes<blake3::Lanes16>(messages, digests);
}

}  // namespace tolvek::engine
