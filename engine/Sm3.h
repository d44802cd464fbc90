// SM3 (GB/T 32905-2016), the Chinese national hash standard, as a streaming hash: a 256-bit
// Merkle-Damgard hash with SHA-256's block, padding and big-endian digest.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/SHA.h"

namespace tolvek::engine {

// Compresses `blockCount` consecutive 64-byte blocks into the chaining words.
void Sm3Compress(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                 std::size_t blockCount);

class Sm3 {
public:
    static constexpr std::size_t kDigestSize = 32;
    // GB/T 32905-2016, appendix A, example 1.
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest =
        "66c7f0f462eeedd9d1f2d46bdc10e4e24167c4875cf2f7a2297da02b8f4ba8e0";

    Sm3();
    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    ShaContext m_context;
};

}  // namespace tolvek::engine
