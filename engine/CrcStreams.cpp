#include "engine/CrcStreams.h"

#include "engine/CrcKernels.h"
#include "engine/EngineUtils.h"

namespace tolvek::engine {

namespace {

template <Crc32Model Model>
constexpr const CrcTables& crc32Tables() {
    return Model == Crc32Model::Castagnoli ? kCrc32cTables : kCrc32MsbFirstTables;
}

template <Crc64Model Model>
constexpr const Crc64Tables& crc64Tables() {
    return Model == Crc64Model::Xz ? kCrc64XzTables : kCrc64NvmeTables;
}

}  // namespace

template <Crc64Model Model>
std::uint64_t Crc64<Model>::piece(std::span<const std::uint8_t> bytes) {
    return CrcUpdate(crc64Tables<Model>(), 0, bytes.data(), bytes.size());
}

template <Crc64Model Model>
void Crc64<Model>::join(std::uint64_t piece, std::uint64_t length) {
    m_register = CrcZerosOf<crc64Tables<Model>()>().over(m_register, length) ^ piece;
}

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

template <Crc32Model Model>
void Crc32Stream<Model>::update(std::span<const std::uint8_t> bytes) {
    m_register = CrcUpdate(crc32Tables<Model>(), m_register, bytes.data(), bytes.size());
    m_length += bytes.size();
}

template <Crc32Model Model>
std::uint32_t Crc32Stream<Model>::piece(std::span<const std::uint8_t> bytes) {
    return CrcUpdate(crc32Tables<Model>(), 0, bytes.data(), bytes.size());
}

template <Crc32Model Model>
void Crc32Stream<Model>::join(std::uint32_t piece, std::uint64_t length) {
    m_register = CrcZerosOf<crc32Tables<Model>()>().over(m_register, length) ^ piece;
    m_length += length;
}

template <Crc32Model Model>
void Crc32Stream<Model>::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    std::uint32_t crc = m_register;
    if constexpr (Model == Crc32Model::PosixCksum) {
        for (std::uint64_t length = m_length; length != 0; length >>= 8) {
            const auto byte = static_cast<std::uint8_t>(length);
            crc = CrcUpdate(crc32Tables<Model>(), crc, &byte, 1);
        }
    }
    StoreBe32(digest.data(), ~crc);
}

template class Crc32Stream<Crc32Model::Castagnoli>;
template class Crc32Stream<Crc32Model::PosixCksum>;

}  // namespace tolvek::engine
