#include "engine/MD.h"

#include <algorithm>

#include "engine/BlockBuffer.h"
#include "engine/EngineUtils.h"
#include "engine/Md2Sbox.h"
#include "engine/Md5Tables.h"
#include "engine/Unroll.h"

namespace tolvek::engine {

namespace {

constexpr std::size_t kMd2BlockSize = 16;
constexpr std::size_t kMd2Rounds = 18;

// RFC 1319, section 3.4: 18 rounds over the 48-byte working array. Every S-box lookup waits for
// the previous one, so this chain is MD2's whole cost. The bytes are worked on as 32-bit words
// to keep zero extensions off it (the byte table keeps the lookup's address unscaled), and each
// round reads one copy and writes the other so that the compiler cannot turn a step into a
// read-modify-write of memory followed by a reload.
[[gnu::flatten]] void md2Compress(std::array<std::uint8_t, 48>& work) {
    std::array<std::array<std::uint32_t, 48>, 2> copies;
    std::copy(work.begin(), work.end(), copies[0].begin());
    std::uint32_t previous = 0;
    Unroll<kMd2Rounds>([&](auto round) {
        const std::array<std::uint32_t, 48>& from = copies[round % 2];
        std::array<std::uint32_t, 48>& to = copies[(round + 1) % 2];
        for (std::size_t index = 0; index < from.size(); ++index) {
            previous = kMd2Sbox[previous] ^ from[index];
            to[index] = previous;
        }
        previous = (previous + round) & 0xFF;
    });
    std::copy(copies[kMd2Rounds % 2].begin(), copies[kMd2Rounds % 2].end(), work.begin());
}

// The state words as bytes, least significant byte of A first, in hex.
std::string littleEndianHex(const std::array<std::uint32_t, 4>& words) {
    std::string text;
    text.reserve(words.size() * 8);
    for (const std::uint32_t word : words) {
        for (unsigned shift = 0; shift < 32; shift += 8) {
            text += HexDigits(2, word >> shift);
        }
    }
    return text;
}

// The working variables of step `Step`: each step updates the one its predecessor read as d.
template <std::size_t Step>
struct MdRegisters {
    static constexpr std::size_t a = (4 - Step % 4) % 4;
    static constexpr std::size_t b = (a + 1) % 4;
    static constexpr std::size_t c = (a + 2) % 4;
    static constexpr std::size_t d = (a + 3) % 4;
};

// Runs `steps(working, block)` on a copy of the chaining words for each block and adds the
// result back, as MD4 and MD5 both end a block.
template <class Steps>
[[gnu::flatten]] void forEachBlock(std::array<std::uint32_t, 4>& state, const std::uint8_t* blocks,
                                   std::size_t blockCount, Steps steps) {
    for (; blockCount != 0; --blockCount, blocks += 64) {
        std::array<std::uint32_t, 4> working = state;
        steps(working, blocks);
        for (std::size_t word = 0; word < 4; ++word) {
            state[word] += working[word];
        }
    }
}

std::uint32_t messageWord(const std::uint8_t* block, std::size_t index) {
    return LoadLe32(block + 4 * index);
}

// RFC 1320, section 3.4: round 2 takes the words column by column, round 3 in bit-reversed order.
constexpr std::size_t md4WordIndex(std::size_t step) {
    const std::size_t inRound = step % 16;
    switch (step / 16) {
        case 0:
            return inRound;
        case 1:
            return inRound % 4 * 4 + inRound / 4;
        default:
            return (inRound & 1) << 3 | (inRound & 2) << 1 | (inRound & 4) >> 1 |
                   (inRound & 8) >> 3;
    }
}

constexpr std::array<std::array<unsigned, 4>, 3> kMd4Shifts = {{
    {3, 7, 11, 19},
    {3, 5, 9, 13},
    {3, 9, 11, 15},
}};

constexpr std::uint32_t kMd4Round2Constant = 0x5A827999;
constexpr std::uint32_t kMd4Round3Constant = 0x6ED9EBA1;

}  // namespace

void Md2Init(Md2Context& context) {
    std::fill_n(context.Work.begin(), kMd2BlockSize, std::uint8_t{0});
    context.Checksum.fill(0);
    context.BufferFill = 0;
    context.LastChecksumByte = 0;
}

void Md2AddByte(Md2Context& context, std::uint8_t byte) {
    const std::size_t index = context.BufferFill;
    context.Work[kMd2BlockSize + index] = byte;
    context.Work[2 * kMd2BlockSize + index] = byte ^ context.Work[index];
    // XORed in as RFC 1319's reference code does (errata of its section 3.2 text).
    context.Checksum[index] ^= kMd2Sbox[byte ^ context.LastChecksumByte];
    context.LastChecksumByte = context.Checksum[index];
    context.BufferFill = static_cast<std::uint8_t>((index + 1) % kMd2BlockSize);
    if (context.BufferFill == 0) {
        md2Compress(context.Work);
    }
}

void Md2Update(Md2Context& context, const std::uint8_t* bytes, std::uint32_t length) {
    for (std::uint32_t index = 0; index < length; ++index) {
        Md2AddByte(context, bytes[index]);
    }
}

std::string Md2Final(Md2Context& context) {
    const auto padding = static_cast<std::uint8_t>(kMd2BlockSize - context.BufferFill);
    for (std::uint8_t count = 0; count < padding; ++count) {
        Md2AddByte(context, padding);
    }
    const std::array<std::uint8_t, 16> checksum = context.Checksum;
    for (const std::uint8_t byte : checksum) {
        Md2AddByte(context, byte);
    }
    std::string text;
    for (std::size_t index = 0; index < kMd2BlockSize; ++index) {
        text += HexDigits(2, context.Work[index]);
    }
    return text;
}

void Md4Transform(std::array<std::uint32_t, 4>& state, const std::uint8_t* blocks,
                  std::size_t blockCount) {
    forEachBlock(state, blocks, blockCount, [](auto& v, const std::uint8_t* block) {
        Unroll<48>([&](auto step) {
            using R = MdRegisters<step>;
            const std::uint32_t b = v[R::b];
            const std::uint32_t c = v[R::c];
            const std::uint32_t d = v[R::d];
            std::uint32_t sum = v[R::a] + messageWord(block, md4WordIndex(step));
            if constexpr (step < 16) {
                sum += d ^ (b & (c ^ d));
            } else if constexpr (step < 32) {
                // Majority as two disjoint halves, so the half without b is added early.
                sum += kMd4Round2Constant + (c & d);
                sum += b & (c ^ d);
            } else {
                sum += kMd4Round3Constant;
                sum += b ^ (c ^ d);
            }
            v[R::a] = RotL32(sum, kMd4Shifts[step / 16][step % 4]);
        });
    });
}

void Md5Transform(std::array<std::uint32_t, 4>& state, const std::uint8_t* blocks,
                  std::size_t blockCount) {
    forEachBlock(state, blocks, blockCount, [](auto& v, const std::uint8_t* block) {
        Unroll<64>([&](auto step) {
            using R = MdRegisters<step>;
            const std::uint32_t b = v[R::b];
            const std::uint32_t c = v[R::c];
            const std::uint32_t d = v[R::d];
            std::uint32_t sum =
                v[R::a] + messageWord(block, Md5WordIndex(step)) + kMd5SineConstants[step];
            if constexpr (step < 16) {
                sum += d ^ (b & (c ^ d));
            } else if constexpr (step < 32) {
                // (b AND d) OR (c AND NOT d) as two disjoint halves, the one without b first.
                sum += c & ~d;
                sum += b & d;
            } else if constexpr (step < 48) {
                sum += b ^ (c ^ d);
            } else {
                sum += c ^ (b | ~d);
            }
            v[R::a] = b + RotL32(sum, kMd5Shifts[step / 16][step % 4]);
        });
    });
}

void MdInit(MdContext& context) {
    context.State = kMdInitialValues;
    context.BitCount = {0, 0};
}

void MdUpdate(MdContext& context, const std::uint8_t* bytes, std::uint32_t length,
              MdBlockTransform transform) {
    const std::size_t fill = context.BitCount[0] / 8 % 64;
    const std::uint32_t low = context.BitCount[0] + (length << 3);
    if (low < context.BitCount[0]) {
        ++context.BitCount[1];
    }
    context.BitCount[0] = low;
    context.BitCount[1] += length >> 29;
    AbsorbBlocks(context.Buffer, fill, bytes, length,
                 [&](const std::uint8_t* blocks, std::size_t blockCount) {
                     transform(context.State, blocks, blockCount);
                 });
}

void MdPad(MdContext& context, MdBlockTransform transform) {
    std::array<std::uint8_t, 8> bitCount;
    StoreLe32(bitCount.data(), context.BitCount[0]);
    StoreLe32(bitCount.data() + 4, context.BitCount[1]);
    static constexpr std::array<std::uint8_t, 64> kPadding = {0x80};
    const std::uint32_t fill = context.BitCount[0] / 8 % 64;
    MdUpdate(context, kPadding.data(), fill < 56 ? 56 - fill : 120 - fill, transform);
    MdUpdate(context, bitCount.data(), static_cast<std::uint32_t>(bitCount.size()), transform);
}

std::string MdFinal(MdContext& context, MdBlockTransform transform) {
    MdPad(context, transform);
    return littleEndianHex(context.State);
}

Md4Stream::Md4Stream() { MdInit(m_context); }

void Md4Stream::update(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kLargestPiece = std::size_t{1} << 30;
    for (; !bytes.empty(); bytes = bytes.subspan(std::min(bytes.size(), kLargestPiece))) {
        const std::size_t piece = std::min(bytes.size(), kLargestPiece);
        MdUpdate(m_context, bytes.data(), static_cast<std::uint32_t>(piece), Md4Transform);
    }
}

void Md4Stream::finish(std::span<std::uint8_t, kDigestSize> digest) {
    MdPad(m_context, Md4Transform);
    for (std::size_t index = 0; index < m_context.State.size(); ++index) {
        StoreLe32(digest.data() + 4 * index, m_context.State[index]);
    }
}

}  // namespace tolvek::engine
