#include "engine/CrcKernels.h"

#include "engine/Backends.h"
#include "engine/EngineUtils.h"

namespace tolvek::engine {

namespace {

std::uint32_t updateReflected(const CrcTables::Slices& table, std::uint32_t crc,
                              const std::uint8_t* bytes, std::size_t length) {
    for (; length >= 8; bytes += 8, length -= 8) {
        const std::uint32_t first = LoadLe32(bytes) ^ crc;
        const std::uint32_t second = LoadLe32(bytes + 4);
        crc = table[7][first & 0xFF] ^ table[6][(first >> 8) & 0xFF] ^
              table[5][(first >> 16) & 0xFF] ^ table[4][first >> 24] ^ table[3][second & 0xFF] ^
              table[2][(second >> 8) & 0xFF] ^ table[1][(second >> 16) & 0xFF] ^
              table[0][second >> 24];
    }
    for (; length > 0; ++bytes, --length) {
        crc = (crc >> 8) ^ table[0][(crc ^ *bytes) & 0xFF];
    }
    return crc;
}

std::uint32_t updateMsbFirst(const CrcTables::Slices& table, std::uint32_t crc,
                             const std::uint8_t* bytes, std::size_t length) {
    for (; length >= 8; bytes += 8, length -= 8) {
        const std::uint32_t first = LoadBe32(bytes) ^ crc;
        const std::uint32_t second = LoadBe32(bytes + 4);
        crc = table[7][first >> 24] ^ table[6][(first >> 16) & 0xFF] ^
              table[5][(first >> 8) & 0xFF] ^ table[4][first & 0xFF] ^ table[3][second >> 24] ^
              table[2][(second >> 16) & 0xFF] ^ table[1][(second >> 8) & 0xFF] ^
              table[0][second & 0xFF];
    }
    for (; length > 0; ++bytes, --length) {
        crc = (crc << 8) ^ table[0][(crc >> 24) ^ *bytes];
    }
    return crc;
}

}  // namespace

std::uint32_t CrcUpdatePortable(const CrcTables& tables, std::uint32_t crc,
                                const std::uint8_t* bytes, std::size_t length) {
    return tables.reflected ? updateReflected(tables.slices, crc, bytes, length)
                            : updateMsbFirst(tables.slices, crc, bytes, length);
}

std::uint64_t CrcUpdatePortable(const Crc64Tables& tables, std::uint64_t crc,
                                const std::uint8_t* bytes, std::size_t length) {
    const Crc64Tables::Slices& table = tables.slices;
    for (; length >= 8; bytes += 8, length -= 8) {
        const std::uint64_t word = LoadLe64(bytes) ^ crc;
        crc = table[7][word & 0xFF] ^ table[6][(word >> 8) & 0xFF] ^ table[5][(word >> 16) & 0xFF] ^
              table[4][(word >> 24) & 0xFF] ^ table[3][(word >> 32) & 0xFF] ^
              table[2][(word >> 40) & 0xFF] ^ table[1][(word >> 48) & 0xFF] ^ table[0][word >> 56];
    }
    for (; length > 0; ++bytes, --length) {
        crc = (crc >> 8) ^ table[0][(crc ^ *bytes) & 0xFF];
    }
    return crc;
}

}  // namespace tolvek::engine
