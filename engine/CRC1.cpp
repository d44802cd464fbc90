#include "engine/CRC1.h"

#include "engine/CrcKernels.h"
#include "engine/EngineUtils.h"

namespace tolvek::engine {

void Crc32Init(Crc32Register& crc) {
    crc = 0xFFFFFFFF;
}

void Crc32Update(Crc32Register& crc, const std::uint8_t* bytes, std::uint32_t length) {
    crc = CrcUpdate(kCrc32Tables, crc, bytes, length);
}

void Crc32UpdateMsbFirst(Crc32Register& crc, const std::uint8_t* bytes, std::uint32_t length) {
    crc = CrcUpdate(kCrc32MsbFirstTables, crc, bytes, length);
}

std::string Crc32Final(Crc32Register& crc) {
    crc = ~ByteSwap32(crc);
    return HexDigits(8, crc);
}

}  // namespace tolvek::engine
