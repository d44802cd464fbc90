// CRC-32 for the hash engine in two forms: hash type 261, the standard reflected CRC-32, and hash
// type 260, CRC-32 computed most-significant bit first (the CRC-32/BZIP2 model).
#pragma once

#include <cstdint>
#include <string>

namespace tolvek::engine {

using Crc32Register = std::uint32_t;

void Crc32Init(Crc32Register& crc);
// Reflected byte steps (type 261).
void Crc32Update(Crc32Register& crc, const std::uint8_t* bytes, std::uint32_t length);
// MSB-first byte steps (type 260).
void Crc32UpdateMsbFirst(Crc32Register& crc, const std::uint8_t* bytes, std::uint32_t length);
// The complemented register printed least significant byte first, for both types: CRC-32 of
// "123456789" (0xCBF43926) reads "2639f4cb". The register keeps the printed value.
std::string Crc32Final(Crc32Register& crc);

}  // namespace tolvek::engine
