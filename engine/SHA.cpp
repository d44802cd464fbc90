#include "engine/SHA.h"

#include <algorithm>

#include "engine/Backends.h"
#include "engine/BlockBuffer.h"
#include "engine/EngineUtils.h"
#include "engine/ShaConstants.h"
#include "engine/ShaRounds.h"
#include "engine/Unroll.h"

namespace tolvek::engine {

namespace {

// FIPS 180-4, section 4.2.1.
constexpr std::array<std::uint32_t, 4> kSha1RoundConstants = {0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC,
                                                              0xCA62C1D6};

}  // namespace

// FIPS 180-4, section 6.1.2, with the 16-word rolling schedule of its section 6.1.3.
[[gnu::flatten]] void Sha1CompressPortable(Sha32State& state, const std::uint8_t* blocks,
                                           std::size_t blockCount) {
    for (; blockCount != 0; --blockCount, blocks += 64) {
        std::array<std::uint32_t, 16> w;
        std::array<std::uint32_t, 5> v = {state[0], state[1], state[2], state[3], state[4]};
        Unroll<80>([&](auto t) {
            std::uint32_t word;
            if constexpr (t < 16) {
                word = w[t] = LoadBe32(blocks + 4 * t);
            } else {
                word = w[t % 16] =
                    RotL32(w[(t - 3) % 16] ^ w[(t - 8) % 16] ^ w[(t - 14) % 16] ^ w[t % 16], 1);
            }
            // Round t renames the variables instead of moving them: a is v[(5 - t mod 5) mod 5].
            constexpr std::size_t a = (5 - t % 5) % 5;
            std::uint32_t& b = v[(a + 1) % 5];
            const std::uint32_t c = v[(a + 2) % 5];
            const std::uint32_t d = v[(a + 3) % 5];
            std::uint32_t& e = v[(a + 4) % 5];
            e += RotL32(v[a], 5) + kSha1RoundConstants[t / 20] + word;
            if constexpr (t < 20) {
                e += d ^ (b & (c ^ d));
            } else if constexpr (t >= 40 && t < 60) {
                // Majority as two disjoint halves.
                e += c & d;
                e += b & (c ^ d);
            } else {
                e += b ^ c ^ d;
            }
            b = RotL32(b, 30);
        });
        for (std::size_t index = 0; index < v.size(); ++index) {
            state[index] += v[index];
        }
    }
}

void Sha256CompressPortable(Sha32State& state, const std::uint8_t* blocks, std::size_t blockCount) {
    sha2::compressPortable(state, blocks, blockCount, kSha256RoundConstants);
}

void Sha512CompressPortable(Sha64State& state, const std::uint8_t* blocks, std::size_t blockCount) {
    sha2::compressPortable(state, blocks, blockCount, kSha512RoundConstants);
}

namespace {

// The bytes of a partial block wait in the context's buffer; whole blocks are compressed from
// the caller's memory, and each compressed block counts into BitCount.
template <class Context, class Compress>
void absorb(Context& context, const std::uint8_t* bytes, std::int64_t length, Compress compress) {
    if (length <= 0) {
        return;
    }
    constexpr std::uint64_t kBlockBits = 8 * sizeof context.Buffer;
    context.BufferFill =
        AbsorbBlocks(context.Buffer, context.BufferFill, bytes, static_cast<std::size_t>(length),
                     [&](const std::uint8_t* blocks, std::size_t blockCount) {
                         compress(context.State, blocks, blockCount);
                         context.BitCount += blockCount * kBlockBits;
                     });
}

// FIPS 180-4, section 5.1: 0x80, zeros, and the message length in bits, big-endian, in the last
// eighth of the block (of whose 16-byte field in SHA-384/512 only the low 8 bytes can be set).
template <class Context, class Compress>
void pad(Context& context, Compress compress) {
    constexpr std::size_t kBlockSize = sizeof context.Buffer;
    constexpr std::size_t kLengthAt = kBlockSize - kBlockSize / 8;
    context.BitCount += 8 * context.BufferFill;
    auto fill = static_cast<std::size_t>(context.BufferFill);
    context.Buffer[fill++] = 0x80;
    if (fill > kLengthAt) {
        std::fill(context.Buffer.begin() + fill, context.Buffer.end(), std::uint8_t{0});
        compress(context.State, context.Buffer.data(), 1);
        fill = 0;
    }
    std::fill(context.Buffer.begin() + fill, context.Buffer.end() - 8, std::uint8_t{0});
    StoreBe64(context.Buffer.data() + kBlockSize - 8, context.BitCount);
    compress(context.State, context.Buffer.data(), 1);
    context.BufferFill = 0;
}

template <class Word, std::size_t Size>
std::string wordsHex(const std::array<Word, Size>& state, std::size_t wordCount) {
    std::string text;
    text.reserve(wordCount * 2 * sizeof(Word));
    for (std::size_t index = 0; index < wordCount; ++index) {
        text += HexDigits(2 * sizeof(Word), state[index]);
    }
    return text;
}

// Sets the initial hash value (the words past its size stay unread) and empties the message.
template <class Context, class Word, std::size_t Size>
void start(Context& context, const std::array<Word, Size>& initialValues) {
    std::copy(initialValues.begin(), initialValues.end(), context.State.begin());
    context.BitCount = 0;
    context.BufferFill = 0;
}

// FIPS 180-4, sections 5.3.2 and 5.3.6.2.
constexpr std::array<std::uint32_t, 8> kSha224InitialValues = {
    0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939, 0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};
constexpr std::array<std::uint64_t, 8> kSha512_256InitialValues = {
    0x22312194fc2bf72c, 0x9f555fa3c84c64c2, 0x2393b86b6f53b151, 0x963877195940eabd,
    0x96283ee2a88effe3, 0xbe5e1e2553863992, 0x2b0199fc2c85b8aa, 0x0eb72ddc81c52ca2};

// The leading digest.size() bytes of the chaining words written big-endian.
template <class Word, std::size_t Size>
void storeLeadingBytes(const std::array<Word, Size>& state, std::span<std::uint8_t> digest) {
    std::array<std::uint8_t, Size * sizeof(Word)> bytes;
    for (std::size_t index = 0; index < Size; ++index) {
        if constexpr (sizeof(Word) == 4) {
            StoreBe32(bytes.data() + 4 * index, state[index]);
        } else {
            StoreBe64(bytes.data() + 8 * index, state[index]);
        }
    }
    std::copy_n(bytes.begin(), digest.size(), digest.begin());
}

using Sha32Compress = void (*)(std::array<std::uint32_t, 8>&, const std::uint8_t*, std::size_t);

Sha32Compress sha32Compress(std::uint16_t variant) {
    return variant == kShaVariant256 ? Sha256Compress : Sha1Compress;
}

}  // namespace

void Sha1Init(ShaContext& context) {
    start(context, kSha1InitialValues);
}

void Sha256Init(ShaContext& context) {
    start(context, kSha256InitialValues);
}

void Sha384Init(Sha512Context& context) {
    start(context, kSha384InitialValues);
}

void Sha512Init(Sha512Context& context) {
    start(context, kSha512InitialValues);
}

void ShaUpdate32(ShaContext& context, const std::uint8_t* bytes, std::uint16_t variant,
                 std::int64_t length) {
    absorb(context, bytes, length, sha32Compress(variant));
}

void ShaUpdate64(Sha512Context& context, const std::uint8_t* bytes, std::int64_t length) {
    absorb(context, bytes, length, Sha512Compress);
}

std::string ShaFinal32(ShaContext& context, std::uint16_t variant) {
    pad(context, sha32Compress(variant));
    return wordsHex(context.State, variant == kShaVariant256 ? 8 : 5);
}

std::string ShaFinal64(Sha512Context& context, std::uint16_t variant) {
    pad(context, Sha512Compress);
    return wordsHex(context.State, variant == kShaVariant384 ? 6 : 8);
}

Sha224::Sha224() {
    start(m_context, kSha224InitialValues);
}

void Sha224::update(std::span<const std::uint8_t> bytes) {
    absorb(m_context, bytes.data(), static_cast<std::int64_t>(bytes.size()), Sha256Compress);
}

void Sha224::finish(std::span<std::uint8_t, kDigestSize> digest) {
    pad(m_context, Sha256Compress);
    storeLeadingBytes(m_context.State, digest);
}

Sha512_256::Sha512_256() {
    start(m_context, kSha512_256InitialValues);
}

void Sha512_256::update(std::span<const std::uint8_t> bytes) {
    absorb(m_context, bytes.data(), static_cast<std::int64_t>(bytes.size()), Sha512Compress);
}

void Sha512_256::finish(std::span<std::uint8_t, kDigestSize> digest) {
    pad(m_context, Sha512Compress);
    storeLeadingBytes(m_context.State, digest);
}

}  // namespace tolvek::engine
