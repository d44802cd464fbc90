#include "engine/CRC_.h"

#include <algorithm>
#include <array>
#include <optional>

#include "engine/CrcKernels.h"
#include "platform/ReadBuffer.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::engine {

namespace {

constexpr std::uint16_t kXmodemPolynomial = 0x1021;

// The shifted-through register times x^16, modulo the polynomial: the register a CRC computed
// the usual way (message times x^16) holds after the same bytes.
std::uint16_t timesX16(std::uint16_t value) {
    for (int bit = 0; bit < 16; ++bit) {
        const bool carry = (value & 0x8000) != 0;
        value = static_cast<std::uint16_t>((value << 1) ^ (carry ? kXmodemPolynomial : 0));
    }
    return value;
}

// The inverse of timesX16: x has an inverse because the polynomial's constant term is 1.
std::uint16_t dividedByX16(std::uint16_t value) {
    for (int bit = 0; bit < 16; ++bit) {
        value = (value & 1) != 0
                    ? static_cast<std::uint16_t>(((value ^ kXmodemPolynomial) >> 1) | 0x8000)
                    : static_cast<std::uint16_t>(value >> 1);
    }
    return value;
}

// The same number of bytes for every piece of every file: memory use does not grow with the
// file, and a piece stays in the cache between the read and the checksum.
constexpr std::size_t kReadPiece = 256 * 1024;

template <class Value>
bool reportOnly(FileChecksum kind, const std::string& fileName, Value& value) {
    std::uint32_t wide = value;
    if (ChecksumFile(kind, fileName, wide) != kHashOk) {
        return false;
    }
    value = static_cast<Value>(wide);
    return true;
}

}  // namespace

std::uint16_t CrcCcittBlock(std::uint16_t crc, const std::uint8_t* bytes, std::size_t length) {
    const std::uint32_t direct = std::uint32_t{timesX16(crc)} << 16;
    return dividedByX16(
        static_cast<std::uint16_t>(CrcUpdate(kCrc16XmodemTables, direct, bytes, length) >> 16));
}

std::uint16_t CrcArcBlock(std::uint16_t crc, const std::uint8_t* bytes, std::size_t length) {
    return static_cast<std::uint16_t>(CrcUpdate(kCrc16ArcTables, crc, bytes, length));
}

std::uint32_t Crc32Block(std::uint32_t crc, const std::uint8_t* bytes, std::size_t length) {
    return CrcUpdate(kCrc32Tables, crc, bytes, length);
}

ChecksumRun::ChecksumRun(FileChecksum kind)
    : m_kind(kind), m_register(kind == FileChecksum::Crc32 ? 0xFFFFFFFF : 0) {}

void ChecksumRun::update(std::span<const std::uint8_t> bytes) {
    switch (m_kind) {
        case FileChecksum::Crc16Xmodem:
            m_register =
                CrcCcittBlock(static_cast<std::uint16_t>(m_register), bytes.data(), bytes.size());
            break;
        case FileChecksum::Crc16Arc:
            m_register =
                CrcArcBlock(static_cast<std::uint16_t>(m_register), bytes.data(), bytes.size());
            break;
        case FileChecksum::Crc32:
            m_register = Crc32Block(m_register, bytes.data(), bytes.size());
            break;
    }
}

std::uint32_t ChecksumRun::piece(std::span<const std::uint8_t> bytes) const {
    const CrcTables& tables = m_kind == FileChecksum::Crc32 ? kCrc32Tables : kCrc16ArcTables;
    return CrcUpdate(tables, 0, bytes.data(), bytes.size());
}

void ChecksumRun::join(std::uint32_t piece, std::uint64_t length) {
    const CrcZeros<std::uint32_t>& zeros = m_kind == FileChecksum::Crc32
                                               ? CrcZerosOf<kCrc32Tables>()
                                               : CrcZerosOf<kCrc16ArcTables>();
    m_register = zeros.over(m_register, length) ^ piece;
}

std::uint32_t ChecksumRun::value() const {
    switch (m_kind) {
        case FileChecksum::Crc16Xmodem: {
            static constexpr std::array<std::uint8_t, 2> kCompletion{};
            return CrcCcittBlock(static_cast<std::uint16_t>(m_register), kCompletion.data(),
                                 kCompletion.size());
        }
        case FileChecksum::Crc16Arc:
            return m_register;
        case FileChecksum::Crc32:
            return ~m_register;
    }
    return 0;
}

HashResult ChecksumFile(FileChecksum kind, const std::string& fileName, std::uint32_t& value) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(fileName);
    if (!file) {
        return kHashOpenFailed;
    }
    const std::optional<std::int64_t> size = file->size();
    if (!size) {
        return kHashOpenFailed;
    }
    ChecksumRun run(kind);
    std::int64_t taken = 0;
    const platform::ReadBuffer buffer(kReadPiece);
    // A size of 0 does not prove an empty file (those under /proc have content): such a file
    // is read to its end.
    const std::optional<std::int64_t> count = *size > 0 ? size : std::nullopt;
    if (!platform::ReadPieces(*file, buffer.bytes(), count,
                              [&](std::span<const std::uint8_t> piece) {
                                  run.update(piece);
                                  taken += static_cast<std::int64_t>(piece.size());
                              })) {
        return kHashReadFailed;
    }
    if (taken > 0) {
        value = run.value();
    }
    return kHashOk;
}

bool FileCrc16(const std::string& fileName, std::uint16_t& value) {
    return reportOnly(FileChecksum::Crc16Xmodem, fileName, value);
}

bool FileCrcArc(const std::string& fileName, std::uint16_t& value) {
    return reportOnly(FileChecksum::Crc16Arc, fileName, value);
}

bool FileCrc32(const std::string& fileName, std::uint32_t& value) {
    return reportOnly(FileChecksum::Crc32, fileName, value);
}

}  // namespace tolvek::engine
