#include "engine/RIPEMD.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "engine/EngineUtils.h"
#include "engine/RipemdTables.h"

namespace tolvek::engine {

namespace {

// Initial values h0..h4 of RIPEMD-160; RIPEMD-128 starts from the first four.
constexpr RipemdChain kInitialChain = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0};

// The standard's Boolean functions f1..f5, numbered from 0. x is the register the previous
// step has just written, so each form keeps the operations on x few: f2 as a selection with one
// operation fewer, f4 as a sum of disjoint bit sets, so that y & ~z is added before x arrives.
template <std::size_t Function>
constexpr std::uint32_t boolean(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    if constexpr (Function == 0) {
        return x ^ y ^ z;
    } else if constexpr (Function == 1) {
        return z ^ (x & (y ^ z));  // (x & y) | (~x & z)
    } else if constexpr (Function == 2) {
        return (x | ~y) ^ z;
    } else if constexpr (Function == 3) {
        return (y & ~z) + (x & z);  // (x & z) | (y & ~z)
    } else {
        return x ^ (y | ~z);
    }
}

// What tells the two variants apart: lanes per line, rounds of 16 steps, round constants.
struct Ripemd128 {
    static constexpr std::size_t kLanes = 4;
    static constexpr std::size_t kRounds = 4;
    static constexpr const auto& kLeftConstant = ripemd::kLeftConstant128;
    static constexpr const auto& kRightConstant = ripemd::kRightConstant128;
};

struct Ripemd160 {
    static constexpr std::size_t kLanes = 5;
    static constexpr std::size_t kRounds = 5;
    static constexpr const auto& kLeftConstant = ripemd::kLeftConstant160;
    static constexpr const auto& kRightConstant = ripemd::kRightConstant160;
};

template <class Variant>
using Lanes = std::array<std::uint32_t, Variant::kLanes>;

// Step J of the left or right line. The standard shifts the registers along after every step;
// here they stay put and the role of each lane turns with J instead, which costs no moves.
template <class Variant, bool Right, std::size_t J>
[[gnu::always_inline]] inline void step(Lanes<Variant>& lanes, const RipemdBlock& block) {
    constexpr std::size_t kLanes = Variant::kLanes;
    constexpr std::size_t a = (kLanes - J % kLanes) % kLanes;
    constexpr std::size_t round = J / 16;
    constexpr std::size_t function = Right ? Variant::kRounds - 1 - round : round;
    constexpr std::uint32_t constant =
        Right ? Variant::kRightConstant[round] : Variant::kLeftConstant[round];
    constexpr std::size_t word = Right ? ripemd::kRightWord[J] : ripemd::kLeftWord[J];
    constexpr unsigned shift = Right ? ripemd::kRightShift[J] : ripemd::kLeftShift[J];

    std::uint32_t& c = lanes[(a + 2) % kLanes];
    const std::uint32_t sum =
        lanes[a] + block[word] + constant +
        boolean<function>(lanes[(a + 1) % kLanes], c, lanes[(a + 3) % kLanes]);
    if constexpr (kLanes == 5) {
        lanes[a] = RotL32(sum, shift) + lanes[(a + 4) % kLanes];
        c = RotL32(c, 10);
    } else {
        lanes[a] = RotL32(sum, shift);
    }
}

// Both lines step by step side by side, so that the processor can overlap them.
template <class Variant, std::size_t... J>
[[gnu::always_inline]] inline void runLines(Lanes<Variant>& left, Lanes<Variant>& right,
                                            const RipemdBlock& block, std::index_sequence<J...>) {
    ((step<Variant, false, J>(left, block), step<Variant, true, J>(right, block)), ...);
}

template <class Variant>
[[gnu::always_inline]] inline void compress(RipemdChain& chain, const RipemdBlock& block) {
    constexpr std::size_t kLanes = Variant::kLanes;
    Lanes<Variant> left;
    std::copy_n(chain.begin(), kLanes, left.begin());
    Lanes<Variant> right = left;
    runLines<Variant>(left, right, block, std::make_index_sequence<16 * Variant::kRounds>());

    // h[i] = h[i+1] + left C-role lane + right D-role lane, indices taken around the lanes.
    const std::uint32_t first = chain[0];
    for (std::size_t index = 0; index + 1 < kLanes; ++index) {
        chain[index] = chain[index + 1] + left[(index + 2) % kLanes] + right[(index + 3) % kLanes];
    }
    chain[kLanes - 1] = first + left[1] + right[2];
}

}  // namespace

void RipemdCompress128(RipemdChain& chain, const RipemdBlock& block) {
    compress<Ripemd128>(chain, block);
}

void RipemdCompress160(RipemdChain& chain, const RipemdBlock& block) {
    compress<Ripemd160>(chain, block);
}

namespace {

void compressVariant(RipemdChain& chain, const std::uint8_t* blocks, std::size_t count,
                     std::uint32_t variant) {
    for (; count > 0; --count, blocks += kBlockSize) {
        RipemdBlock words;
        for (std::size_t index = 0; index < words.size(); ++index) {
            words[index] = LoadLe32(blocks + 4 * index);
        }
        if (variant == 160) {
            RipemdCompress160(chain, words);
        } else {
            RipemdCompress128(chain, words);
        }
    }
}

}  // namespace

void RipemdInit128(RipemdContext& context) {
    std::copy_n(kInitialChain.begin(), 4, context.State.begin());
    context.ByteCount = 0;
    context.BufferFill = 0;
}

void RipemdInit160(RipemdContext& context) {
    context.State = kInitialChain;
    context.ByteCount = 0;
    context.BufferFill = 0;
}

void RipemdUpdate(RipemdContext& context, const std::uint8_t* bytes, std::uint32_t length,
                  std::uint32_t variant) {
    context.BufferFill = static_cast<std::uint32_t>(AbsorbBlocks(
        context.Buffer, context.BufferFill, bytes, length,
        [&](const std::uint8_t* blocks, std::size_t count) {
            compressVariant(context.State, blocks, count, variant);
            context.ByteCount += count * kBlockSize;
        }));
}

std::string RipemdFinal(RipemdContext& context, std::uint32_t variant) {
    context.ByteCount += context.BufferFill;
    PadLittleEndian(context.Buffer, context.BufferFill, 0x80, context.ByteCount * 8,
                    [&](const std::uint8_t* blocks, std::size_t count) {
                        compressVariant(context.State, blocks, count, variant);
                    });
    const std::size_t words = variant == 160 ? 5 : 4;
    std::string digest;
    for (std::size_t index = 0; index < words; ++index) {
        digest += HexDigits(8, ByteSwap32(context.State[index]));
    }
    return digest;
}

}  // namespace tolvek::engine
