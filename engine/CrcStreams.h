// The CRCs outside the engine's hash types as streaming hashes: CRC-32C and the CRC-64s start
// with the register all ones and complement it at the end; the POSIX cksum CRC runs from zero
// over the message and then its length. Each digest is the CRC's full width big-endian, as the
// catalogue writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvek::engine {

// The CRC catalogue's check values, over "123456789".
inline constexpr std::string_view kCrcCheckInput = "123456789";

// The 32-bit CRC models: CRC-32C (iSCSI, Castagnoli) and the CRC of POSIX cksum, CRC-32 most
// significant bit first from a zero register, over the message and then its length in as few
// bytes as hold it, least significant first, complemented.
enum class Crc32Model { Castagnoli, PosixCksum };

template <Crc32Model Model>
class Crc32Stream {
public:
    static constexpr std::size_t kDigestSize = 4;
    // The catalogue's CRC-32/ISCSI check value; the POSIX cksum value of "123456789" as coreutils
    // cksum prints it, 930766865 in decimal.
    static constexpr std::string_view kKnownInput = kCrcCheckInput;
    static constexpr std::string_view kKnownDigest =
        Model == Crc32Model::Castagnoli ? "e3069283" : "377a6011";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

    // The raw register of `bytes` alone, and the message continued by such a piece: pieces
    // hashed apart, on several threads at once, join in order into what update() gives.
    static std::uint32_t piece(std::span<const std::uint8_t> bytes);
    void join(std::uint32_t piece, std::uint64_t length);

private:
    std::uint32_t m_register = Model == Crc32Model::Castagnoli ? 0xFFFFFFFF : 0;
    std::uint64_t m_length = 0;
};

extern template class Crc32Stream<Crc32Model::Castagnoli>;
extern template class Crc32Stream<Crc32Model::PosixCksum>;

using Crc32c = Crc32Stream<Crc32Model::Castagnoli>;
using PosixCksum = Crc32Stream<Crc32Model::PosixCksum>;

// The reflected CRC-64 models of the catalogue, by their polynomials.
enum class Crc64Model { Xz, Nvme };

template <Crc64Model Model>
class Crc64 {
public:
    static constexpr std::size_t kDigestSize = 8;
    static constexpr std::string_view kKnownInput = kCrcCheckInput;
    static constexpr std::string_view kKnownDigest =
        Model == Crc64Model::Xz ? "995dc9bbdf1939fa" : "ae8b14860a799888";

    void update(std::span<const std::uint8_t> bytes);
    void finish(std::span<std::uint8_t, kDigestSize> digest) const;

    // As Crc32Stream's.
    static std::uint64_t piece(std::span<const std::uint8_t> bytes);
    void join(std::uint64_t piece, std::uint64_t length);

private:
    std::uint64_t m_register = ~std::uint64_t{0};
};

extern template class Crc64<Crc64Model::Xz>;
extern template class Crc64<Crc64Model::Nvme>;

using Crc64Xz = Crc64<Crc64Model::Xz>;
// CRC-64/NVME, the checksum cloud object stores offer for uploads.
using Crc64Nvme = Crc64<Crc64Model::Nvme>;

}  // namespace tolvek::engine
