#include "framework/DigestHashMD4.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "framework/DigestData.h"
#include "framework/DigestStrings.h"

namespace tolvek::framework {

namespace {

using Block = std::array<std::uint32_t, 16>;

Block loadBlock(const std::uint8_t* block) {
    Block words;
    std::memcpy(words.data(), block, sizeof words);
    if constexpr (std::endian::native == std::endian::big) {
        SwapWords32(words.data(), words.data(), 16);
    }
    return words;
}

// --- MD5 (RFC 1321, 3.4) --------------------------------------------------------------------

using Md5State = std::array<std::uint32_t, 4>;

// Step i works on the words a, b, c, d = state[-i], state[1-i], state[2-i], state[3-i] (mod 4):
// the roles rotate instead of the values.
template <std::size_t Step>
[[gnu::always_inline]] inline void md5Step(Md5State& state, const Block& x) {
    constexpr std::size_t a = (4 - Step % 4) % 4;
    constexpr std::size_t b = (a + 1) % 4;
    constexpr std::size_t c = (a + 2) % 4;
    constexpr std::size_t d = (a + 3) % 4;
    // Everything that does not wait for b, the word the previous step made, is added first.
    std::uint32_t sum = state[a] + x[data::kMd5Word[Step]] + data::kMd5Sine[Step];
    if constexpr (Step < 16) {
        sum += state[d] ^ (state[b] & (state[c] ^ state[d]));
    } else if constexpr (Step < 32) {
        sum += state[c] & ~state[d];
        sum += state[b] & state[d];
    } else if constexpr (Step < 48) {
        sum += state[b] ^ (state[c] ^ state[d]);
    } else {
        sum += state[c] ^ (state[b] | ~state[d]);
    }
    state[a] = state[b] + std::rotl(sum, data::kMd5Shift[Step]);
}

template <std::size_t... Step>
[[gnu::always_inline]] inline void md5Steps(Md5State& state, const Block& x,
                                            std::index_sequence<Step...>) {
    (md5Step<Step>(state, x), ...);
}

// --- RIPEMD-256 and RIPEMD-320 --------------------------------------------------------------

// The functions f1 to f5 of RIPEMD, numbered from 0.
template <int Function>
[[gnu::always_inline]] inline std::uint32_t ripemdFunction(std::uint32_t x, std::uint32_t y,
                                                           std::uint32_t z) {
    if constexpr (Function == 0) {
        return x ^ y ^ z;
    } else if constexpr (Function == 1) {
        return z ^ (x & (y ^ z));  // (x & y) | (~x & z)
    } else if constexpr (Function == 2) {
        return (x | ~y) ^ z;
    } else if constexpr (Function == 3) {
        return y ^ (z & (x ^ y));  // (x & z) | (y & ~z)
    } else {
        return x ^ (y | ~z);
    }
}

// What sets the two versions apart: the line structure of RIPEMD-128 (four working words, four
// rounds) or of RIPEMD-160 (five and five).
template <std::size_t Words>
struct RipemdShape;

template <>
struct RipemdShape<4> {
    static constexpr const auto& kLeftConstant = data::kRipemd128LeftConstant;
    static constexpr const auto& kRightConstant = data::kRipemd128RightConstant;
};

template <>
struct RipemdShape<5> {
    static constexpr const auto& kLeftConstant = data::kRipemd160LeftConstant;
    static constexpr const auto& kRightConstant = data::kRipemd160RightConstant;
};

template <std::size_t Words>
using RipemdLine = std::array<std::uint32_t, Words>;

// Step i of one line works on the named words a, b, c, d (, e) = line[-i], line[1-i], ...
// (mod Words), as the standard's description rotates its arguments.
template <std::size_t Words, bool Right, std::size_t Step>
[[gnu::always_inline]] inline void ripemdStep(RipemdLine<Words>& line, const Block& x) {
    using Shape = RipemdShape<Words>;
    constexpr std::size_t rounds = Shape::kLeftConstant.size();
    constexpr std::size_t round = Step / 16;
    constexpr std::size_t a = (Words - Step % Words) % Words;
    constexpr std::size_t b = (a + 1) % Words;
    constexpr std::size_t c = (a + 2) % Words;
    constexpr std::size_t d = (a + 3) % Words;
    constexpr int function = static_cast<int>(Right ? rounds - 1 - round : round);
    constexpr std::uint32_t constant =
        Right ? Shape::kRightConstant[round] : Shape::kLeftConstant[round];
    constexpr std::size_t word = Right ? data::kRipemdRightWord[Step] : data::kRipemdLeftWord[Step];
    constexpr int shift = Right ? data::kRipemdRightShift[Step] : data::kRipemdLeftShift[Step];
    const std::uint32_t sum =
        line[a] + ripemdFunction<function>(line[b], line[c], line[d]) + x[word] + constant;
    if constexpr (Words == 4) {
        line[a] = std::rotl(sum, shift);
    } else {
        constexpr std::size_t e = (a + 4) % Words;
        line[a] = std::rotl(sum, shift) + line[e];
        line[c] = std::rotl(line[c], 10);
    }
}

template <std::size_t Words, std::size_t Round, std::size_t... Step>
[[gnu::always_inline]] inline void ripemdRound(RipemdLine<Words>& left, RipemdLine<Words>& right,
                                               const Block& x, std::index_sequence<Step...>) {
    // The two lines are independent within a round; interleaving them lets both run at once.
    ((ripemdStep<Words, false, Round * 16 + Step>(left, x),
      ripemdStep<Words, true, Round * 16 + Step>(right, x)),
     ...);
    // After each round the lines exchange one word. The standard names the working words as a
    // shift register (A, B, C, D, E) that moves one place per step, and exchanges A, B, C, D
    // after the rounds of RIPEMD-256 and B, D, A, C, E after those of RIPEMD-320. Here the
    // words stay put and their roles rotate, and in both versions that register is word Round.
    std::swap(left[Round], right[Round]);
}

template <std::size_t Words, std::size_t... Round>
[[gnu::always_inline]] inline void ripemdRounds(RipemdLine<Words>& left, RipemdLine<Words>& right,
                                                const Block& x, std::index_sequence<Round...>) {
    (ripemdRound<Words, Round>(left, right, x, std::make_index_sequence<16>{}), ...);
}

// The chaining value is 2 x Words words: the left line's start and sum, then the right's.
template <std::size_t Words>
void ripemdCompress(std::uint32_t* chain, const std::uint8_t* block) {
    const Block x = loadBlock(block);
    RipemdLine<Words> left;
    RipemdLine<Words> right;
    std::copy_n(chain, Words, left.begin());
    std::copy_n(chain + Words, Words, right.begin());
    ripemdRounds<Words>(left, right, x,
                        std::make_index_sequence<RipemdShape<Words>::kLeftConstant.size()>{});
    for (std::size_t index = 0; index < Words; ++index) {
        chain[index] += left[index];
        chain[Words + index] += right[index];
    }
}

}  // namespace

THashBaseMD4::~THashBaseMD4() {
    WipeBuffer(m_digest.data(), sizeof m_digest);
}

const std::uint8_t* THashBaseMD4::DigestBytes() const {
    return reinterpret_cast<const std::uint8_t*>(m_digest.data());
}

void THashBaseMD4::InitState() {
    m_digest = data::kRipemd320Initial;
}

void THashBaseMD4::FinishState() {
    // The length field holds 64 bits of the count; a longer message has no digest here.
    const BitCount& count = BitCounter();
    if (std::any_of(count.begin() + 2, count.end(), [](std::uint32_t word) { return word != 0; })) {
        throw EDigestException::FromText(kTooManyBitsText);
    }
    PadFinalBlocks(0x80, 8, std::endian::little);
    if constexpr (std::endian::native == std::endian::big) {
        SwapWords32(m_digest.data(), m_digest.data(), static_cast<std::int32_t>(m_digest.size()));
    }
}

void THash_MD5::ProcessBlock(const std::uint8_t* block) {
    const Block x = loadBlock(block);
    Md5State state = {m_digest[0], m_digest[1], m_digest[2], m_digest[3]};
    md5Steps(state, x, std::make_index_sequence<64>{});
    for (std::size_t index = 0; index < state.size(); ++index) {
        m_digest[index] += state[index];
    }
}

void THash_RipeMD256::InitState() {
    std::copy(data::kRipemd256Initial.begin(), data::kRipemd256Initial.end(), m_digest.begin());
}

void THash_RipeMD256::ProcessBlock(const std::uint8_t* block) {
    ripemdCompress<4>(m_digest.data(), block);
}

void THash_RipeMD320::ProcessBlock(const std::uint8_t* block) {
    ripemdCompress<5>(m_digest.data(), block);
}

}  // namespace tolvek::framework
