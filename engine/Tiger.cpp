#include "engine/Tiger.h"

#include <algorithm>
#include <cstddef>

#include "engine/EngineUtils.h"
#include "engine/TigerTables.h"

namespace tolvek::engine {

namespace {

// The four boxes side by side in one object, so that every look-up addresses them from one base
// register and more registers are left for the message words.
struct SBoxes {
    std::array<std::uint64_t, 256> t1;
    std::array<std::uint64_t, 256> t2;
    std::array<std::uint64_t, 256> t3;
    std::array<std::uint64_t, 256> t4;
};
alignas(64) constexpr SBoxes kSBoxes = {tiger::kT1, tiger::kT2, tiger::kT3, tiger::kT4};

using MessageWords = std::array<std::uint64_t, 8>;

constexpr TigerState kInitialState = {0x0123456789ABCDEF, 0xFEDCBA9876543210, 0xF096A5B4C3B2E187};

constexpr std::size_t byteOf(std::uint64_t word, unsigned index) {
    return static_cast<std::uint8_t>(word >> (8 * index));
}

// Returns `value` through an empty asm statement that the compiler cannot see through. A round
// combines its four look-ups as two pinned pairs: otherwise the compiler chains them into three
// dependent xors, one cycle longer on the path from one round to the next.
inline std::uint64_t pinned(std::uint64_t value) {
    asm("" : "+r"(value));
    return value;
}

template <std::uint64_t Multiplier>
inline void round(std::uint64_t& a, std::uint64_t& b, std::uint64_t& c, std::uint64_t word) {
    c ^= word;
    a -= pinned(kSBoxes.t1[byteOf(c, 0)] ^ kSBoxes.t2[byteOf(c, 2)]) ^
         pinned(kSBoxes.t3[byteOf(c, 4)] ^ kSBoxes.t4[byteOf(c, 6)]);
    b += pinned(kSBoxes.t4[byteOf(c, 1)] ^ kSBoxes.t3[byteOf(c, 3)]) ^
         pinned(kSBoxes.t2[byteOf(c, 5)] ^ kSBoxes.t1[byteOf(c, 7)]);
    b *= Multiplier;
}

template <std::uint64_t Multiplier>
inline void pass(std::uint64_t& a, std::uint64_t& b, std::uint64_t& c, const MessageWords& x) {
    round<Multiplier>(a, b, c, x[0]);
    round<Multiplier>(b, c, a, x[1]);
    round<Multiplier>(c, a, b, x[2]);
    round<Multiplier>(a, b, c, x[3]);
    round<Multiplier>(b, c, a, x[4]);
    round<Multiplier>(c, a, b, x[5]);
    round<Multiplier>(a, b, c, x[6]);
    round<Multiplier>(b, c, a, x[7]);
}

// The Tiger paper's key schedule, which mixes the message words before every pass after the
// first.
inline void keySchedule(MessageWords& x) {
    x[0] -= x[7] ^ 0xA5A5A5A5A5A5A5A5;
    x[1] ^= x[0];
    x[2] += x[1];
    x[3] -= x[2] ^ (~x[1] << 19);
    x[4] ^= x[3];
    x[5] += x[4];
    x[6] -= x[5] ^ (~x[4] >> 23);
    x[7] ^= x[6];
    x[0] += x[7];
    x[1] -= x[0] ^ (~x[7] << 19);
    x[2] ^= x[1];
    x[3] += x[2];
    x[4] -= x[3] ^ (~x[2] >> 23);
    x[5] ^= x[4];
    x[6] += x[5];
    x[7] -= x[6] ^ 0x0123456789ABCDEF;
}

// Pass i multiplies by 5, 7, then 9 for every further pass; after each pass the registers turn
// (a, b, c) -> (c, a, b), so three passes end where they began.
[[gnu::always_inline]] inline void runPasses(std::uint64_t& a, std::uint64_t& b, std::uint64_t& c,
                                             MessageWords& x, std::uint32_t count) {
    for (std::uint32_t index = 0; index < count; ++index) {
        if (index == 0) {
            pass<5>(a, b, c, x);
        } else {
            keySchedule(x);
            if (index == 1) {
                pass<7>(a, b, c, x);
            } else {
                pass<9>(a, b, c, x);
            }
        }
        const std::uint64_t previousC = c;
        c = b;
        b = a;
        a = previousC;
    }
}

}  // namespace

void TigerCompress(const std::uint8_t* block, TigerState& state, std::uint32_t passes) {
    MessageWords x;
    for (std::size_t index = 0; index < x.size(); ++index) {
        x[index] = LoadLe64(block + 8 * index);
    }
    std::uint64_t a = state[0];
    std::uint64_t b = state[1];
    std::uint64_t c = state[2];
    // The usual three passes as a loop of known length, which the compiler lays out straight.
    if (passes == 3) {
        runPasses(a, b, c, x, 3);
    } else {
        runPasses(a, b, c, x, std::max(passes, 1u));
    }
    state[0] ^= a;
    state[1] = b - state[1];
    state[2] += c;
}

namespace {

void compressBlocks(TigerState& state, const std::uint8_t* blocks, std::size_t count,
                    std::uint32_t passes) {
    for (; count > 0; --count, blocks += kBlockSize) {
        TigerCompress(blocks, state, passes);
    }
}

void absorb(TigerContext& context, const std::uint8_t* bytes, std::size_t length,
            std::uint32_t passes) {
    context.BufferFill = static_cast<std::uint32_t>(
        AbsorbBlocks(context.Buffer, context.BufferFill, bytes, length,
                     [&](const std::uint8_t* blocks, std::size_t count) {
                         compressBlocks(context.State, blocks, count, passes);
                         context.BitCount += count * kBlockSize * 8;
                     }));
}

void closeMessage(TigerContext& context, std::uint32_t passes) {
    context.BitCount += std::uint64_t{8} * context.BufferFill;
    PadLittleEndian(context.Buffer, context.BufferFill, 0x01, context.BitCount,
                    [&](const std::uint8_t* blocks, std::size_t count) {
                        compressBlocks(context.State, blocks, count, passes);
                    });
}

constexpr std::uint32_t kStandardPasses = 3;

}  // namespace

void TigerInit(TigerContext& context) {
    context.State = kInitialState;
    context.BitCount = 0;
    context.BufferFill = 0;
}

void TigerUpdate(TigerContext& context, const std::uint8_t* bytes, std::uint32_t length,
                 std::uint32_t passes) {
    absorb(context, bytes, length, passes);
}

std::string TigerFinal(TigerContext& context, std::uint32_t bits, std::uint32_t passes) {
    closeMessage(context, passes);
    // The paper prints each word as a 64-bit number: big-endian bytes, then cut to size.
    std::array<std::uint8_t, sizeof(TigerState)> bytes;
    for (std::size_t index = 0; index < context.State.size(); ++index) {
        StoreBe64(bytes.data() + 8 * index, context.State[index]);
    }
    const std::size_t kept = std::min<std::size_t>(bits / 8, bytes.size());
    std::string digest;
    for (std::size_t index = 0; index < kept; ++index) {
        digest += HexDigits(2, bytes[index]);
    }
    return digest;
}

TigerLittleEndian::TigerLittleEndian() {
    TigerInit(m_context);
}

void TigerLittleEndian::update(std::span<const std::uint8_t> bytes) {
    absorb(m_context, bytes.data(), bytes.size(), kStandardPasses);
}

void TigerLittleEndian::finish(std::span<std::uint8_t, kDigestSize> digest) {
    closeMessage(m_context, kStandardPasses);
    for (std::size_t index = 0; index < m_context.State.size(); ++index) {
        StoreLe64(digest.data() + 8 * index, m_context.State[index]);
    }
}

}  // namespace tolvek::engine
