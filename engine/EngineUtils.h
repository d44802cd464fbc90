// Bit, byte-order and text helpers shared by the engine's algorithm units.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace tolvek::engine {

// `count` lower-case hex digits of the lowest nibbles of `value`, most significant first,
// with leading zeros.
std::string HexDigits(std::uint8_t count, std::uint64_t value);

constexpr std::uint32_t RotL32(std::uint32_t word, unsigned count) {
    return std::rotl(word, static_cast<int>(count % 32));
}

constexpr std::uint32_t RotR32(std::uint32_t word, unsigned count) {
    return std::rotr(word, static_cast<int>(count % 32));
}

// Rotates right by `count` (0..63); a count of 0 gives the word unchanged.
constexpr std::uint64_t RotR64(unsigned count, std::uint64_t word) {
    return std::rotr(word, static_cast<int>(count));
}

constexpr std::uint32_t ByteSwap32(std::uint32_t word) { return __builtin_bswap32(word); }
constexpr std::uint64_t ByteSwap64(std::uint64_t word) { return __builtin_bswap64(word); }

// Loads and stores of words in a fixed byte order from unaligned memory.
inline std::uint32_t LoadLe32(const std::uint8_t* bytes) {
    std::uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return std::endian::native == std::endian::little ? word : ByteSwap32(word);
}

inline std::uint32_t LoadBe32(const std::uint8_t* bytes) {
    std::uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return std::endian::native == std::endian::big ? word : ByteSwap32(word);
}

inline std::uint64_t LoadLe64(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return std::endian::native == std::endian::little ? word : ByteSwap64(word);
}

inline std::uint64_t LoadBe64(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return std::endian::native == std::endian::big ? word : ByteSwap64(word);
}

inline void StoreLe32(std::uint8_t* bytes, std::uint32_t word) {
    if constexpr (std::endian::native != std::endian::little) {
        word = ByteSwap32(word);
    }
    std::memcpy(bytes, &word, sizeof word);
}

inline void StoreBe32(std::uint8_t* bytes, std::uint32_t word) {
    if constexpr (std::endian::native != std::endian::big) {
        word = ByteSwap32(word);
    }
    std::memcpy(bytes, &word, sizeof word);
}

inline void StoreLe64(std::uint8_t* bytes, std::uint64_t word) {
    if constexpr (std::endian::native != std::endian::little) {
        word = ByteSwap64(word);
    }
    std::memcpy(bytes, &word, sizeof word);
}

inline void StoreBe64(std::uint8_t* bytes, std::uint64_t word) {
    if constexpr (std::endian::native != std::endian::big) {
        word = ByteSwap64(word);
    }
    std::memcpy(bytes, &word, sizeof word);
}

}  // namespace tolvek::engine
