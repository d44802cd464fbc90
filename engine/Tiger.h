// Tiger as first published (Anderson and Biham, 1996: padding byte 0x01, 192-bit result), with
// any number of passes; the 128- and 160-bit digests are leading parts of the 192-bit text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <string>

#include "engine/BlockBuffer.h"

namespace tolvek::engine {

using TigerState = std::array<std::uint64_t, 3>;

// State block of hash types 273 to 275. The number of passes lives in the caller's context.
struct TigerContext {
    TigerState State;        // a, b, c
    std::uint64_t BitCount;  // bits compressed so far, a multiple of 512
    std::uint32_t BufferFill;
    BlockBuffer Buffer;
};

void TigerInit(TigerContext& context);
// `passes` is the number of passes per block; 0 runs as 1.
void TigerUpdate(TigerContext& context, const std::uint8_t* bytes, std::uint32_t length,
                 std::uint32_t passes);
// Lower-case hex of a, b, c, each word most significant digit first, cut to `bits` / 4 digits
// (128, 160 or 192 bits).
std::string TigerFinal(TigerContext& context, std::uint32_t bits, std::uint32_t passes);

void TigerCompress(const std::uint8_t* block, TigerState& state, std::uint32_t passes);

// The same three-pass Tiger-192 as a streaming hash whose digest is a, b, c each written
// little-endian: the byte string the other tools print as "tiger".
class TigerLittleEndian {
public:
    static constexpr std::size_t kDigestSize = 24;
    // The Tiger authors' test results, "abc", in the byte order they print.
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest =
        "2aab1484e8c158f2bfb8c5ff41b57a525129131c957b5f93";

    TigerLittleEndian();
    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    TigerContext m_context;
};

}  // namespace tolvek::engine
