// RIPEMD-128 and RIPEMD-160 (ISO/IEC 10118-3) over one context layout; the variant number the
// caller passes on every call (128 or 160) selects the compression function and digest length.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/BlockBuffer.h"

namespace tolvek::engine {

// State block of hash types 276 and 277. RIPEMD-128 uses State[0..3] only.
struct RipemdContext {
    std::array<std::uint32_t, 5> State;
    std::uint64_t ByteCount;  // bytes compressed so far, a multiple of 64
    std::uint32_t BufferFill;
    BlockBuffer Buffer;
};

using RipemdChain = std::array<std::uint32_t, 5>;
using RipemdBlock = std::array<std::uint32_t, 16>;

void RipemdInit128(RipemdContext& context);
void RipemdInit160(RipemdContext& context);
// `variant` 160 selects RIPEMD-160; every other value RIPEMD-128.
void RipemdUpdate(RipemdContext& context, const std::uint8_t* bytes, std::uint32_t length,
                  std::uint32_t variant);
// Lower-case hex of h0..h3 (and h4 for 160), each word least significant byte first.
std::string RipemdFinal(RipemdContext& context, std::uint32_t variant);

void RipemdCompress128(RipemdChain& chain, const RipemdBlock& block);
void RipemdCompress160(RipemdChain& chain, const RipemdBlock& block);

}  // namespace tolvek::engine
