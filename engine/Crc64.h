// CRC-64/XZ (reflected, polynomial 0x42F0E1EBA9EA3693): slice-by-8 tables derived at compile time
// and the register update over them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolvek::engine {

namespace crc64_detail {

inline constexpr std::uint64_t kReflectedPolynomial = 0xC96C5795D7870F42;  // 0x42F0E1EBA9EA3693

using Slices = std::array<std::array<std::uint64_t, 256>, 8>;

consteval Slices makeSlices() {
    Slices slices{};
    for (std::uint64_t byte = 0; byte < 256; ++byte) {
        std::uint64_t crc = byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? kReflectedPolynomial : 0);
        }
        slices[0][byte] = crc;
    }
    for (std::size_t slice = 1; slice < slices.size(); ++slice) {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            const std::uint64_t previous = slices[slice - 1][byte];
            slices[slice][byte] = (previous >> 8) ^ slices[0][previous & 0xFF];
        }
    }
    return slices;
}

}  // namespace crc64_detail

// slices[k][b]: the register change made by byte b followed by k zero bytes.
alignas(64) inline constexpr crc64_detail::Slices kCrc64XzSlices = crc64_detail::makeSlices();

// Entries of the byte table as published with the xz format's CRC-64.
static_assert(kCrc64XzSlices[0][1] == 0xB32E4CBE03A75F6F);
static_assert(kCrc64XzSlices[0][2] == 0xF4843657A840A05B);
static_assert(kCrc64XzSlices[0][3] == 0x47AA7AE9ABE7FF34);

// The raw register (no initial value, no final XOR) advanced over `length` bytes.
std::uint64_t Crc64XzUpdate(std::uint64_t crc, const std::uint8_t* bytes, std::size_t length);

}  // namespace tolvek::engine
