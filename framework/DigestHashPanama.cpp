#include "framework/DigestHashPanama.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tolvek::framework {

namespace {

using State = std::array<std::uint32_t, 17>;
using Stage = THash_Panama::Stage;
using Stages = std::array<Stage, 32>;

std::uint32_t loadLe32(const std::uint8_t* bytes) {
    std::uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return std::endian::native == std::endian::little ? word : SwapBytes32(word);
}

// Where an iteration takes its eight input words from: a message block when pushing, the state
// when pulling.
enum class Mode { Push, Pull };

// One iteration of Panama (Daemen and Clapp, FSE 1998). The buffer is shifted by moving the
// tap one stage down, so that only the two stages the update writes are touched. In the state
// update rho = sigma . theta . pi . gamma, gamma and pi are computed together and theta and
// sigma together; the state lives in the caller's registers across iterations.
template <Mode kMode>
[[gnu::always_inline]] inline void iterate(State& a, Stages& stages, std::uint32_t& tap,
                                           const std::uint8_t* block) {
    const auto input = [&](unsigned index) {
        return kMode == Mode::Push ? loadLe32(block + 4 * index) : a[index + 1];
    };
    const Stage& stage4 = stages[(tap + 4) & 31];
    const Stage& stage16 = stages[(tap + 16) & 31];
    // lambda: the new stage 0 is stage 31 plus the input; the new stage 25 is stage 24 plus
    // stage 31 with its words turned by two. Working on whole-stage copies tells the compiler
    // the two stages are distinct, so it handles four words at a time.
    Stage& stage31 = stages[(tap + 31) & 31];
    Stage& stage24 = stages[(tap + 24) & 31];
    const Stage old = stage31;
    Stage turned = stage24;
    Stage pushed;
#pragma GCC unroll 8
    for (unsigned index = 0; index < 8; ++index) {
        pushed[index] = old[index] ^ input(index);
        turned[(index + 6) & 7] ^= old[index];
    }
    stage31 = pushed;
    stage24 = turned;
    // gamma, then pi: word i is word 7i of gamma's output, turned left by i(i+1)/2.
    State mixed;
#pragma GCC unroll 17
    for (unsigned index = 0; index < 17; ++index) {
        const unsigned from = (7 * index) % 17;
        const std::uint32_t gamma = a[from] ^ (a[(from + 1) % 17] | ~a[(from + 2) % 17]);
        mixed[index] = std::rotl(gamma, static_cast<int>((index * (index + 1) / 2) % 32));
    }
    // theta, then sigma: the constant 1, the input words (stage 4 when pulling), and stage 16.
    const auto theta = [&](unsigned index) {
        return mixed[index] ^ mixed[(index + 1) % 17] ^ mixed[(index + 4) % 17];
    };
    a[0] = theta(0) ^ 1;
#pragma GCC unroll 8
    for (unsigned index = 0; index < 8; ++index) {
        a[index + 1] = theta(index + 1) ^ (kMode == Mode::Push ? input(index) : stage4[index]);
    }
#pragma GCC unroll 8
    for (unsigned index = 0; index < 8; ++index) {
        a[index + 9] = theta(index + 9) ^ stage16[index];
    }
    tap = (tap - 1) & 31;
}

constexpr int kPullIterations = 32;

}  // namespace

THash_Panama::~THash_Panama() {
    WipeBuffer(m_stages.data(), sizeof m_stages);
    WipeBuffer(m_digest.data(), sizeof m_digest);
}

const std::uint8_t* THash_Panama::DigestBytes() const {
    return reinterpret_cast<const std::uint8_t*>(m_digest.data());
}

void THash_Panama::ProcessBlock(const std::uint8_t* block) {
    ProcessBlocks(block, 1);
}

void THash_Panama::ProcessBlocks(const std::uint8_t* blocks, std::int32_t count) {
    State a = m_digest;
    auto tap = static_cast<std::uint32_t>(m_tap);
    for (std::int32_t index = 0; index < count; ++index) {
        iterate<Mode::Push>(a, m_stages, tap, blocks + index * kBlockLength);
    }
    m_digest = a;
    m_tap = static_cast<std::int32_t>(tap);
}

void THash_Panama::InitState() {
    m_stages = {};
    m_digest.fill(0);
    m_tap = 0;
}

void THash_Panama::FinishState() {
    PadFinalBlocks(0x01, 0, std::endian::little);
    pull();
    m_stages = {};
    m_tap = 0;
}

// The blank iterations, then the digest: state words 9 to 16 moved to words 0 to 7.
void THash_Panama::pull() {
    State a = m_digest;
    auto tap = static_cast<std::uint32_t>(m_tap);
    for (int index = 0; index < kPullIterations; ++index) {
        iterate<Mode::Pull>(a, m_stages, tap, nullptr);
    }
    std::copy(a.begin() + 9, a.end(), a.begin());
    m_digest = a;
    m_tap = static_cast<std::int32_t>(tap);
    if constexpr (std::endian::native == std::endian::big) {
        SwapWords32(m_digest.data(), m_digest.data(), static_cast<std::int32_t>(m_digest.size()));
    }
}

}  // namespace tolvek::framework
