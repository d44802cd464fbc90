#include "engine/Gost.h"

#include <algorithm>
#include <cstddef>

#include "engine/EngineUtils.h"
#include "engine/GostCryptoProTables.h"
#include "engine/GostTables.h"

namespace tolvek::engine {

namespace {

constexpr std::size_t kBlockSize = 32;

using Words = std::array<std::uint32_t, 8>;
// A 256-bit value as four 64-bit quarters, quarter 0 least significant.
using Quarters = std::array<std::uint64_t, 4>;
// A GOST 28147-89 key: eight 32-bit words, used 1..8 three times, then 8..1.
using CipherKey = std::array<std::uint32_t, 8>;

// The cipher's substitution and rotation by 11 for each byte of the round value: entry 16a + b
// of table k holds S-boxes 2k+1 (on b) and 2k+2 (on a) at that byte's place, rotated.
using RoundTables = std::array<std::array<std::uint32_t, 256>, 4>;

using SBoxes = std::array<std::array<std::uint8_t, 16>, 8>;

consteval RoundTables buildRoundTables(const SBoxes& sBoxes) {
    RoundTables tables{};
    for (unsigned byte = 0; byte < 4; ++byte) {
        for (unsigned value = 0; value < 256; ++value) {
            const std::uint32_t substituted =
                sBoxes[2 * byte][value & 0xF] | sBoxes[2 * byte + 1][value >> 4] << 4;
            tables[byte][value] = RotL32(substituted << (8 * byte), 11);
        }
    }
    return tables;
}

alignas(64) constexpr RoundTables kRoundTables = buildRoundTables(kGostTestSBoxes);
alignas(64) constexpr RoundTables kCryptoProRoundTables = buildRoundTables(kGostCryptoProSBoxes);
// K1[0] = 4 and K2[0] = e; K3[0] = 5 and K4[1] = d; K5[f] = 2 and K6[0] = 4; K7[f] = K8[f] = c.
static_assert(kRoundTables[0][0x00] == 0x000E4u << 11);
static_assert(kRoundTables[1][0x10] == 0x0D500u << 11);
static_assert(kRoundTables[2][0x0F] == 0x10000002u);
static_assert(kRoundTables[3][0xFF] == 0x00000660u);

std::uint32_t roundFunction(const RoundTables& tables, std::uint32_t value) {
    return tables[0][value & 0xFF] ^ tables[1][(value >> 8) & 0xFF] ^
           tables[2][(value >> 16) & 0xFF] ^ tables[3][value >> 24];
}

Quarters toQuarters(const Words& words) {
    Quarters quarters{};
    for (std::size_t index = 0; index < quarters.size(); ++index) {
        quarters[index] = words[2 * index] | std::uint64_t{words[2 * index + 1]} << 32;
    }
    return quarters;
}

Words toWords(const Quarters& quarters) {
    Words words{};
    for (std::size_t index = 0; index < quarters.size(); ++index) {
        words[2 * index] = static_cast<std::uint32_t>(quarters[index]);
        words[2 * index + 1] = static_cast<std::uint32_t>(quarters[index] >> 32);
    }
    return words;
}

// Transformation A: (y4, y3, y2, y1) becomes (y1 ^ y2, y4, y3, y2).
Quarters transformA(const Quarters& y) {
    return {y[1], y[2], y[3], y[0] ^ y[1]};
}

// Transformation P: byte 4(k - 1) + i of the key is byte 8i + k - 1 of the value
// (GOST R 34.11-94 6.1, phi(i + 1 + 4(k - 1)) = 8i + k), so key word k - 1 gathers byte k - 1
// of each quarter.
CipherKey transformP(const Quarters& w) {
    CipherKey key{};
    for (unsigned word = 0; word < key.size(); ++word) {
        const unsigned shift = 8 * word;
        key[word] = static_cast<std::uint32_t>(
            ((w[0] >> shift) & 0xFF) | ((w[1] >> shift) & 0xFF) << 8 |
            ((w[2] >> shift) & 0xFF) << 16 | ((w[3] >> shift) & 0xFF) << 24);
    }
    return key;
}

Quarters xorOf(const Quarters& a, const Quarters& b) {
    return {a[0] ^ b[0], a[1] ^ b[1], a[2] ^ b[2], a[3] ^ b[3]};
}

// Key generation (GOST R 34.11-94 6.1) with C2 = C4 = 0.
std::array<CipherKey, 4> generateKeys(Quarters u, Quarters v) {
    static constexpr Quarters kC3 = {
        kGostC3[0] | std::uint64_t{kGostC3[1]} << 32, kGostC3[2] | std::uint64_t{kGostC3[3]} << 32,
        kGostC3[4] | std::uint64_t{kGostC3[5]} << 32, kGostC3[6] | std::uint64_t{kGostC3[7]} << 32};
    std::array<CipherKey, 4> keys{};
    keys[0] = transformP(xorOf(u, v));
    for (std::size_t index = 1; index < keys.size(); ++index) {
        u = transformA(u);
        if (index == 2) {
            u = xorOf(u, kC3);
        }
        v = transformA(transformA(v));
        keys[index] = transformP(xorOf(u, v));
    }
    return keys;
}

constexpr unsigned keyWordOfRound(unsigned round) {
    return round < 24 ? round % 8 : 7 - round % 8;
}

// GOST 28147-89 encryption of each quarter under its own key. The four are independent, so
// they run side by side, round by round. A quarter's low word is the cipher's N1.
Quarters encryptQuarters(const RoundTables& tables, const Quarters& h,
                         const std::array<CipherKey, 4>& keys) {
    std::array<std::uint32_t, 4> n1{};
    std::array<std::uint32_t, 4> n2{};
    for (std::size_t quarter = 0; quarter < 4; ++quarter) {
        n1[quarter] = static_cast<std::uint32_t>(h[quarter]);
        n2[quarter] = static_cast<std::uint32_t>(h[quarter] >> 32);
    }
#pragma GCC unroll 16
    for (unsigned round = 0; round < 32; round += 2) {
        for (std::size_t quarter = 0; quarter < 4; ++quarter) {
            n2[quarter] ^=
                roundFunction(tables, n1[quarter] + keys[quarter][keyWordOfRound(round)]);
        }
        for (std::size_t quarter = 0; quarter < 4; ++quarter) {
            n1[quarter] ^=
                roundFunction(tables, n2[quarter] + keys[quarter][keyWordOfRound(round + 1)]);
        }
    }
    // Round 32 leaves the halves unswapped, so the result is n2 low, n1 high.
    Quarters s{};
    for (std::size_t quarter = 0; quarter < 4; ++quarter) {
        s[quarter] = n2[quarter] | std::uint64_t{n1[quarter]} << 32;
    }
    return s;
}

// psi shifts the sixteen 16-bit parts y16..y1 one place down and puts
// y1 ^ y2 ^ y3 ^ y4 ^ y13 ^ y16 on top. psi4 makes four new parts in one 64-bit word: new part
// k is (y1+k ^ y2+k ^ y3+k ^ y4+k ^ y13+k) ^ the part before it (y16 for the first), which is
// a running XOR across the word's four parts.
Quarters psi4(const Quarters& y) {
    const std::uint64_t from2 = y[0] >> 16 | y[1] << 48;
    const std::uint64_t from3 = y[0] >> 32 | y[1] << 32;
    const std::uint64_t from4 = y[0] >> 48 | y[1] << 16;
    std::uint64_t top = y[0] ^ from2 ^ from3 ^ from4 ^ y[3] ^ (y[3] >> 48);
    top ^= top << 16;
    top ^= top << 32;
    return {y[1], y[2], y[3], top};
}

Quarters psi1(const Quarters& y) {
    const std::uint64_t part =
        (y[0] ^ y[0] >> 16 ^ y[0] >> 32 ^ y[0] >> 48 ^ y[3] ^ y[3] >> 48) & 0xFFFF;
    return {y[0] >> 16 | y[1] << 48, y[1] >> 16 | y[2] << 48, y[2] >> 16 | y[3] << 48,
            y[3] >> 16 | part << 48};
}

Quarters psiPower(Quarters y, unsigned power) {
    for (; power >= 4; power -= 4) {
        y = psi4(y);
    }
    for (; power > 0; --power) {
        y = psi1(y);
    }
    return y;
}

// The step function H = f(H, M) (GOST R 34.11-94 section 7).
void step(const RoundTables& tables, Words& hash, const Words& message) {
    const Quarters h = toQuarters(hash);
    const Quarters m = toQuarters(message);
    const Quarters s = encryptQuarters(tables, h, generateKeys(h, m));
    hash = toWords(psiPower(xorOf(h, psi1(xorOf(m, psiPower(s, 12)))), 61));
}

// sum = (sum + addend) modulo 2^256.
void add256(Words& sum, const Words& addend) {
    std::uint64_t carry = 0;
    for (std::size_t index = 0; index < sum.size(); ++index) {
        carry += std::uint64_t{sum[index]} + addend[index];
        sum[index] = static_cast<std::uint32_t>(carry);
        carry >>= 32;
    }
}

void processBlock(const RoundTables& tables, GostContext& context, const std::uint8_t* bytes,
                  std::uint32_t bitCount) {
    Words message{};
    for (std::size_t index = 0; index < message.size(); ++index) {
        message[index] = LoadLe32(bytes + 4 * index);
    }
    add256(context.Sum, message);
    step(tables, context.Hash, message);
    add256(context.Length, {bitCount});
}

void absorb(const RoundTables& tables, GostContext& context, const std::uint8_t* bytes,
            std::size_t length) {
    std::size_t taken = std::min<std::size_t>(kBlockSize - context.PartialBytes, length);
    std::copy_n(bytes, taken, context.Partial.begin() + context.PartialBytes);
    if (context.PartialBytes + taken < kBlockSize) {
        context.PartialBytes += static_cast<std::uint32_t>(taken);
        return;
    }
    processBlock(tables, context, context.Partial.data(), 8 * kBlockSize);
    // Strictly more than a block must remain: a last whole block waits in Partial.
    for (; taken + kBlockSize < length; taken += kBlockSize) {
        processBlock(tables, context, bytes + taken, 8 * kBlockSize);
    }
    std::copy_n(bytes + taken, length - taken, context.Partial.begin());
    context.PartialBytes = static_cast<std::uint32_t>(length - taken);
}

// Leaves the digest in context.Hash.
void close(const RoundTables& tables, GostContext& context) {
    if (context.PartialBytes != 0) {
        std::fill(context.Partial.begin() + context.PartialBytes, context.Partial.end(), 0);
        // The zero-filled block enters the sum and the step, but only its real bits are counted.
        processBlock(tables, context, context.Partial.data(), 8 * context.PartialBytes);
    }
    step(tables, context.Hash, context.Length);
    step(tables, context.Hash, context.Sum);
}

}  // namespace

void GostInit(GostContext& context) {
    context = GostContext{};
}

void GostUpdate(GostContext& context, const std::uint8_t* bytes, std::uint32_t length) {
    absorb(kRoundTables, context, bytes, length);
}

std::string GostFinal(GostContext& context) {
    close(kRoundTables, context);
    std::string text;
    for (const std::uint32_t word : context.Hash) {
        for (unsigned shift = 0; shift < 32; shift += 8) {
            text += HexDigits(2, word >> shift);
        }
    }
    return text;
}

GostCryptoPro::GostCryptoPro() { GostInit(m_context); }

void GostCryptoPro::update(std::span<const std::uint8_t> bytes) {
    absorb(kCryptoProRoundTables, m_context, bytes.data(), bytes.size());
}

void GostCryptoPro::finish(std::span<std::uint8_t, kDigestSize> digest) {
    close(kCryptoProRoundTables, m_context);
    for (std::size_t index = 0; index < m_context.Hash.size(); ++index) {
        StoreLe32(digest.data() + 4 * index, m_context.Hash[index]);
    }
}

}  // namespace tolvek::engine
