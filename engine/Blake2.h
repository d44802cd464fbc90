// BLAKE2b-512 and BLAKE2s-256, unkeyed (RFC 7693), as streaming hashes: the digest is the
// chaining words little-endian, as b2sum prints it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/ShaConstants.h"

namespace tolvek::engine {

namespace blake2 {

// Compresses `blockCount` consecutive blocks; the byte counter is `counter` after the first
// block and grows by a block after each further one. `last` marks the single final block.
void Blake2bCompress(std::array<std::uint64_t, 8>& state, const std::uint8_t* blocks,
                     std::size_t blockCount, std::uint64_t counter, bool last);
void Blake2sCompress(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                     std::size_t blockCount, std::uint64_t counter, bool last);

struct Blake2bParams {
    using Word = std::uint64_t;
    static constexpr std::size_t kBlockSize = 128;
    static constexpr std::size_t kDigestSize = 64;
    static constexpr const std::array<Word, 8>& kIv = kSha512InitialValues;
    static constexpr auto kCompress = Blake2bCompress;
    // RFC 7693, appendix A: "abc".
    static constexpr std::string_view kDigestOfAbc =
        "ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d17d87c5392aab792dc252d5d"
        "e4533cc9518d38aa8dbf1925ab92386edd4009923";
};

struct Blake2sParams {
    using Word = std::uint32_t;
    static constexpr std::size_t kBlockSize = 64;
    static constexpr std::size_t kDigestSize = 32;
    static constexpr const std::array<Word, 8>& kIv = kSha256InitialValues;
    static constexpr auto kCompress = Blake2sCompress;
    // RFC 7693, appendix B: "abc".
    static constexpr std::string_view kDigestOfAbc =
        "508c5e8c327c14e2e1a72ba34eeb452f37458b209ed63a294d999b4c86675982";
};

// Buffering and parameter block shared by both widths. The final block gets a flag, so a
// block is compressed only once a byte after it has arrived.
template <class Params>
class Blake2 {
public:
    static constexpr std::size_t kDigestSize = Params::kDigestSize;
    static constexpr std::string_view kKnownInput = "abc";
    static constexpr std::string_view kKnownDigest = Params::kDigestOfAbc;

    Blake2() : m_state(Params::kIv) {
        // Parameter block: digest length, no key, fanout 1, depth 1.
        m_state[0] ^= 0x01010000u ^ kDigestSize;
    }

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

private:
    using Word = typename Params::Word;
    static constexpr std::size_t kBlockSize = Params::kBlockSize;

    void compress(const std::uint8_t* blocks, std::size_t blockCount);

    std::array<Word, 8> m_state;
    std::uint64_t m_counter = 0;  // bytes compressed so far
    std::array<std::uint8_t, kBlockSize> m_buffer{};
    std::size_t m_fill = 0;
};

extern template class Blake2<Blake2bParams>;
extern template class Blake2<Blake2sParams>;

}  // namespace blake2

using Blake2b = blake2::Blake2<blake2::Blake2bParams>;
using Blake2s = blake2::Blake2<blake2::Blake2sParams>;

}  // namespace tolvek::engine
