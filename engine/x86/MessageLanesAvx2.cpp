// MD5 and SHA-1 of many messages, sixteen at a time, one per 32-bit lane of two 256-bit registers.
// Neither has a vector rotate here, so each rotation is two shifts; SHA-1's big-endian words are
// byte-swapped once loaded.
#include <immintrin.h>

#include <algorithm>
#include <array>

#include "engine/Backends.h"
#include "engine/MD.h"
#include "engine/Md5Tables.h"
#include "engine/MessageLanes.h"
#include "engine/SHA.h"
#include "engine/ShaConstants.h"
#include "engine/x86/LaneScheduler.h"
#include "engine/x86/WordTranspose.h"

namespace tolvek::engine {

namespace {

Vector add(Vector x, Vector y) {
    return _mm256_add_epi32(x, y);
}
Vector constant(std::uint32_t word) {
    return _mm256_set1_epi32(static_cast<int>(word));
}

template <unsigned Count>
Vector rotl(Vector x) {
    return _mm256_or_si256(_mm256_slli_epi32(x, Count), _mm256_srli_epi32(x, 32 - Count));
}

// 64-byte blocks of 32-bit words, eight lanes to a register, the bit count in the last 8 bytes.
template <bool BigEndian>
struct Words32 : BlockShape<std::uint32_t, 8, 64, 8, BigEndian> {
    using BlockShape<std::uint32_t, 8, 64, 8, BigEndian>::kGroupLanes;

    static Vector addWords(Vector x, Vector y) { return add(x, y); }

    static void load(const std::array<const std::uint8_t*, kGroupLanes>& starts, Vector (&m)[16]) {
        TransposeBlockWords(starts, 0, m);
        if constexpr (BigEndian) {
            const Vector swap =
                _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2, 1, 0,
                                 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
            for (Vector& word : m) {
                word = _mm256_shuffle_epi8(word, swap);
            }
        }
    }
};

// RFC 1321, section 3.4, in every lane at once.
struct Md5Kernel : Words32<false> {
    static constexpr std::size_t kWords = 4;
    static constexpr std::size_t kDigestBytes = kMd5DigestBytes;
    static constexpr std::array<std::uint32_t, kWords> kInitial = kMdInitialValues;
    // Below this many busy lanes a pass costs more than hashing their blocks one by one: a pass
    // takes as long as about 3.3 blocks of Md5Transform (AMD EPYC with AVX-512, measured).
    static constexpr std::size_t kFewestLanes = 4;
    static constexpr std::size_t kSteps = 64;

    // Step t updates the word the one before read as d.
    template <class StepIndex>
    [[gnu::always_inline]] static void step(StepIndex t, Vector (&v)[kWords],
                                            const Vector (&m)[16]) {
        constexpr std::size_t a = (4 - t % 4) % 4;
        const Vector b = v[(a + 1) % 4];
        const Vector c = v[(a + 2) % 4];
        const Vector d = v[(a + 3) % 4];
        Vector sum = add(v[a], add(m[Md5WordIndex(t)], constant(kMd5SineConstants[t])));
        if constexpr (t < 16) {
            sum = add(sum, _mm256_xor_si256(d, _mm256_and_si256(b, _mm256_xor_si256(c, d))));
        } else if constexpr (t < 32) {
            // The half without b first, off the chain through b.
            sum = add(sum, _mm256_andnot_si256(d, c));
            sum = add(sum, _mm256_and_si256(b, d));
        } else if constexpr (t < 48) {
            sum = add(sum, _mm256_xor_si256(b, _mm256_xor_si256(c, d)));
        } else {
            const Vector notD = _mm256_xor_si256(d, constant(~0u));
            sum = add(sum, _mm256_xor_si256(c, _mm256_or_si256(b, notD)));
        }
        v[a] = add(b, rotl<kMd5Shifts[t / 16][t % 4]>(sum));
    }

    static void compressOne(std::array<std::uint32_t, kWords>& words, const std::uint8_t* blocks,
                            std::size_t blockCount) {
        Md5Transform(words, blocks, blockCount);
    }
};

// FIPS 180-4, section 6.1.2, with the 16-word rolling schedule of its section 6.1.3.
struct Sha1Kernel : Words32<true> {
    static constexpr std::size_t kWords = 5;
    static constexpr std::size_t kDigestBytes = kSha1DigestBytes;
    static constexpr std::array<std::uint32_t, kWords> kInitial = kSha1InitialValues;
    // A pass takes as long as about 8 blocks on the SHA extensions.
    static constexpr std::size_t kFewestLanes = 8;
    static constexpr std::size_t kSteps = 80;

    // Round t renames the variables instead of moving them: a is v[(5 - t mod 5) mod 5].
    template <class Round>
    [[gnu::always_inline]] static void step(Round t, Vector (&v)[kWords], Vector (&w)[16]) {
        if constexpr (t >= 16) {
            w[t % 16] = rotl<1>(_mm256_xor_si256(_mm256_xor_si256(w[(t - 3) % 16], w[(t - 8) % 16]),
                                                 _mm256_xor_si256(w[(t - 14) % 16], w[t % 16])));
        }
        constexpr std::size_t a = (5 - t % 5) % 5;
        Vector& b = v[(a + 1) % 5];
        const Vector c = v[(a + 2) % 5];
        const Vector d = v[(a + 3) % 5];
        Vector& e = v[(a + 4) % 5];
        e = add(e, add(constant(kSha1RoundConstants[t / 20]), w[t % 16]));
        if constexpr (t < 20) {
            e = add(e, _mm256_xor_si256(d, _mm256_and_si256(b, _mm256_xor_si256(c, d))));
        } else if constexpr (t >= 40 && t < 60) {
            e = add(e, _mm256_or_si256(_mm256_and_si256(c, d),
                                       _mm256_and_si256(b, _mm256_or_si256(c, d))));
        } else {
            e = add(e, _mm256_xor_si256(b, _mm256_xor_si256(c, d)));
        }
        e = add(e, rotl<5>(v[a]));
        b = rotl<30>(b);
    }

    static void compressOne(std::array<std::uint32_t, kWords>& words, const std::uint8_t* blocks,
                            std::size_t blockCount) {
        Sha32State state{};
        std::copy(words.begin(), words.end(), state.begin());
        Sha1Compress(state, blocks, blockCount);
        std::copy_n(state.begin(), kWords, words.begin());
    }
};

}  // namespace

void Md5MessagesAvx2(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    LaneScheduler<Md5Kernel>(messages, digests).run();
}

void Sha1MessagesAvx2(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    LaneScheduler<Sha1Kernel>(messages, digests).run();
}

}  // namespace tolvek::engine
