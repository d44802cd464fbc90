#include "engine/SHA.h"

#include <algorithm>

#include "engine/Backends.h"
#include "engine/EngineUtils.h"
#include "engine/ShaBuffering.h"
#include "engine/ShaConstants.h"
#include "engine/ShaRounds.h"
#include "engine/Unroll.h"

namespace tolvek::engine {

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

template <class Word, std::size_t Size>
std::string wordsHex(const std::array<Word, Size>& state, std::size_t wordCount) {
    std::string text;
    text.reserve(wordCount * 2 * sizeof(Word));
    for (std::size_t index = 0; index < wordCount; ++index) {
        text += HexDigits(2 * sizeof(Word), state[index]);
    }
    return text;
}

// FIPS 180-4, section 5.3.2.
constexpr std::array<std::uint32_t, 8> kSha224InitialValues = {
    0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939, 0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};

using Sha32Compress = void (*)(std::array<std::uint32_t, 8>&, const std::uint8_t*, std::size_t);

Sha32Compress sha32Compress(std::uint16_t variant) {
    return variant == kShaVariant256 ? Sha256Compress : Sha1Compress;
}

}  // namespace

void Sha1Init(ShaContext& context) {
    sha::Start(context, kSha1InitialValues);
}

void Sha256Init(ShaContext& context) {
    sha::Start(context, kSha256InitialValues);
}

void Sha384Init(Sha512Context& context) {
    sha::Start(context, kSha384InitialValues);
}

void Sha512Init(Sha512Context& context) {
    sha::Start(context, kSha512InitialValues);
}

void ShaUpdate32(ShaContext& context, const std::uint8_t* bytes, std::uint16_t variant,
                 std::int64_t length) {
    sha::Absorb(context, bytes, length, sha32Compress(variant));
}

void ShaUpdate64(Sha512Context& context, const std::uint8_t* bytes, std::int64_t length) {
    sha::Absorb(context, bytes, length, Sha512Compress);
}

std::string ShaFinal32(ShaContext& context, std::uint16_t variant) {
    sha::Pad(context, sha32Compress(variant));
    return wordsHex(context.State, variant == kShaVariant256 ? 8 : 5);
}

std::string ShaFinal64(Sha512Context& context, std::uint16_t variant) {
    sha::Pad(context, Sha512Compress);
    return wordsHex(context.State, variant == kShaVariant384 ? 6 : 8);
}

template <ShaStreamKind Kind>
auto ShaStream<Kind>::compress() {
    if constexpr (Kind == ShaStreamKind::Sha1) {
        return Sha1Compress;
    } else if constexpr (Kind == ShaStreamKind::Sha512_256) {
        return Sha512Compress;
    } else {
        return Sha256Compress;
    }
}

template <ShaStreamKind Kind>
ShaStream<Kind>::ShaStream() {
    if constexpr (Kind == ShaStreamKind::Sha1) {
        sha::Start(m_context, kSha1InitialValues);
    } else if constexpr (Kind == ShaStreamKind::Sha224) {
        sha::Start(m_context, kSha224InitialValues);
    } else if constexpr (Kind == ShaStreamKind::Sha256) {
        sha::Start(m_context, kSha256InitialValues);
    } else {
        sha::Start(m_context, kSha512_256InitialValues);
    }
}

template <ShaStreamKind Kind>
void ShaStream<Kind>::update(std::span<const std::uint8_t> bytes) {
    sha::Absorb(m_context, bytes.data(), static_cast<std::int64_t>(bytes.size()), compress());
}

template <ShaStreamKind Kind>
void ShaStream<Kind>::finish(std::span<std::uint8_t, kDigestSize> digest) {
    sha::Pad(m_context, compress());
    sha::StoreLeadingBytes(m_context.State, digest);
}

template class ShaStream<ShaStreamKind::Sha1>;
template class ShaStream<ShaStreamKind::Sha224>;
template class ShaStream<ShaStreamKind::Sha256>;
template class ShaStream<ShaStreamKind::Sha512_256>;

}  // namespace tolvek::engine
