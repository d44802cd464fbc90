// MD5 and SHA-1 of many messages, sixteen at a time, one per 32-bit lane of two 256-bit registers.
// Neither has a vector rotate here, so each rotation is two shifts; SHA-1's big-endian words are
// byte-swapped once loaded. A lane whose message ends takes the next one at once, so messages of
// any mix of lengths keep the lanes full until the last few, which finish one at a time.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <utility>

#include "engine/Backends.h"
#include "engine/EngineUtils.h"
#include "engine/MD.h"
#include "engine/Md5Tables.h"
#include "engine/MessageLanes.h"
#include "engine/SHA.h"
#include "engine/ShaConstants.h"
#include "engine/Unroll.h"
#include "engine/x86/WordTranspose.h"

namespace tolvek::engine {

namespace {

// Two registers' worth of lanes, their steps interleaved: each step of MD5 or SHA-1 waits for the
// one before, through vector operations of two cycles' latency on recent processors, so a second
// independent set of eight keeps the vector units busy nearly for free.
constexpr std::size_t kGroupLanes = 8;
constexpr std::size_t kGroups = 2;
constexpr std::size_t kLanes = kGroupLanes * kGroups;
constexpr std::size_t kBlockSize = 64;

using Vector = __m256i;
using BlockStarts = std::array<const std::uint8_t*, kLanes>;

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

// RFC 1321, section 3.4, in every lane at once.
struct Md5Kernel {
    static constexpr std::size_t kWords = 4;
    static constexpr std::size_t kDigestBytes = kMd5DigestBytes;
    static constexpr bool kBigEndian = false;
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
struct Sha1Kernel {
    static constexpr std::size_t kWords = 5;
    static constexpr std::size_t kDigestBytes = kSha1DigestBytes;
    static constexpr bool kBigEndian = true;
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

// One block of every lane: Kernel::step(t, v, m) takes the working words v through step t over
// the message words m, word by word, one lane each; the chaining words then add them. The groups
// take each step in turn.
template <class Kernel>
[[gnu::flatten]] void compress(Vector (&state)[kGroups][Kernel::kWords],
                               const BlockStarts& starts) {
    constexpr std::size_t kWords = Kernel::kWords;
    const Vector swap = _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2,
                                         1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
    Vector m[kGroups][16];
    Vector v[kGroups][kWords];
    for (std::size_t group = 0; group < kGroups; ++group) {
        std::array<const std::uint8_t*, kGroupLanes> groupStarts;
        std::copy_n(starts.begin() + static_cast<std::ptrdiff_t>(group * kGroupLanes), kGroupLanes,
                    groupStarts.begin());
        TransposeBlockWords(groupStarts, 0, m[group]);
        if constexpr (Kernel::kBigEndian) {
            for (Vector& word : m[group]) {
                word = _mm256_shuffle_epi8(word, swap);
            }
        }
        for (std::size_t word = 0; word < kWords; ++word) {
            v[group][word] = state[group][word];
        }
    }
    Unroll<Kernel::kSteps>(
        [&](auto t) { Unroll<kGroups>([&](auto group) { Kernel::step(t, v[group], m[group]); }); });
    for (std::size_t group = 0; group < kGroups; ++group) {
        for (std::size_t word = 0; word < kWords; ++word) {
            state[group][word] = add(state[group][word], v[group][word]);
        }
    }
}

// One lane's message: its whole blocks read where they are, then its last bytes, the padding
// bit and the length in bits, in one or two blocks built here (RFC 1321, sections 3.1 and 3.2;
// FIPS 180-4, section 5.1.1).
template <bool BigEndian>
class LaneMessage {
public:
    void start(MessageBytes message, std::size_t index) {
        m_index = index;
        m_next = message.data();
        m_wholeBlocks = message.size() / kBlockSize;
        const std::size_t rest = message.size() % kBlockSize;
        m_tail.fill(0);
        if (rest > 0) {
            std::copy_n(message.data() + m_wholeBlocks * kBlockSize, rest, m_tail.begin());
        }
        m_tail[rest] = 0x80;
        m_tailBlocks = rest < kBlockSize - 8 ? 1 : 2;
        std::uint8_t* length = m_tail.data() + m_tailBlocks * kBlockSize - 8;
        const std::uint64_t bits = static_cast<std::uint64_t>(message.size()) * 8;
        if constexpr (BigEndian) {
            StoreBe64(length, bits);
        } else {
            StoreLe64(length, bits);
        }
        m_tailNext = m_tail.data();
    }

    std::size_t index() const { return m_index; }
    bool ended() const { return m_wholeBlocks + m_tailBlocks == 0; }

    // The next block; there is one unless ended().
    const std::uint8_t* take() {
        if (m_wholeBlocks > 0) {
            --m_wholeBlocks;
            return std::exchange(m_next, m_next + kBlockSize);
        }
        --m_tailBlocks;
        return std::exchange(m_tailNext, m_tailNext + kBlockSize);
    }

    // The blocks left, each run of them through `compress(blocks, count)`.
    template <class Compress>
    void takeRest(Compress compress) {
        compress(m_next, std::exchange(m_wholeBlocks, 0));
        compress(m_tailNext, std::exchange(m_tailBlocks, 0));
    }

private:
    std::size_t m_index = 0;
    const std::uint8_t* m_next = nullptr;
    std::size_t m_wholeBlocks = 0;
    const std::uint8_t* m_tailNext = nullptr;
    std::size_t m_tailBlocks = 0;
    std::array<std::uint8_t, 2 * kBlockSize> m_tail{};
};

template <class Kernel>
class LaneScheduler {
public:
    LaneScheduler(std::span<const MessageBytes> messages, std::uint8_t* digests)
        : m_messages(messages), m_digests(digests) {
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            refill(lane);
        }
    }

    void run() {
        while (m_next < m_messages.size() ||
               static_cast<std::size_t>(std::ranges::count(m_busy, true)) >= Kernel::kFewestLanes) {
            pass();
        }
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            if (m_busy[lane]) {
                finishAlone(lane);
            }
        }
    }

private:
    // One block of every busy lane; an idle lane hashes a block of zeros that nothing reads.
    void pass() {
        static constexpr std::array<std::uint8_t, kBlockSize> kIdleBlock{};
        BlockStarts starts;
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            starts[lane] = m_busy[lane] ? m_lanes[lane].take() : kIdleBlock.data();
        }
        Vector state[kGroups][Kernel::kWords];
        for (std::size_t group = 0; group < kGroups; ++group) {
            for (std::size_t word = 0; word < Kernel::kWords; ++word) {
                state[group][word] = _mm256_load_si256(
                    reinterpret_cast<const Vector*>(&m_words[word][group * kGroupLanes]));
            }
        }
        compress<Kernel>(state, starts);
        for (std::size_t group = 0; group < kGroups; ++group) {
            for (std::size_t word = 0; word < Kernel::kWords; ++word) {
                _mm256_store_si256(reinterpret_cast<Vector*>(&m_words[word][group * kGroupLanes]),
                                   state[group][word]);
            }
        }
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            if (m_busy[lane] && m_lanes[lane].ended()) {
                writeDigest(m_lanes[lane].index(), laneWords(lane));
                refill(lane);
            }
        }
    }

    void refill(std::size_t lane) {
        m_busy[lane] = m_next < m_messages.size();
        if (m_busy[lane]) {
            m_lanes[lane].start(m_messages[m_next], m_next);
            ++m_next;
            for (std::size_t word = 0; word < Kernel::kWords; ++word) {
                m_words[word][lane] = Kernel::kInitial[word];
            }
        }
    }

    void finishAlone(std::size_t lane) {
        std::array<std::uint32_t, Kernel::kWords> words = laneWords(lane);
        m_lanes[lane].takeRest([&](const std::uint8_t* blocks, std::size_t blockCount) {
            Kernel::compressOne(words, blocks, blockCount);
        });
        writeDigest(m_lanes[lane].index(), words);
    }

    std::array<std::uint32_t, Kernel::kWords> laneWords(std::size_t lane) const {
        std::array<std::uint32_t, Kernel::kWords> words;
        for (std::size_t word = 0; word < Kernel::kWords; ++word) {
            words[word] = m_words[word][lane];
        }
        return words;
    }

    void writeDigest(std::size_t index, const std::array<std::uint32_t, Kernel::kWords>& words) {
        std::uint8_t* digest = m_digests + index * Kernel::kDigestBytes;
        for (const std::uint32_t word : words) {
            if constexpr (Kernel::kBigEndian) {
                StoreBe32(digest, word);
            } else {
                StoreLe32(digest, word);
            }
            digest += 4;
        }
    }

    std::span<const MessageBytes> m_messages;
    std::uint8_t* m_digests;
    std::size_t m_next = 0;
    std::array<LaneMessage<Kernel::kBigEndian>, kLanes> m_lanes;
    std::array<bool, kLanes> m_busy{};
    // The chaining words, word by word, one lane each.
    alignas(32) std::array<std::array<std::uint32_t, kLanes>, Kernel::kWords> m_words{};
};

}  // namespace

void Md5MessagesAvx2(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    LaneScheduler<Md5Kernel>(messages, digests).run();
}

void Sha1MessagesAvx2(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    LaneScheduler<Sha1Kernel>(messages, digests).run();
}

}  // namespace tolvek::engine
