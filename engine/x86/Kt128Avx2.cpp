// Four KT128 leaves side by side, one per 64-bit lane of a 256-bit register. Built with -mavx2;
// run only when the CPU has it.
#include "engine/Backends.h"
#include "engine/x86/Kt128Lanes.h"

namespace tolvek::engine::kt128 {

[[gnu::flatten]] void HashLeavesAvx2(const std::uint8_t* chunks, std::size_t count,
                                     std::uint8_t* values) {
    (void)count;  // always 4
    HashLeavesInLanes<4>(chunks, values);
}

}  // namespace tolvek::engine::kt128
