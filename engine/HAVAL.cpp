#include "engine/HAVAL.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "engine/EngineUtils.h"
#include "engine/HavalTables.h"

namespace tolvek::engine {

namespace {

using Words = std::array<std::uint32_t, 8>;

constexpr std::size_t kBlockSize = 128;
constexpr std::uint32_t kVersion = 1;
// The message ends with the padding, then a ten-byte tail: version, passes and size, bit count.
constexpr std::size_t kTailSize = 10;
constexpr std::uint32_t kTailStart = kBlockSize - kTailSize;

constexpr Words kInitialFingerprint = {0x243F6A88, 0x85A308D3, 0x13198A2E, 0x03707344,
                                       0xA4093822, 0x299F31D0, 0x082EFA98, 0xEC4E6C89};

constexpr std::uint32_t clampPasses(std::uint32_t passes) {
    return std::clamp(passes, 3u, 5u);
}

// The paper's five Boolean functions F1..F5 of x6..x0 as defined.
constexpr std::uint32_t definedFunction(unsigned function, std::uint32_t x6, std::uint32_t x5,
                                        std::uint32_t x4, std::uint32_t x3, std::uint32_t x2,
                                        std::uint32_t x1, std::uint32_t x0) {
    switch (function) {
        case 1:
            return (x1 & x4) ^ (x2 & x5) ^ (x3 & x6) ^ (x0 & x1) ^ x0;
        case 2:
            return (x1 & x2 & x3) ^ (x2 & x4 & x5) ^ (x1 & x2) ^ (x1 & x4) ^ (x2 & x6) ^ (x3 & x5) ^
                   (x4 & x5) ^ (x0 & x2) ^ x0;
        case 3:
            return (x1 & x2 & x3) ^ (x1 & x4) ^ (x2 & x5) ^ (x3 & x6) ^ (x0 & x3) ^ x0;
        case 4:
            return (x1 & x2 & x3) ^ (x2 & x4 & x5) ^ (x3 & x4 & x6) ^ (x1 & x4) ^ (x2 & x6) ^
                   (x3 & x4) ^ (x3 & x5) ^ (x3 & x6) ^ (x4 & x5) ^ (x4 & x6) ^ (x0 & x4) ^ x0;
        default:
            return (x1 & x4) ^ (x2 & x5) ^ (x3 & x6) ^ (x0 & x1 & x2 & x3) ^ (x0 & x5) ^ x0;
    }
}

// The same functions rewritten as (xN & A) ^ B, where xN is the argument that receives the word
// of the step before: A and B need only older words and are ready before it, so each step
// waits on one AND and one XOR instead of the whole function.
template <unsigned Function, unsigned Newest>
[[gnu::always_inline]] constexpr std::uint32_t booleanFunction(std::uint32_t x6, std::uint32_t x5,
                                                               std::uint32_t x4, std::uint32_t x3,
                                                               std::uint32_t x2, std::uint32_t x1,
                                                               std::uint32_t x0) {
    if constexpr (Function == 1 && Newest == 0) {
        return (x0 & ~x1) ^ ((x1 & x4) ^ (x2 & x5) ^ (x3 & x6));
    } else if constexpr (Function == 1 && Newest == 3) {
        return (x3 & x6) ^ ((x1 & (x4 ^ x0)) ^ (x2 & x5) ^ x0);
    } else if constexpr (Function == 1 && Newest == 5) {
        return (x5 & x2) ^ ((x1 & (x4 ^ x0)) ^ (x3 & x6) ^ x0);
    } else if constexpr (Function == 2 && Newest == 3) {
        return (x3 & ((x1 & x2) ^ x5)) ^ ((x4 & ((x5 & ~x2) ^ x1)) ^ (x2 & (x1 ^ x6 ^ x0)) ^ x0);
    } else if constexpr (Function == 3 && Newest == 0) {
        return (x0 & ~x3) ^ ((x3 & ((x1 & x2) ^ x6)) ^ (x1 & x4) ^ (x2 & x5));
    } else if constexpr (Function == 3 && Newest == 2) {
        return (x2 & ((x1 & x3) ^ x5)) ^ ((x1 & x4) ^ (x3 & (x6 ^ x0)) ^ x0);
    } else if constexpr (Function == 3 && Newest == 4) {
        return (x4 & x1) ^ ((x3 & ((x1 & x2) ^ x6 ^ x0)) ^ (x2 & x5) ^ x0);
    } else if constexpr (Function == 4 && Newest == 2) {
        return (x2 & ((x1 & x3) ^ (x4 & x5) ^ x6)) ^
               ((x4 & ((x3 | x6) ^ x1 ^ x5 ^ x0)) ^ (x3 & (x5 ^ x6)) ^ x0);
    } else if constexpr (Function == 4 && Newest == 4) {
        return (x4 & ((x5 & ~x2) ^ (x3 | x6) ^ x1 ^ x0)) ^
               ((x3 & ((x1 & x2) ^ x5 ^ x6)) ^ (x2 & x6) ^ x0);
    } else if constexpr (Function == 5 && Newest == 4) {
        return (x4 & x1) ^ ((x2 & x5) ^ (x3 & x6) ^ (x0 & ~((x1 & x2 & x3) ^ x5)));
    } else {
        static_assert(Function == 0, "no factored form for this pass and permutation");
        return 0;
    }
}

// Checks a factored form against the definition on all 128 combinations of input bits.
template <unsigned Function, unsigned Newest>
consteval bool matchesDefinition() {
    for (unsigned chunk = 0; chunk < 4; ++chunk) {
        std::array<std::uint32_t, 7> x{};
        for (unsigned bit = 0; bit < 32; ++bit) {
            for (unsigned input = 0; input < 7; ++input) {
                x[input] |= (((32 * chunk + bit) >> input) & 1) << bit;
            }
        }
        if (booleanFunction<Function, Newest>(x[6], x[5], x[4], x[3], x[2], x[1], x[0]) !=
            definedFunction(Function, x[6], x[5], x[4], x[3], x[2], x[1], x[0])) {
            return false;
        }
    }
    return true;
}

// The row of kHavalPermutations for pass `pass` of `passes`-pass HAVAL. Only ever evaluated for
// a constexpr variable; not consteval, which Clang 14 rejects with a template's arguments.
constexpr std::array<std::uint8_t, 9> permutationOf(unsigned passes, unsigned pass) {
    for (const auto& row : kHavalPermutations) {
        if (row[0] == passes && row[1] == pass) {
            return row;
        }
    }
    throw "no input permutation for this pass";
}

// Step `Step` of pass `Pass`: the working words rotate by one position per step, so that x7
// (the word replaced) is t[7 - Step mod 8] and x_k is t[k - Step mod 8].
template <unsigned Passes, unsigned Pass, unsigned Step>
[[gnu::always_inline]] inline void step(Words& t, const std::uint8_t* block) {
    static constexpr std::array<std::uint8_t, 9> kPhi = permutationOf(Passes, Pass);
    static constexpr auto x = [](unsigned k) { return (k + 8 - Step % 8) % 8; };
    // The argument of F that receives x0, the word replaced by the step before.
    constexpr unsigned kNewest = [] {
        unsigned argument = 0;
        while (kPhi[8 - argument] != 0) {
            ++argument;
        }
        return argument;
    }();
    static_assert(matchesDefinition<Pass, kNewest>());
    constexpr unsigned kIndex = (Pass - 1) * 32 + Step;
    std::uint32_t sum = RotR32(t[x(7)], 11) + LoadLe32(block + 4 * kHavalWordOrders[kIndex]);
    if constexpr (Pass > 1) {
        sum += kHavalConstants[kIndex - 32];
    }
    const std::uint32_t mixed =
        booleanFunction<Pass, kNewest>(t[x(kPhi[2])], t[x(kPhi[3])], t[x(kPhi[4])], t[x(kPhi[5])],
                                       t[x(kPhi[6])], t[x(kPhi[7])], t[x(kPhi[8])]);
    t[x(7)] = RotR32(mixed, 7) + sum;
}

template <unsigned Passes, unsigned Pass, unsigned... Steps>
[[gnu::always_inline]] inline void runPass(Words& t, const std::uint8_t* block,
                                           std::integer_sequence<unsigned, Steps...>) {
    (step<Passes, Pass, Steps>(t, block), ...);
}

template <unsigned Passes, unsigned... PassIndexes>
[[gnu::always_inline]] inline void runPasses(Words& t, const std::uint8_t* block,
                                             std::integer_sequence<unsigned, PassIndexes...>) {
    (runPass<Passes, PassIndexes + 1>(t, block, std::make_integer_sequence<unsigned, 32>{}), ...);
}

// Compresses `count` whole blocks into the fingerprint, keeping it in registers meanwhile.
template <unsigned Passes>
void compressBlocks(Words& fingerprint, const std::uint8_t* blocks, std::size_t count) {
    Words chaining = fingerprint;
    for (; count > 0; --count, blocks += kBlockSize) {
        Words t = chaining;
        runPasses<Passes>(t, blocks, std::make_integer_sequence<unsigned, Passes>{});
        for (std::size_t index = 0; index < t.size(); ++index) {
            chaining[index] += t[index];
        }
    }
    fingerprint = chaining;
}

using BlockCompressor = void (*)(Words&, const std::uint8_t*, std::size_t);

BlockCompressor compressorFor(std::uint32_t passes) {
    static constexpr std::array<BlockCompressor, 3> kCompressors = {
        compressBlocks<3>, compressBlocks<4>, compressBlocks<5>};
    return kCompressors[clampPasses(passes) - 3];
}

void addBits(std::array<std::uint32_t, 2>& bitCount, std::uint32_t length) {
    const std::uint64_t total =
        (std::uint64_t{bitCount[1]} << 32 | bitCount[0]) + (std::uint64_t{length} << 3);
    bitCount[0] = static_cast<std::uint32_t>(total);
    bitCount[1] = static_cast<std::uint32_t>(total >> 32);
}

std::uint32_t waitingBytes(const HavalContext& context) {
    return (context.BitCount[0] >> 3) % kBlockSize;
}

// Folds the eight fingerprint words into the first bits / 32 of them (HAVAL paper, "tailoring").
void tailor(Words& f, std::uint32_t bits) {
    switch (bits) {
        case 128:
            f[0] += RotR32((f[7] & 0x000000FF) | (f[6] & 0xFF000000) | (f[5] & 0x00FF0000) |
                               (f[4] & 0x0000FF00),
                           8);
            f[1] += RotR32((f[7] & 0x0000FF00) | (f[6] & 0x000000FF) | (f[5] & 0xFF000000) |
                               (f[4] & 0x00FF0000),
                           16);
            f[2] += RotR32((f[7] & 0x00FF0000) | (f[6] & 0x0000FF00) | (f[5] & 0x000000FF) |
                               (f[4] & 0xFF000000),
                           24);
            f[3] += (f[7] & 0xFF000000) | (f[6] & 0x00FF0000) | (f[5] & 0x0000FF00) |
                    (f[4] & 0x000000FF);
            break;
        case 160:
            f[0] += RotR32((f[7] & 0x3F) | (f[6] & 0xFE000000) | (f[5] & 0x01F80000), 19);
            f[1] += RotR32((f[7] & 0xFC0) | (f[6] & 0x3F) | (f[5] & 0xFE000000), 25);
            f[2] += (f[7] & 0x7F000) | (f[6] & 0xFC0) | (f[5] & 0x3F);
            f[3] += ((f[7] & 0x01F80000) | (f[6] & 0x7F000) | (f[5] & 0xFC0)) >> 6;
            f[4] += ((f[7] & 0xFE000000) | (f[6] & 0x01F80000) | (f[5] & 0x7F000)) >> 12;
            break;
        case 192:
            f[0] += RotR32((f[7] & 0x1F) | (f[6] & 0xFC000000), 26);
            f[1] += (f[7] & 0x3E0) | (f[6] & 0x1F);
            f[2] += ((f[7] & 0xFC00) | (f[6] & 0x3E0)) >> 5;
            f[3] += ((f[7] & 0x1F0000) | (f[6] & 0xFC00)) >> 10;
            f[4] += ((f[7] & 0x03E00000) | (f[6] & 0x1F0000)) >> 16;
            f[5] += ((f[7] & 0xFC000000) | (f[6] & 0x03E00000)) >> 21;
            break;
        case 224:
            f[0] += f[7] >> 27;
            f[1] += (f[7] >> 22) & 0x1F;
            f[2] += (f[7] >> 18) & 0x0F;
            f[3] += (f[7] >> 13) & 0x1F;
            f[4] += (f[7] >> 9) & 0x0F;
            f[5] += (f[7] >> 4) & 0x1F;
            f[6] += f[7] & 0x0F;
            break;
        default:  // 256 bits use the fingerprint as it is
            break;
    }
}

// Pads, appends the tail and folds; gives the fingerprint bytes, word 0 first, little-endian.
std::array<std::uint8_t, 32> finish(HavalContext& context, std::uint32_t passes,
                                    std::uint32_t bits) {
    std::array<std::uint8_t, kTailSize> tail{};
    tail[0] = static_cast<std::uint8_t>(((bits % 4) << 6) | ((passes % 8) << 3) | kVersion);
    tail[1] = static_cast<std::uint8_t>(bits >> 2);
    StoreLe32(&tail[2], context.BitCount[0]);
    StoreLe32(&tail[6], context.BitCount[1]);

    // 0x80 rather than the paper's 0x01: the digests this program has always given.
    static constexpr std::array<std::uint8_t, kBlockSize> kPadding = {0x80};
    const std::uint32_t waiting = waitingBytes(context);
    const std::uint32_t padding =
        waiting < kTailStart ? kTailStart - waiting : kTailStart + kBlockSize - waiting;
    HavalUpdate(context, kPadding.data(), padding, passes);
    HavalUpdate(context, tail.data(), kTailSize, passes);

    tailor(context.Fingerprint, bits);
    std::array<std::uint8_t, 32> digest{};
    for (std::size_t index = 0; index < context.Fingerprint.size(); ++index) {
        StoreLe32(&digest[4 * index], context.Fingerprint[index]);
    }
    return digest;
}

}  // namespace

void HavalInit(HavalContext& context) {
    context.BitCount = {0, 0};
    context.Fingerprint = kInitialFingerprint;
}

void HavalUpdate(HavalContext& context, const std::uint8_t* bytes, std::uint32_t length,
                 std::uint32_t passes) {
    const std::size_t waiting = waitingBytes(context);
    addBits(context.BitCount, length);
    // Counted in size_t: a length near 2^32 must not wrap into the "fits the block" case.
    if (waiting + length < kBlockSize) {
        if (length > 0) {
            std::memcpy(&context.Block[waiting], bytes, length);
        }
        return;
    }
    const BlockCompressor compress = compressorFor(passes);
    std::size_t taken = 0;
    if (waiting > 0) {
        taken = kBlockSize - waiting;
        std::memcpy(&context.Block[waiting], bytes, taken);
        compress(context.Fingerprint, context.Block.data(), 1);
    }
    const std::size_t wholeBlocks = (length - taken) / kBlockSize;
    compress(context.Fingerprint, bytes + taken, wholeBlocks);
    taken += wholeBlocks * kBlockSize;
    std::memcpy(context.Block.data(), bytes + taken, length - taken);
}

std::string HavalFinal(HavalContext& context, std::uint32_t passes, std::uint32_t bits) {
    passes = clampPasses(passes);
    const std::array<std::uint8_t, 32> digest = finish(context, passes, bits);
    context = HavalContext{};
    std::string text;
    const std::size_t byteCount = std::min<std::size_t>(bits / 8, digest.size());
    for (std::size_t index = 0; index < byteCount; ++index) {
        text += HexDigits(2, digest[index]);
    }
    return text;
}

}  // namespace tolvek::engine
