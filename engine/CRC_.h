// Whole-file checksums outside the hash engine's types: CRC-16/XMODEM, CRC-16/ARC and CRC-32,
// as plain numbers, over files of any size read in fixed-size pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/HashEngine.h"

namespace tolvek::engine {

// CRC-16/XMODEM with the message shifted through the register: the register is the message
// polynomial so far modulo 0x11021, and two zero bytes at the end turn it into the checksum.
std::uint16_t CrcCcittBlock(std::uint16_t crc, const std::uint8_t* bytes, std::size_t length);
// CRC-16/ARC register steps (reflected, polynomial 0x8005).
std::uint16_t CrcArcBlock(std::uint16_t crc, const std::uint8_t* bytes, std::size_t length);
// CRC-32 register steps (reflected, polynomial 0x04C11DB7), without the complements.
std::uint32_t Crc32Block(std::uint32_t crc, const std::uint8_t* bytes, std::size_t length);

enum class FileChecksum { Crc16Xmodem, Crc16Arc, Crc32 };

// One of the checksums over bytes given in any number of pieces.
class ChecksumRun {
public:
    explicit ChecksumRun(FileChecksum kind);
    void update(std::span<const std::uint8_t> bytes);
    // The checksum of all bytes so far; 0 for none.
    std::uint32_t value() const;

    // Whether pieces hashed apart join: the CRC-32 and CRC-16/ARC registers do, not XMODEM's,
    // which the message is shifted through.
    bool joinsPieces() const { return m_kind != FileChecksum::Crc16Xmodem; }
    // For a run that joinsPieces(): the raw register of `bytes` alone, and the message continued
    // by such a piece. Pieces hashed apart, on several threads at once, join in order into what
    // update() gives.
    std::uint32_t piece(std::span<const std::uint8_t> bytes) const;
    void join(std::uint32_t piece, std::uint64_t length);

private:
    FileChecksum m_kind;
    std::uint32_t m_register;
};

// The checksum of a named file, opened read-only. Gives kHashOk, kHashOpenFailed (missing,
// a directory, a FIFO, socket, terminal or character device) or kHashReadFailed (a failing
// read, or the file ended early). `value` is written only on success, and not for an empty file,
// whose checksum is the 0 the caller is expected to have set. A file whose size reads as 0 is
// read to its end.
HashResult ChecksumFile(FileChecksum kind, const std::string& fileName, std::uint32_t& value);

// The same, reporting only success.
bool FileCrc16(const std::string& fileName, std::uint16_t& value);
bool FileCrcArc(const std::string& fileName, std::uint16_t& value);
bool FileCrc32(const std::string& fileName, std::uint32_t& value);

}  // namespace tolvek::engine
