#include "engine/Sm3.h"

#include "engine/EngineUtils.h"
#include "engine/ShaBuffering.h"
#include "engine/Unroll.h"

namespace tolvek::engine {

namespace {

// GB/T 32905-2016, section 4.1.
constexpr std::array<std::uint32_t, 8> kSm3InitialValues = {
    0x7380166f, 0x4914b2b9, 0x172442d7, 0xda8a0600, 0xa96f30bc, 0x163138aa, 0xe38dee4d, 0xb0fb0e4e};

// Section 4.2: T_j, taken rotated left by j mod 32 as step j uses it.
consteval std::array<std::uint32_t, 64> rotatedStepConstants() {
    std::array<std::uint32_t, 64> constants{};
    for (unsigned step = 0; step < 64; ++step) {
        constants[step] = RotL32(step < 16 ? 0x79cc4519u : 0x7a879d8au, step % 32);
    }
    return constants;
}

constexpr std::array<std::uint32_t, 64> kRotatedStepConstants = rotatedStepConstants();

constexpr std::uint32_t permutation0(std::uint32_t x) {
    return x ^ RotL32(x, 9) ^ RotL32(x, 17);
}
constexpr std::uint32_t permutation1(std::uint32_t x) {
    return x ^ RotL32(x, 15) ^ RotL32(x, 23);
}

// Section 5.3: message expansion kept as a rolling window of 16 words, and 64 steps whose
// variables are renamed rather than moved (A is v[(8 - j mod 8) mod 8] in step j).
[[gnu::flatten]] void compressPortable(std::array<std::uint32_t, 8>& state,
                                       const std::uint8_t* blocks, std::size_t blockCount) {
    for (; blockCount != 0; --blockCount, blocks += 64) {
        std::array<std::uint32_t, 16> w;
        for (std::size_t index = 0; index < 16; ++index) {
            w[index] = LoadBe32(blocks + 4 * index);
        }
        std::array<std::uint32_t, 8> v = state;
        Unroll<64>([&](auto j) {
            // W[j + 4], needed now for W'[j] = W[j] ^ W[j + 4].
            if constexpr (j + 4 >= 16) {
                constexpr std::size_t next = (j + 4) % 16;
                w[next] =
                    permutation1(w[next] ^ w[(j + 4 - 9) % 16] ^ RotL32(w[(j + 4 - 3) % 16], 15)) ^
                    RotL32(w[(j + 4 - 13) % 16], 7) ^ w[(j + 4 - 6) % 16];
            }
            constexpr std::size_t a = (8 - j % 8) % 8;
            std::uint32_t& b = v[(a + 1) % 8];
            const std::uint32_t c = v[(a + 2) % 8];
            std::uint32_t& d = v[(a + 3) % 8];
            const std::uint32_t e = v[(a + 4) % 8];
            std::uint32_t& f = v[(a + 5) % 8];
            const std::uint32_t g = v[(a + 6) % 8];
            std::uint32_t& h = v[(a + 7) % 8];
            const std::uint32_t a12 = RotL32(v[a], 12);
            const std::uint32_t ss1 = RotL32(a12 + e + kRotatedStepConstants[j], 7);
            const std::uint32_t ss2 = ss1 ^ a12;
            std::uint32_t ff;
            std::uint32_t gg;
            if constexpr (j < 16) {
                ff = v[a] ^ b ^ c;
                gg = e ^ f ^ g;
            } else {
                ff = (v[a] & b) | (v[a] & c) | (b & c);
                gg = (e & f) | (~e & g);
            }
            const std::uint32_t tt1 = ff + d + ss2 + (w[j % 16] ^ w[(j + 4) % 16]);
            const std::uint32_t tt2 = gg + h + ss1 + w[j % 16];
            // The new A lands where H was and the new E where D was; B and F rotate in place.
            b = RotL32(b, 9);
            f = RotL32(f, 19);
            h = tt1;
            d = permutation0(tt2);
        });
        for (std::size_t index = 0; index < 8; ++index) {
            state[index] ^= v[index];
        }
    }
}

}  // namespace

void Sm3Compress(std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks,
                 std::size_t blockCount) {
    compressPortable(state, blocks, blockCount);
}

Sm3::Sm3() {
    sha::Start(m_context, kSm3InitialValues);
}

void Sm3::update(std::span<const std::uint8_t> bytes) {
    sha::Absorb(m_context, bytes.data(), static_cast<std::int64_t>(bytes.size()), Sm3Compress);
}

void Sm3::finish(std::span<std::uint8_t, kDigestSize> digest) {
    sha::Pad(m_context, Sm3Compress);
    sha::StoreLeadingBytes(m_context.State, digest);
}

}  // namespace tolvek::engine
