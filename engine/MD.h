// MD2 (RFC 1319), MD4 (RFC 1320) and MD5 (RFC 1321) for the hash engine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tolvek::engine {

// State block of MD2.
struct Md2Context {
    // Bytes 0-15 chaining state (the digest at the end), 16-31 the current message block,
    // 32-47 state XOR block: the 48-byte working array of RFC 1319.
    std::array<std::uint8_t, 48> Work;
    std::array<std::uint8_t, 16> Checksum;
    std::uint8_t BufferFill;        // bytes of the current block received so far, 0..15
    std::uint8_t LastChecksumByte;  // the checksum byte computed last (RFC 1319's L)
};

void Md2Init(Md2Context& context);
void Md2Update(Md2Context& context, const std::uint8_t* bytes, std::uint32_t length);
// One byte of MD2's message processing, with a compression after every 16th byte.
void Md2AddByte(Md2Context& context, std::uint8_t byte);
// Pads, appends the checksum and gives the digest as 32 lower-case hex digits.
std::string Md2Final(Md2Context& context);

// State block shared by MD4 and MD5.
struct MdContext {
    std::array<std::uint32_t, 4> State;     // chaining words A, B, C, D
    std::array<std::uint32_t, 2> BitCount;  // message bits, low word first; wraps modulo 2^64
    std::array<std::uint8_t, 64> Buffer;    // the incomplete block, (BitCount[0] / 8) mod 64 bytes
};

// Compresses `blockCount` consecutive 64-byte blocks into the chaining words.
using MdBlockTransform = void (*)(std::array<std::uint32_t, 4>& state, const std::uint8_t* blocks,
                                  std::size_t blockCount);

void Md4Transform(std::array<std::uint32_t, 4>& state, const std::uint8_t* blocks,
                  std::size_t blockCount);
void Md5Transform(std::array<std::uint32_t, 4>& state, const std::uint8_t* blocks,
                  std::size_t blockCount);

void MdInit(MdContext& context);
// A computation passes the same transform to every update and to the final.
void MdUpdate(MdContext& context, const std::uint8_t* bytes, std::uint32_t length,
              MdBlockTransform transform);
// Pads and appends the bit count: State then holds the digest's words.
void MdPad(MdContext& context, MdBlockTransform transform);
// Pads, appends the bit count and gives the digest as 32 lower-case hex digits.
std::string MdFinal(MdContext& context, MdBlockTransform transform);

// MD4 as a streaming hash, for the digests built from MD4s of a message's pieces.
class Md4Stream {
public:
    static constexpr std::size_t kDigestSize = 16;
    // RFC 1320, appendix A.5.
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest = "a448017aaf21d8525fc10ae87aa6729d";

    Md4Stream();
    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    MdContext m_context;
};

}  // namespace tolvek::engine
