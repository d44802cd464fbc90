// Adler-32 (RFC 1950) for the hash engine, hash type 262.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tolvek::engine {

// s1 in the low 16 bits, s2 in the high 16 bits, each below 65521.
using Adler32State = std::uint32_t;

void Adler32Init(Adler32State& state);
void Adler32Update(Adler32State& state, const std::uint8_t* bytes, std::uint32_t length);
// Eight hex digits of the state, s2 first.
std::string Adler32Final(Adler32State& state);

}  // namespace tolvek::engine
