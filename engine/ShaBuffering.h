// The block buffering and final padding of the SHA-style hashes (SHA-1, SHA-2 and SM3): a
// context of chaining words, a bit count and a partial block, with the length big-endian at the
// end of the last block.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "engine/BlockBuffer.h"
#include "engine/EngineUtils.h"

namespace tolvek::engine::sha {

// The bytes of a partial block wait in the context's buffer; whole blocks are compressed from
// the caller's memory, and each compressed block counts into BitCount.
template <class Context, class Compress>
void Absorb(Context& context, const std::uint8_t* bytes, std::int64_t length, Compress compress) {
    if (length <= 0) {
        return;
    }
    constexpr std::uint64_t kBlockBits = 8 * sizeof context.Buffer;
    context.BufferFill =
        AbsorbBlocks(context.Buffer, context.BufferFill, bytes, static_cast<std::size_t>(length),
                     [&](const std::uint8_t* blocks, std::size_t blockCount) {
                         compress(context.State, blocks, blockCount);
                         context.BitCount += blockCount * kBlockBits;
                     });
}

// FIPS 180-4, section 5.1: 0x80, zeros, and the message length in bits, big-endian, in the last
// eighth of the block (of whose 16-byte field in SHA-384/512 only the low 8 bytes can be set).
template <class Context, class Compress>
void Pad(Context& context, Compress compress) {
    constexpr std::size_t kBlockSize = sizeof context.Buffer;
    constexpr std::size_t kLengthAt = kBlockSize - kBlockSize / 8;
    context.BitCount += 8 * context.BufferFill;
    auto fill = static_cast<std::size_t>(context.BufferFill);
    context.Buffer[fill++] = 0x80;
    if (fill > kLengthAt) {
        std::fill(context.Buffer.begin() + fill, context.Buffer.end(), std::uint8_t{0});
        compress(context.State, context.Buffer.data(), 1);
        fill = 0;
    }
    std::fill(context.Buffer.begin() + fill, context.Buffer.end() - 8, std::uint8_t{0});
    StoreBe64(context.Buffer.data() + kBlockSize - 8, context.BitCount);
    compress(context.State, context.Buffer.data(), 1);
    context.BufferFill = 0;
}

// Sets the initial hash value (the words past its size stay unread) and empties the message.
template <class Context, class Word, std::size_t Size>
void Start(Context& context, const std::array<Word, Size>& initialValues) {
    std::copy(initialValues.begin(), initialValues.end(), context.State.begin());
    context.BitCount = 0;
    context.BufferFill = 0;
}

// The leading digest.size() bytes of the chaining words written big-endian.
template <class Word, std::size_t Size>
void StoreLeadingBytes(const std::array<Word, Size>& state, std::span<std::uint8_t> digest) {
    std::array<std::uint8_t, Size * sizeof(Word)> bytes;
    for (std::size_t index = 0; index < Size; ++index) {
        if constexpr (sizeof(Word) == 4) {
            StoreBe32(bytes.data() + 4 * index, state[index]);
        } else {
            StoreBe64(bytes.data() + 8 * index, state[index]);
        }
    }
    std::copy_n(bytes.begin(), digest.size(), digest.begin());
}

}  // namespace tolvek::engine::sha
