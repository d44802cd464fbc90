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

namespace {

template <Crc64Model Model>
constexpr const Crc64Tables& crc64Tables() {
    return Model == Crc64Model::Xz ? kCrc64XzTables : kCrc64NvmeTables;
}

}  // namespace

template <Crc64Model Model>
void Crc64<Model>::update(std::span<const std::uint8_t> bytes) {
    m_register = CrcUpdate(crc64Tables<Model>(), m_register, bytes.data(), bytes.size());
}

template <Crc64Model Model>
void Crc64<Model>::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    StoreBe64(digest.data(), ~m_register);
}

template class Crc64<Crc64Model::Xz>;
template class Crc64<Crc64Model::Nvme>;

void PosixCksum::update(std::span<const std::uint8_t> bytes) {
    m_register = CrcUpdate(kCrc32MsbFirstTables, m_register, bytes.data(), bytes.size());
    m_length += bytes.size();
}

void PosixCksum::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    std::uint32_t crc = m_register;
    for (std::uint64_t length = m_length; length != 0; length >>= 8) {
        const auto byte = static_cast<std::uint8_t>(length);
        crc = CrcUpdatePortable(kCrc32MsbFirstTables, crc, &byte, 1);
    }
    StoreBe32(digest.data(), ~crc);
}

}  // namespace tolvek::engine
