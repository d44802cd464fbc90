// SHA-384, SHA-512 and SHA-512/256 of many messages, eight at a time, one per 64-bit lane of two 256-bit
// registers, with AVX-512's rotates and three-input logic on them: a round takes about half the
// instructions it takes with two shifts for each rotation.
#include <immintrin.h>

#include <array>

#include "engine/Backends.h"
#include "engine/MessageLanes.h"
#include "engine/SHA.h"
#include "engine/ShaConstants.h"
#include "engine/x86/LaneScheduler.h"

namespace tolvek::engine {

namespace {

Vector add64(Vector x, Vector y) {
    return _mm256_add_epi64(x, y);
}

// The ternary-logic immediates: the truth table of f(a, b, c) read at a = 0xf0, b = 0xcc,
// c = 0xaa.
constexpr int kXor3 = 0x96;
constexpr int kChoose = 0xca;    // b where a is set, c elsewhere
constexpr int kMajority = 0xe8;  // the bit at least two of them have

Vector xor3(Vector a, Vector b, Vector c) {
    return _mm256_ternarylogic_epi64(a, b, c, kXor3);
}

template <unsigned First, unsigned Second, unsigned Third>
Vector rotr64Xor3(Vector x) {
    return xor3(_mm256_ror_epi64(x, First), _mm256_ror_epi64(x, Second),
                _mm256_ror_epi64(x, Third));
}

// FIPS 180-4, section 6.4.2, with a 16-word rolling schedule; 128-byte blocks of big-endian
// 64-bit words, four lanes to a register, the bit count in the last 16 bytes. SHA-384 and
// SHA-512/256 differ from SHA-512 only in their initial words and how many of them they keep.
// Below four busy lanes the last messages finish one at a time, as MD5's do (not tuned apart).
template <const std::array<std::uint64_t, 8>& Initial, std::size_t DigestBytes>
struct Sha512Kernel : BlockShape<std::uint64_t, 4, 128, 16, true> {
    static constexpr std::size_t kWords = 8;
    static constexpr std::size_t kDigestBytes = DigestBytes;
    static constexpr std::array<std::uint64_t, kWords> kInitial = Initial;
    static constexpr std::size_t kFewestLanes = 4;
    static constexpr std::size_t kSteps = 80;

    static Vector addWords(Vector x, Vector y) { return add64(x, y); }

    // Four rows of four words at a time turned into four vectors of one word from each row.
    static void load(const std::array<const std::uint8_t*, kGroupLanes>& starts, Vector (&m)[16]) {
        const Vector swap = _mm256_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL,
                                              0x08090a0b0c0d0e0fLL, 0x0001020304050607LL);
        for (std::size_t quarter = 0; quarter < 4; ++quarter) {
            Vector rows[4];
            for (std::size_t row = 0; row < 4; ++row) {
                rows[row] = _mm256_shuffle_epi8(
                    _mm256_loadu_si256(reinterpret_cast<const Vector*>(starts[row] + 32 * quarter)),
                    swap);
            }
            // Rows 0 and 1 (or 2 and 3) of words 0 and 2 (lo) or 1 and 3 (hi).
            const Vector lo01 = _mm256_unpacklo_epi64(rows[0], rows[1]);
            const Vector hi01 = _mm256_unpackhi_epi64(rows[0], rows[1]);
            const Vector lo23 = _mm256_unpacklo_epi64(rows[2], rows[3]);
            const Vector hi23 = _mm256_unpackhi_epi64(rows[2], rows[3]);
            Vector* words = &m[4 * quarter];
            words[0] = _mm256_permute2x128_si256(lo01, lo23, 0x20);
            words[1] = _mm256_permute2x128_si256(hi01, hi23, 0x20);
            words[2] = _mm256_permute2x128_si256(lo01, lo23, 0x31);
            words[3] = _mm256_permute2x128_si256(hi01, hi23, 0x31);
        }
    }

    // Round t renames the variables instead of moving them: a is v[(8 - t mod 8) mod 8].
    template <class Round>
    [[gnu::always_inline]] static void step(Round t, Vector (&v)[kWords], Vector (&w)[16]) {
        if constexpr (t >= 16) {
            const Vector w15 = w[(t - 15) % 16];
            const Vector w2 = w[(t - 2) % 16];
            const Vector sigma0 =
                xor3(_mm256_ror_epi64(w15, 1), _mm256_ror_epi64(w15, 8), _mm256_srli_epi64(w15, 7));
            const Vector sigma1 =
                xor3(_mm256_ror_epi64(w2, 19), _mm256_ror_epi64(w2, 61), _mm256_srli_epi64(w2, 6));
            w[t % 16] = add64(add64(w[t % 16], sigma0), add64(w[(t - 7) % 16], sigma1));
        }
        constexpr std::size_t a = (8 - t % 8) % 8;
        const Vector b = v[(a + 1) % 8];
        const Vector c = v[(a + 2) % 8];
        Vector& d = v[(a + 3) % 8];
        const Vector e = v[(a + 4) % 8];
        const Vector f = v[(a + 5) % 8];
        const Vector g = v[(a + 6) % 8];
        Vector& h = v[(a + 7) % 8];
        const Vector choose = _mm256_ternarylogic_epi64(e, f, g, kChoose);
        Vector t1 = add64(
            add64(h, add64(w[t % 16],
                           _mm256_set1_epi64x(static_cast<long long>(kSha512RoundConstants[t])))),
            add64(choose, rotr64Xor3<14, 18, 41>(e)));
        const Vector majority = _mm256_ternarylogic_epi64(v[a], b, c, kMajority);
        d = add64(d, t1);
        h = add64(t1, add64(rotr64Xor3<28, 34, 39>(v[a]), majority));
    }

    static void compressOne(std::array<std::uint64_t, kWords>& words, const std::uint8_t* blocks,
                            std::size_t blockCount) {
        Sha512Compress(words, blocks, blockCount);
    }
};

}  // namespace

void Sha384MessagesAvx512(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    LaneScheduler<Sha512Kernel<kSha384InitialValues, kSha384DigestBytes>>(messages, digests).run();
}

void Sha512MessagesAvx512(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    LaneScheduler<Sha512Kernel<kSha512InitialValues, kSha512DigestBytes>>(messages, digests).run();
}

void Sha512_256MessagesAvx512(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    LaneScheduler<Sha512Kernel<kSha512_256InitialValues, kSha512_256DigestBytes>>(messages, digests)
        .run();
}

}  // namespace tolvek::engine
