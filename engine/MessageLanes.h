// Digests of many independent whole messages at once: a batch of small files costs one pass of
// vector instructions for every sixteen of them. On AVX2 each 32-bit lane of two 256-bit
// registers holds one message (SHA-384/512 and SHA-512/256, with AVX-512 VL: each 64-bit lane,
// eight at a time) and takes the next as soon as its own ends; BLAKE3's lanes take chunks, of
// whichever message. Elsewhere, and for the last few messages of a batch, the messages are
// hashed one after another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvek::engine {

using MessageBytes = std::span<const std::uint8_t>;

// Writes the digest of each of `messages`, in their order, one after another to `digests`, which
// holds messages.size() times the digest's size: MD5's 16 bytes, SHA-1's 20, SHA-384's 48,
// SHA-512's 64, SHA-512/256's 32, BLAKE3's 32 (its default mode).
using ManyMessagesHash = void(std::span<const MessageBytes> messages, std::uint8_t* digests);

ManyMessagesHash Md5Messages, Sha1Messages, Sha384Messages, Sha512Messages, Sha512_256Messages,
    Blake3Messages;

inline constexpr std::size_t kMd5DigestBytes = 16;
inline constexpr std::size_t kSha1DigestBytes = 20;
inline constexpr std::size_t kSha384DigestBytes = 48;
inline constexpr std::size_t kSha512DigestBytes = 64;
inline constexpr std::size_t kSha512_256DigestBytes = 32;
inline constexpr std::size_t kBlake3DigestBytes = 32;

}  // namespace tolvek::engine
