// SHA-1, SHA-256, SHA-384 and SHA-512 (FIPS 180-4) for the hash engine, and SHA-224 and
// SHA-512/256 as streaming hashes over the same compressions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <string>
#include <type_traits>

namespace tolvek::engine {

// State block shared by SHA-1 and SHA-256.
struct ShaContext {
    std::array<std::uint32_t, 8> State;  // H0..H7; SHA-1 uses H0..H4
    std::uint64_t BitCount;              // bits of the blocks compressed so far
    std::uint64_t BufferFill;            // bytes waiting in Buffer, 0..63
    std::array<std::uint8_t, 64> Buffer;
};

// State block shared by SHA-384 and SHA-512.
struct Sha512Context {
    std::array<std::uint64_t, 8> State;
    std::uint64_t BitCount;    // bits of the blocks compressed so far
    std::uint64_t BufferFill;  // bytes waiting in Buffer, 0..127
    std::array<std::uint8_t, 128> Buffer;
};

// Variant numbers: ShaUpdate32/ShaFinal32 compute SHA-256 for 256 and SHA-1 for any other
// value; ShaFinal64 gives SHA-384 output for 384 and SHA-512 output for any other value.
inline constexpr std::uint16_t kShaVariant1 = 1;
inline constexpr std::uint16_t kShaVariant256 = 256;
inline constexpr std::uint16_t kShaVariant384 = 384;
inline constexpr std::uint16_t kShaVariant512 = 512;

void Sha1Init(ShaContext& context);
void Sha256Init(ShaContext& context);
void Sha384Init(Sha512Context& context);
void Sha512Init(Sha512Context& context);

// A length of 0 or below does nothing.
void ShaUpdate32(ShaContext& context, const std::uint8_t* bytes, std::uint16_t variant,
                 std::int64_t length);
void ShaUpdate64(Sha512Context& context, const std::uint8_t* bytes, std::int64_t length);

// Pad, append the bit count and give H0..H4 (SHA-1), H0..H7 (SHA-256), H0..H5 (SHA-384) or
// H0..H7 (SHA-512) in hex, H0 first.
std::string ShaFinal32(ShaContext& context, std::uint16_t variant);
std::string ShaFinal64(Sha512Context& context, std::uint16_t variant);

// FIPS 180-4, section 4.2.1: one constant for each twenty rounds of SHA-1.
inline constexpr std::array<std::uint32_t, 4> kSha1RoundConstants = {0x5A827999, 0x6ED9EBA1,
                                                                     0x8F1BBCDC, 0xCA62C1D6};

// Compress `blockCount` consecutive blocks into the chaining words, on the fastest path the
// CPU offers.
void Sha1Compress(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                  std::size_t blockCount);
void Sha256Compress(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                    std::size_t blockCount);
void Sha512Compress(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                    std::size_t blockCount);

// SHA-1, SHA-224, SHA-256 and SHA-512/256 as streaming hashes over the same compressions; the
// digest is the leading bytes of H0.. big-endian (FIPS 180-4, sections 5.3.2 and 5.3.6.2 give
// the truncated forms their own initial hash values).
enum class ShaStreamKind { Sha1, Sha224, Sha256, Sha512_256 };

template <ShaStreamKind Kind>
class ShaStream {
public:
    static constexpr std::size_t kDigestSize = Kind == ShaStreamKind::Sha1     ? 20
                                               : Kind == ShaStreamKind::Sha224 ? 28
                                                                               : 32;
    // FIPS 180-4's examples (NIST's SHA1.pdf, SHA224.pdf, SHA256.pdf, SHA512_256.pdf).
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest =
        Kind == ShaStreamKind::Sha1 ? "a9993e364706816aba3e25717850c26c9cd0d89d"
        : Kind == ShaStreamKind::Sha224
            ? "23097d223405d8228642a477bda255b32aadbce4bda0b3f7e36c9da7"
        : Kind == ShaStreamKind::Sha256
            ? "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"
            : "53048e2681941ef99b2e29b76b4c7dabe4c2d0c634fc6d46e0e2f13107e7af23";

    ShaStream();
    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    static auto compress();

    std::conditional_t<Kind == ShaStreamKind::Sha512_256, Sha512Context, ShaContext> m_context;
};

extern template class ShaStream<ShaStreamKind::Sha1>;
extern template class ShaStream<ShaStreamKind::Sha224>;
extern template class ShaStream<ShaStreamKind::Sha256>;
extern template class ShaStream<ShaStreamKind::Sha512_256>;

using Sha1Stream = ShaStream<ShaStreamKind::Sha1>;
using Sha224 = ShaStream<ShaStreamKind::Sha224>;
using Sha256Stream = ShaStream<ShaStreamKind::Sha256>;
using Sha512_256 = ShaStream<ShaStreamKind::Sha512_256>;

}  // namespace tolvek::engine
