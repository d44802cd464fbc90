// BLAKE2sp's eight and BLAKE2bp's four leaves side by side, one per lane of a 256-bit register:
// whole-byte rotations are one byte shuffle, the others two shifts and an or. Built with -mavx2;
// run only when the CPU has it.
#include "engine/Backends.h"
#include "engine/Blake2Lanes.h"
#include "engine/EngineUtils.h"
#include "engine/ShaConstants.h"

namespace tolvek::engine::blake2 {

void CompressLeavesAvx2(std::array<std::array<std::uint32_t, 8>*, 8> states,
                        std::array<const std::uint8_t*, 8> blocks, std::size_t blockCount,
                        std::size_t stride, std::uint64_t counter) {
    CompressLanes<std::uint32_t, 8>(states, blocks, blockCount, stride, counter,
                                    kSha256InitialValues, LoadLe32);
}

void CompressLeavesAvx2(std::array<std::array<std::uint64_t, 8>*, 4> states,
                        std::array<const std::uint8_t*, 4> blocks, std::size_t blockCount,
                        std::size_t stride, std::uint64_t counter) {
    CompressLanes<std::uint64_t, 4>(states, blocks, blockCount, stride, counter,
                                    kSha512InitialValues, LoadLe64);
}

}  // namespace tolvek::engine::blake2
