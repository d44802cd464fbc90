// GOST R 34.11-94 with the test parameter set S-boxes (RFC 4357 section 11.2), 256-bit digest.
#pragma once

#include <array>
#include <cstdint>
#include <string>

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

}  // namespace tolvek::engine
