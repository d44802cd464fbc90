// GOST R 34.11-94, 256-bit digest: for the hash engine with the test parameter set S-boxes
// (RFC 4357 section 11.2), and as a streaming hash with the CryptoPro parameter set's.
#pragma once

#include <array>
#include <cstdint>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tolvek::engine {

// State block of one GOST computation; GostInit sets every field. 256-bit numbers are held as
// eight 32-bit words, word 0 least significant.
struct GostContext {
    std::array<std::uint32_t, 8> Sum;     // control sum of the message blocks, modulo 2^256
    std::array<std::uint32_t, 8> Hash;    // chaining value
    std::array<std::uint32_t, 8> Length;  // message bits
    std::array<std::uint8_t, 32> Partial;
    std::uint32_t PartialBytes;  // 0..32; a full Partial waits for the next update or the final
};

void GostInit(GostContext& context);
void GostUpdate(GostContext& context, const std::uint8_t* bytes, std::uint32_t length);
// 64 lower-case hex digits: the chaining words in order, each least significant byte first.
std::string GostFinal(GostContext& context);

// The same hash with the CryptoPro S-boxes; the digest is the chaining words in order, each
// least significant byte first, as the engine's text shows them.
class GostCryptoPro {
public:
    static constexpr std::size_t kDigestSize = 32;
    // The published CryptoPro-parameter digest of "abc", as rhash --gost94-cryptopro gives it.
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest =
        "b285056dbf18d7392d7677369524dd14747459ed8143997e163b2986f92fd42c";

    GostCryptoPro();
    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    GostContext m_context;
};

}  // namespace tolvek::engine
