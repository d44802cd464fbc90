// One update routine for every CRC of the engine: it advances a raw 32-bit or 64-bit register
// (no initial value, no final XOR) over bytes, choosing the fastest code path the CPU allows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "engine/CrcTables.h"

namespace tolvek::engine {

std::uint32_t CrcUpdate(const CrcTables& tables, std::uint32_t crc, const std::uint8_t* bytes,
                        std::size_t length);

std::uint64_t CrcUpdate(const Crc64Tables& tables, std::uint64_t crc, const std::uint8_t* bytes,
                        std::size_t length);

// What runs of zero bytes do to a raw register. The raw register is linear in the register and
// the bytes together, so a message cut into pieces can be hashed a piece per thread, each from a
// zero register, and joined in order: crc(r, A B) = zeros(crc(r, A), |B|) ^ crc(0, B).
template <class Register>
class CrcZeros {
public:
    template <class Tables>
    explicit CrcZeros(const Tables& tables) {
        constexpr std::uint8_t kZero = 0;
        for (int bit = 0; bit < kBits; ++bit) {
            m_powers[0][bit] = CrcUpdate(tables, Register{1} << bit, &kZero, 1);
        }
        for (std::size_t power = 1; power < m_powers.size(); ++power) {
            for (int bit = 0; bit < kBits; ++bit) {
                m_powers[power][bit] = apply(m_powers[power - 1], m_powers[power - 1][bit]);
            }
        }
    }

    // The register `crc` becomes over `length` zero bytes.
    Register over(Register crc, std::uint64_t length) const {
        for (std::size_t power = 0; length != 0; ++power, length >>= 1) {
            if ((length & 1) != 0) {
                crc = apply(m_powers[power], crc);
            }
        }
        return crc;
    }

private:
    static constexpr int kBits = sizeof(Register) * 8;
    // Column i: what the map makes of register bit i alone.
    using Map = std::array<Register, kBits>;

    static Register apply(const Map& map, Register crc) {
        Register result = 0;
        for (int bit = 0; crc != 0; ++bit, crc >>= 1) {
            result ^= (crc & 1) != 0 ? map[bit] : 0;
        }
        return result;
    }

    // m_powers[k]: 2^k zero bytes.
    std::array<Map, 64> m_powers{};
};

// The zero-byte powers of the CRC of `Tables`, built once, on first use.
template <const auto& Tables>
const auto& CrcZerosOf() {
    using Register = std::remove_cvref_t<decltype(Tables.slices[0][0])>;
    static const CrcZeros<Register> zeros(Tables);
    return zeros;
}

}  // namespace tolvek::engine
