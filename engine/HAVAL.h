// HAVAL (Zheng, Pieprzyk, Seberry, AUSCRYPT'92) with 3, 4 or 5 passes and 128..256-bit output.
// The message is padded with the byte 0x80 where the published algorithm uses 0x01; digests
// stored by users rely on it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tolvek::engine {

// State block of one HAVAL computation; HavalInit sets every field.
struct HavalContext {
    std::array<std::uint32_t, 2> BitCount;  // message bits so far, low word first
    std::array<std::uint32_t, 8> Fingerprint;
    std::array<std::uint8_t, 128> Block;  // (BitCount[0] / 8) % 128 bytes are waiting here
};

void HavalInit(HavalContext& context);

// `passes` is clamped to 3..5 (as an unsigned number) here and in HavalFinal.
void HavalUpdate(HavalContext& context, const std::uint8_t* bytes, std::uint32_t length,
                 std::uint32_t passes);

// `bits` is 128, 160, 192, 224 or 256. Gives bits / 4 lower-case hex digits, the digest bytes in
// order, and clears the context.
std::string HavalFinal(HavalContext& context, std::uint32_t passes, std::uint32_t bits);

}  // namespace tolvek::engine
