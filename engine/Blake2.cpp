#include "engine/Blake2.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/Blake2Tables.h"
#include "engine/BlakeRound.h"
#include "engine/EngineUtils.h"
#include "engine/Unroll.h"

namespace tolvek::engine::blake2 {

namespace {

template <class Word>
Word loadWord(const std::uint8_t* bytes) {
    if constexpr (sizeof(Word) == 8) {
        return LoadLe64(bytes);
    } else {
        return LoadLe32(bytes);
    }
}

// RFC 7693, section 3.2, with the rotation distances of each width (section 2.1). Scalar code
// on purpose: with one state row per vector register, the cross-lane rotations of the diagonal
// step lie on the critical path and the AVX2 and AVX-512 forms measured half this speed.
template <class Word, std::size_t Rounds, int R1, int R2, int R3, int R4>
[[gnu::flatten]] void compressPortable(std::array<Word, 8>& state, const std::uint8_t* blocks,
                                       std::size_t blockCount, std::uint64_t counter, bool last,
                                       const std::array<Word, 8>& iv) {
    for (; blockCount != 0;
         --blockCount, blocks += 16 * sizeof(Word), counter += 16 * sizeof(Word)) {
        std::array<Word, 16> message;
        for (std::size_t index = 0; index < 16; ++index) {
            message[index] = loadWord<Word>(blocks + index * sizeof(Word));
        }
        std::array<Word, 16> v;
        std::copy(state.begin(), state.end(), v.begin());
        std::copy(iv.begin(), iv.end(), v.begin() + 8);
        v[12] ^= static_cast<Word>(counter);
        if constexpr (sizeof(Word) == 4) {
            v[13] ^= static_cast<Word>(counter >> 32);
        }
        if (last) {
            v[14] = ~v[14];
        }
        const auto mix = [&](std::size_t a, std::size_t b, std::size_t c, std::size_t d, Word x,
                             Word y) {
            v[a] += v[b] + x;
            v[d] = std::rotr(v[d] ^ v[a], R1);
            v[c] += v[d];
            v[b] = std::rotr(v[b] ^ v[c], R2);
            v[a] += v[b] + y;
            v[d] = std::rotr(v[d] ^ v[a], R3);
            v[c] += v[d];
            v[b] = std::rotr(v[b] ^ v[c], R4);
        };
        Unroll<Rounds>(
            [&](auto round) { MixColumnsThenDiagonals(message, kSigma[round % 10], mix); });
        for (std::size_t index = 0; index < 8; ++index) {
            state[index] ^= v[index] ^ v[index + 8];
        }
    }
}

}  // namespace

void Blake2bCompress(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                     std::size_t blockCount, std::uint64_t counter, bool last) {
    compressPortable<std::uint64_t, 12, 32, 24, 16, 63>(state, blocks, blockCount, counter, last,
                                                        kSha512InitialValues);
}

void Blake2sCompress(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                     std::size_t blockCount, std::uint64_t counter, bool last) {
    compressPortable<std::uint32_t, 10, 16, 12, 8, 7>(state, blocks, blockCount, counter, last,
                                                      kSha256InitialValues);
}

template <class Params>
void Blake2<Params>::update(std::span<const std::uint8_t> bytes) {
    if (m_fill + bytes.size() <= kBlockSize) {
        if (!bytes.empty()) {
            std::memcpy(m_buffer.data() + m_fill, bytes.data(), bytes.size());
            m_fill += bytes.size();
        }
        return;
    }
    if (m_fill != 0) {
        const std::size_t part = kBlockSize - m_fill;
        std::memcpy(m_buffer.data() + m_fill, bytes.data(), part);
        compress(m_buffer.data(), 1);
        bytes = bytes.subspan(part);
    }
    const std::size_t blocks = (bytes.size() - 1) / kBlockSize;
    if (blocks != 0) {
        compress(bytes.data(), blocks);
    }
    m_fill = bytes.size() - blocks * kBlockSize;
    std::memcpy(m_buffer.data(), bytes.data() + blocks * kBlockSize, m_fill);
}

template <class Params>
void Blake2<Params>::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    std::array<Word, 8> state = m_state;
    std::array<std::uint8_t, kBlockSize> last = m_buffer;
    std::fill(last.begin() + static_cast<std::ptrdiff_t>(m_fill), last.end(), 0);
    Params::kCompress(state, last.data(), 1, m_counter + m_fill, true);
    for (std::size_t index = 0; index < state.size(); ++index) {
        if constexpr (sizeof(Word) == 8) {
            StoreLe64(digest.data() + index * sizeof(Word), state[index]);
        } else {
            StoreLe32(digest.data() + index * sizeof(Word), state[index]);
        }
    }
}

template <class Params>
void Blake2<Params>::compress(const std::uint8_t* blocks, std::size_t blockCount) {
    Params::kCompress(m_state, blocks, blockCount, m_counter + kBlockSize, false);
    m_counter += blockCount * kBlockSize;
    m_fill = 0;
}

template class Blake2<Blake2bParams>;
template class Blake2<Blake2sParams>;

}  // namespace tolvek::engine::blake2
