// Streebog, the hash of GOST R 34.11-2012 (RFC 6986), with its 512-bit and 256-bit digests, as
// streaming hashes. The digest is the chaining value's bytes least significant first (the
// reverse of the RFC's big-endian notation), as other tools print it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvek::engine {

namespace streebog {

// A 512-bit value as eight 64-bit words, word 0 least significant.
using Block = std::array<std::uint64_t, 8>;

// The compression g_N of RFC 6986 section 7 for each of `blockCount` consecutive 64-byte
// blocks, N advancing by 512 after each; the blocks also add into `sum`.
void CompressBlocks(Block& hash, Block& bitCount, Block& sum, const std::uint8_t* blocks,
                    std::size_t blockCount);

// RFC 6986 section 10.1: the message M1 (63 bytes).
inline constexpr std::string_view kExampleMessage =
    "012345678901234567890123456789012345678901234567890123456789012";

}  // namespace streebog

template <std::size_t DigestSize>
class Streebog {
public:
    static constexpr std::size_t kDigestSize = DigestSize;
    static constexpr std::string_view kKnownInput = streebog::kExampleMessage;
    // RFC 6986 sections 10.1.1 and 10.1.2, bytes reversed.
    static constexpr std::string_view kKnownDigest =
        DigestSize == 64
            ? "1b54d01a4af5b9d5cc3d86d68d285462b19abc2475222f35c085122be4ba1ffa00ad30f8767b3a8238"
              "4c6574f024c311e2a481332b08ef7f41797891c1646f48"
            : "9d151eefd8590b89daa6ba6cb74af9275dd051026bb149a452fd84e5e57b5500";

    Streebog();
    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest);

private:
    static constexpr std::size_t kBlockSize = 64;

    streebog::Block m_hash;
    streebog::Block m_bitCount{};
    streebog::Block m_sum{};
    std::array<std::uint8_t, kBlockSize> m_buffer{};
    std::size_t m_fill = 0;
};

extern template class Streebog<32>;
extern template class Streebog<64>;

using Streebog256 = Streebog<32>;
using Streebog512 = Streebog<64>;

}  // namespace tolvek::engine
