#include "engine/CrcStreams.h"

#include "engine/CrcKernels.h"
#include "engine/EngineUtils.h"

namespace tolvek::engine {

void Crc32c::update(std::span<const std::uint8_t> bytes) {
    m_register = CrcUpdate(kCrc32cTables, m_register, bytes.data(), bytes.size());
}

void Crc32c::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    StoreBe32(digest.data(), ~m_register);
}

void Crc64Xz::update(std::span<const std::uint8_t> bytes) {
    m_register = CrcUpdate(kCrc64XzTables, m_register, bytes.data(), bytes.size());
}

void Crc64Xz::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    StoreBe64(digest.data(), ~m_register);
}

}  // namespace tolvek::engine
