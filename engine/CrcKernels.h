// One update routine for every CRC of the engine: it advances a raw 32-bit or 64-bit register
// (no initial value, no final XOR) over bytes, choosing the fastest code path the CPU allows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/CrcTables.h"

namespace tolvek::engine {

std::uint32_t CrcUpdate(const CrcTables& tables, std::uint32_t crc, const std::uint8_t* bytes,
                        std::size_t length);

std::uint64_t CrcUpdate(const Crc64Tables& tables, std::uint64_t crc, const std::uint8_t* bytes,
                        std::size_t length);

}  // namespace tolvek::engine
