// Eight KT128 leaves side by side, one per 64-bit lane of a 512-bit register, each rotation and
// three-way logic one instruction. Built with -mavx512f -mavx512vl; run only when the CPU has them.
#include "engine/Backends.h"
#include "engine/x86/Kt128Lanes.h"

namespace tolvek::engine::kt128 {

[[gnu::flatten]] void HashLeavesAvx512(const std::uint8_t* chunks, std::size_t count,
                                     std::uint8_t* values) {
    (void)count;  // always 8
    HashLeavesInLanes<8>(chunks, values);
}

}  // namespace tolvek::engine::kt128
