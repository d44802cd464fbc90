// The lane scheduler behind the kernels that hash many messages at once: each lane of two
// 256-bit registers holds one message, whose blocks a kernel's step function takes through its
// rounds together with the other lanes'; a lane whose message ends takes the next one at once, so
// messages of any mix of lengths keep the lanes full until the last few, which finish one at a
// time on the kernel's one-message compression. Included only by files built with AVX2; its
// contents are internal to each of them, as each is built for other instructions.
#pragma once

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "engine/EngineUtils.h"
#include "engine/MessageLanes.h"
#include "engine/Unroll.h"

namespace tolvek::engine {

namespace {  // NOLINT(google-build-namespaces, cert-dcl59-cpp): one copy per instruction set

// Two registers' worth of lanes, their steps interleaved: each step waits for the one before,
// through vector operations of two cycles' latency on recent processors, so a second independent
// set of lanes keeps the vector units busy nearly for free.
constexpr std::size_t kGroups = 2;

using Vector = __m256i;

// What the scheduler needs to know of a kernel's blocks: the word, how many lanes of it one
// register holds, the block's size, the size of the length field that ends the padding, and the
// byte order of words and length.
template <class WordType, std::size_t GroupLanes, std::size_t BlockSize, std::size_t LengthBytes,
          bool BigEndian>
struct BlockShape {
    using Word = WordType;
    static constexpr std::size_t kGroupLanes = GroupLanes;
    static constexpr std::size_t kBlockSize = BlockSize;
    static constexpr std::size_t kLengthBytes = LengthBytes;
    static constexpr bool kBigEndian = BigEndian;
};

// One block of every lane: Kernel::step(t, v, m) takes the working words v through step t over
// the message words m, word by word, one lane each; the chaining words then add them. The groups
// take each step in turn.
template <class Kernel>
[[gnu::flatten]] void compress(
    Vector (&state)[kGroups][Kernel::kWords],
    const std::array<const std::uint8_t*, Kernel::kGroupLanes * kGroups>& starts) {
    constexpr std::size_t kWords = Kernel::kWords;
    constexpr std::size_t kGroupLanes = Kernel::kGroupLanes;
    Vector m[kGroups][16];
    Vector v[kGroups][kWords];
    for (std::size_t group = 0; group < kGroups; ++group) {
        std::array<const std::uint8_t*, kGroupLanes> groupStarts;
        std::copy_n(starts.begin() + static_cast<std::ptrdiff_t>(group * kGroupLanes), kGroupLanes,
                    groupStarts.begin());
        Kernel::load(groupStarts, m[group]);
        for (std::size_t word = 0; word < kWords; ++word) {
            v[group][word] = state[group][word];
        }
    }
    Unroll<Kernel::kSteps>(
        [&](auto t) { Unroll<kGroups>([&](auto group) { Kernel::step(t, v[group], m[group]); }); });
    for (std::size_t group = 0; group < kGroups; ++group) {
        for (std::size_t word = 0; word < kWords; ++word) {
            state[group][word] = Kernel::addWords(state[group][word], v[group][word]);
        }
    }
}

// One lane's message: its whole blocks read where they are, then its last bytes, the padding
// bit and the length in bits, in one or two blocks built here (RFC 1321, sections 3.1 and 3.2;
// FIPS 180-4, sections 5.1.1 and 5.1.2: the top half of SHA-512's 128-bit count stays zero).
template <class Kernel>
class LaneMessage {
    static constexpr std::size_t kBlockSize = Kernel::kBlockSize;

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
        m_tailBlocks = rest < kBlockSize - Kernel::kLengthBytes ? 1 : 2;
        std::uint8_t* length = m_tail.data() + m_tailBlocks * kBlockSize - 8;
        const std::uint64_t bits = static_cast<std::uint64_t>(message.size()) * 8;
        if constexpr (Kernel::kBigEndian) {
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
    static constexpr std::size_t kLanes = Kernel::kGroupLanes * kGroups;
    using Word = typename Kernel::Word;
    using Words = std::array<Word, Kernel::kWords>;

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
        static constexpr std::array<std::uint8_t, Kernel::kBlockSize> kIdleBlock{};
        std::array<const std::uint8_t*, kLanes> starts;
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            starts[lane] = m_busy[lane] ? m_lanes[lane].take() : kIdleBlock.data();
        }
        Vector state[kGroups][Kernel::kWords];
        for (std::size_t group = 0; group < kGroups; ++group) {
            for (std::size_t word = 0; word < Kernel::kWords; ++word) {
                state[group][word] = _mm256_load_si256(
                    reinterpret_cast<const Vector*>(&m_words[word][group * Kernel::kGroupLanes]));
            }
        }
        compress<Kernel>(state, starts);
        for (std::size_t group = 0; group < kGroups; ++group) {
            for (std::size_t word = 0; word < Kernel::kWords; ++word) {
                _mm256_store_si256(
                    reinterpret_cast<Vector*>(&m_words[word][group * Kernel::kGroupLanes]),
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
        Words words = laneWords(lane);
        m_lanes[lane].takeRest([&](const std::uint8_t* blocks, std::size_t blockCount) {
            Kernel::compressOne(words, blocks, blockCount);
        });
        writeDigest(m_lanes[lane].index(), words);
    }

    Words laneWords(std::size_t lane) const {
        Words words;
        for (std::size_t word = 0; word < Kernel::kWords; ++word) {
            words[word] = m_words[word][lane];
        }
        return words;
    }

    // The digest is the first of the chaining words, as many as it holds.
    void writeDigest(std::size_t index, const Words& words) {
        std::uint8_t* digest = m_digests + index * Kernel::kDigestBytes;
        for (std::size_t word = 0; word < Kernel::kDigestBytes / sizeof(Word); ++word) {
            if constexpr (sizeof(Word) == 8) {
                StoreBe64(digest, words[word]);
            } else if constexpr (Kernel::kBigEndian) {
                StoreBe32(digest, words[word]);
            } else {
                StoreLe32(digest, words[word]);
            }
            digest += sizeof(Word);
        }
    }

    std::span<const MessageBytes> m_messages;
    std::uint8_t* m_digests;
    std::size_t m_next = 0;
    std::array<LaneMessage<Kernel>, kLanes> m_lanes;
    std::array<bool, kLanes> m_busy{};
    // The chaining words, word by word, one lane each.
    alignas(32) std::array<std::array<Word, kLanes>, Kernel::kWords> m_words{};
};

}  // namespace

}  // namespace tolvek::engine
