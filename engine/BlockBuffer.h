// Buffering and final padding shared by the block hashes: an update completes the buffered
// partial block, compresses every further whole block straight from the caller's bytes and keeps
// the tail; the MD-style ending pads and appends a little-endian bit count.
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

// Appends `length` bytes to a buffer that holds `fill` bytes of an incomplete block and gives
// the new fill. `compress(blocks, blockCount)` runs at most twice: on the buffer once it is
// full, then on the run of whole blocks in `bytes`.
template <std::size_t BlockSize, class Compress>
std::size_t AbsorbBlocks(std::array<std::uint8_t, BlockSize>& buffer, std::size_t fill,
                         const std::uint8_t* bytes, std::size_t length, Compress&& compress) {
    if (length == 0) {
        return fill;
    }
    if (fill != 0) {
        const std::size_t part = std::min(BlockSize - fill, length);
        std::memcpy(buffer.data() + fill, bytes, part);
        fill += part;
        if (fill < BlockSize) {
            return fill;
        }
        compress(buffer.data(), std::size_t{1});
        bytes += part;
        length -= part;
    }
    const std::size_t wholeBlocks = length / BlockSize;
    if (wholeBlocks != 0) {
        compress(bytes, wholeBlocks);
    }
    const std::size_t tail = length % BlockSize;
    if (tail != 0) {
        std::memcpy(buffer.data(), bytes + wholeBlocks * BlockSize, tail);
    }
    return tail;
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
