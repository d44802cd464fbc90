// Lookup tables and carry-less-multiply folding constants of the engine's CRCs, all derived at
// compile time from the polynomials of the CRC catalogue models they implement.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolvek::engine {

// Multipliers that move a 128-bit accumulator forward over a distance of message bits. `low`
// multiplies the accumulator's low 64-bit half, `high` its high half.
struct FoldPair {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
};

struct FoldConstants {
    FoldPair by128;
    FoldPair by256;
    FoldPair by384;
    FoldPair by512;
    FoldPair by1024;
    FoldPair by1536;
    FoldPair by2048;
};

// Everything the CRC kernels need for one CRC computed in a 32-bit register. A CRC narrower
// than 32 bits runs with its polynomial multiplied by x^(32 - width): the register then holds
// the narrow CRC in its top bits (MSB-first) or bottom bits (reflected) and nothing else changes.
struct CrcTables {
    using Slices = std::array<std::array<std::uint32_t, 256>, 8>;

    bool reflected = false;
    // slices[k][b]: the register change made by byte b followed by k zero bytes (slice-by-8).
    Slices slices{};
    FoldConstants fold;
};

// The same for the reflected CRC-64s, computed in a 64-bit register.
struct Crc64Tables {
    using Slices = std::array<std::array<std::uint64_t, 256>, 8>;

    static constexpr bool reflected = true;
    Slices slices{};
    FoldConstants fold;
};

namespace crc_detail {

constexpr std::uint32_t reflect32(std::uint32_t word) {
    std::uint32_t reflected = 0;
    for (int bit = 0; bit < 32; ++bit) {
        reflected |= ((word >> bit) & 1u) << (31 - bit);
    }
    return reflected;
}

// x^exponent mod (x^32 + polynomial), polynomials as bit i = coefficient of x^i.
constexpr std::uint32_t xPowerMod(unsigned exponent, std::uint32_t polynomial) {
    std::uint32_t remainder = 1;
    for (unsigned step = 0; step < exponent; ++step) {
        remainder = (remainder << 1) ^ ((remainder >> 31) != 0 ? polynomial : 0);
    }
    return remainder;
}

constexpr std::uint32_t byteStep(std::uint32_t crc, std::uint32_t polynomial, bool reflected) {
    const std::uint32_t reflectedPolynomial = reflect32(polynomial);
    for (int bit = 0; bit < 8; ++bit) {
        if (reflected) {
            crc = (crc >> 1) ^ ((crc & 1u) != 0 ? reflectedPolynomial : 0);
        } else {
            crc = (crc << 1) ^ ((crc >> 31) != 0 ? polynomial : 0);
        }
    }
    return crc;
}

// The folding kernels keep the message as 128-bit polynomials. Reflected, a 64-bit half holds
// x^63 in bit 0 and a carry-less product comes out one bit short, which the constants absorb
// by being one power lower; MSB-first, bit i is x^i and the product is exact.
constexpr FoldPair foldPair(unsigned distance, std::uint32_t polynomial, bool reflected) {
    if (reflected) {
        return {std::uint64_t{reflect32(xPowerMod(distance + 63, polynomial))} << 32,
                std::uint64_t{reflect32(xPowerMod(distance - 1, polynomial))} << 32};
    }
    return {xPowerMod(distance, polynomial), xPowerMod(distance + 64, polynomial)};
}

constexpr std::uint64_t reflect64(std::uint64_t word) {
    return std::uint64_t{reflect32(static_cast<std::uint32_t>(word))} << 32 |
           reflect32(static_cast<std::uint32_t>(word >> 32));
}

// x^exponent mod (x^64 + polynomial).
constexpr std::uint64_t xPowerMod64(unsigned exponent, std::uint64_t polynomial) {
    std::uint64_t remainder = 1;
    for (unsigned step = 0; step < exponent; ++step) {
        remainder = (remainder << 1) ^ ((remainder >> 63) != 0 ? polynomial : 0);
    }
    return remainder;
}

// As foldPair for a reflected CRC, with the remainders filling the whole 64-bit half.
constexpr FoldPair foldPair64(unsigned distance, std::uint64_t polynomial) {
    return {reflect64(xPowerMod64(distance + 63, polynomial)),
            reflect64(xPowerMod64(distance - 1, polynomial))};
}

constexpr Crc64Tables makeTables64(std::uint64_t polynomial) {
    Crc64Tables tables;
    const std::uint64_t reflectedPolynomial = reflect64(polynomial);
    for (std::uint64_t byte = 0; byte < 256; ++byte) {
        std::uint64_t crc = byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? reflectedPolynomial : 0);
        }
        tables.slices[0][byte] = crc;
    }
    for (std::size_t slice = 1; slice < tables.slices.size(); ++slice) {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            const std::uint64_t previous = tables.slices[slice - 1][byte];
            tables.slices[slice][byte] = (previous >> 8) ^ tables.slices[0][previous & 0xFF];
        }
    }
    tables.fold = {foldPair64(128, polynomial),  foldPair64(256, polynomial),
                   foldPair64(384, polynomial),  foldPair64(512, polynomial),
                   foldPair64(1024, polynomial), foldPair64(1536, polynomial),
                   foldPair64(2048, polynomial)};
    return tables;
}

constexpr CrcTables makeTables(std::uint32_t polynomial, bool reflected) {
    CrcTables tables;
    tables.reflected = reflected;
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        tables.slices[0][byte] = byteStep(reflected ? byte : byte << 24, polynomial, reflected);
    }
    for (std::size_t slice = 1; slice < tables.slices.size(); ++slice) {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            const std::uint32_t previous = tables.slices[slice - 1][byte];
            tables.slices[slice][byte] = reflected
                                             ? (previous >> 8) ^ tables.slices[0][previous & 0xFF]
                                             : (previous << 8) ^ tables.slices[0][previous >> 24];
        }
    }
    tables.fold = {foldPair(128, polynomial, reflected),  foldPair(256, polynomial, reflected),
                   foldPair(384, polynomial, reflected),  foldPair(512, polynomial, reflected),
                   foldPair(1024, polynomial, reflected), foldPair(1536, polynomial, reflected),
                   foldPair(2048, polynomial, reflected)};
    return tables;
}

}  // namespace crc_detail

// CRC-32 (ISO-HDLC), reflected, polynomial 0x04C11DB7.
alignas(64) inline constexpr CrcTables kCrc32Tables = crc_detail::makeTables(0x04C11DB7, true);
// CRC-32 computed most-significant bit first (the CRC-32/BZIP2 model).
alignas(64) inline constexpr CrcTables kCrc32MsbFirstTables = crc_detail::makeTables(0x04C11DB7,
                                                                                     false);
// CRC-32/ISCSI (Castagnoli), reflected, polynomial 0x1EDC6F41.
alignas(64) inline constexpr CrcTables kCrc32cTables = crc_detail::makeTables(0x1EDC6F41, true);
// CRC-16/ARC, reflected, polynomial 0x8005.
alignas(64) inline constexpr CrcTables kCrc16ArcTables =
    crc_detail::makeTables(std::uint32_t{0x8005} << 16, true);
// CRC-16/XMODEM, MSB-first, polynomial 0x1021.
alignas(64) inline constexpr CrcTables kCrc16XmodemTables =
    crc_detail::makeTables(std::uint32_t{0x1021} << 16, false);

// CRC-64/XZ, reflected, polynomial 0x42F0E1EBA9EA3693.
alignas(64) inline constexpr Crc64Tables kCrc64XzTables =
    crc_detail::makeTables64(0x42F0E1EBA9EA3693);

// CRC-64/NVME, reflected, polynomial 0xAD93D23594C93659.
alignas(64) inline constexpr Crc64Tables kCrc64NvmeTables =
    crc_detail::makeTables64(0xAD93D23594C93659);

// First and last entries of the standard byte tables as published with each CRC.
static_assert(kCrc32Tables.slices[0][1] == 0x77073096);
static_assert(kCrc32Tables.slices[0][255] == 0x2D02EF8D);
static_assert(kCrc32MsbFirstTables.slices[0][1] == 0x04C11DB7);
static_assert(kCrc32MsbFirstTables.slices[0][255] == 0xB1F740B4);
static_assert(kCrc32cTables.slices[0][1] == 0xF26B8303);
static_assert(kCrc32cTables.slices[0][255] == 0xAD7D5351);
static_assert(kCrc64XzTables.slices[0][1] == 0xB32E4CBE03A75F6F);
static_assert(kCrc64XzTables.slices[0][2] == 0xF4843657A840A05B);
static_assert(kCrc64NvmeTables.slices[0][128] == 0x9A6C9329AC4BC9B5);
static_assert(kCrc16ArcTables.slices[0][1] == 0xC0C1);
static_assert(kCrc16ArcTables.slices[0][255] == 0x4040);
static_assert(kCrc16XmodemTables.slices[0][1] == 0x1021u << 16);
static_assert(kCrc16XmodemTables.slices[0][255] == 0x1EF0u << 16);

}  // namespace tolvek::engine
