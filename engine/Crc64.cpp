#include "engine/Crc64.h"

#include "engine/EngineUtils.h"

namespace tolvek::engine {

std::uint64_t Crc64XzUpdate(std::uint64_t crc, const std::uint8_t* bytes, std::size_t length) {
    const crc64_detail::Slices& table = kCrc64XzSlices;
    for (; length >= 8; bytes += 8, length -= 8) {
        const std::uint64_t word = LoadLe64(bytes) ^ crc;
        crc = table[7][word & 0xFF] ^ table[6][(word >> 8) & 0xFF] ^
              table[5][(word >> 16) & 0xFF] ^ table[4][(word >> 24) & 0xFF] ^
              table[3][(word >> 32) & 0xFF] ^ table[2][(word >> 40) & 0xFF] ^
              table[1][(word >> 48) & 0xFF] ^ table[0][word >> 56];
    }
    for (; length > 0; ++bytes, --length) {
        crc = (crc >> 8) ^ table[0][(crc ^ *bytes) & 0xFF];
    }
    return crc;
}

}  // namespace tolvek::engine
