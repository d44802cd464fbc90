// Buffering and final padding for the engine units that compress 64-byte blocks and close the
// message with a pad byte, zeros and a 64-bit little-endian bit count (RIPEMD, Tiger).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/EngineUtils.h"

namespace tolvek::engine {

inline constexpr std::uint32_t kBlockSize = 64;

using BlockBuffer = std::array<std::uint8_t, kBlockSize>;

// Appends `length` bytes to the `fill` bytes waiting in `buffer`. Whole blocks go to
// `compressBlocks(const std::uint8_t* blocks, std::size_t count)`, straight from the caller's
// memory where they do not continue a partial block; the rest waits in `buffer`.
template <class CompressBlocks>
void AbsorbBytes(BlockBuffer& buffer, std::uint32_t& fill, const std::uint8_t* bytes,
                 std::uint32_t length, CompressBlocks&& compressBlocks) {
    if (length == 0) {
        return;  // `bytes` may be null
    }
    if (fill > 0) {
        const std::uint32_t taken = std::min(kBlockSize - fill, length);
        std::memcpy(buffer.data() + fill, bytes, taken);
        fill += taken;
        bytes += taken;
        length -= taken;
        if (fill < kBlockSize) {
            return;
        }
        compressBlocks(buffer.data(), 1);
        fill = 0;
    }
    const std::size_t blocks = length / kBlockSize;
    if (blocks > 0) {
        compressBlocks(bytes, blocks);
    }
    fill = length % kBlockSize;
    std::memcpy(buffer.data(), bytes + blocks * kBlockSize, fill);
}

// Closes the message: `padByte` after the `fill` waiting bytes, zeros up to byte 56 (in a
// second block when fewer than nine bytes are left), then `bitCount` little-endian in bytes
// 56..63.
template <class CompressBlocks>
void PadLittleEndian(BlockBuffer& buffer, std::uint32_t fill, std::uint8_t padByte,
                     std::uint64_t bitCount, CompressBlocks&& compressBlocks) {
    constexpr std::uint32_t kCountOffset = kBlockSize - sizeof(std::uint64_t);
    buffer[fill++] = padByte;
    if (fill > kCountOffset) {
        std::fill(buffer.begin() + fill, buffer.end(), std::uint8_t{0});
        compressBlocks(buffer.data(), 1);
        fill = 0;
    }
    std::fill(buffer.begin() + fill, buffer.begin() + kCountOffset, std::uint8_t{0});
    StoreLe64(buffer.data() + kCountOffset, bitCount);
    compressBlocks(buffer.data(), 1);
}

}  // namespace tolvek::engine
