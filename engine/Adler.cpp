#include "engine/Adler.h"

#include <algorithm>

#include "engine/Backends.h"
#include "engine/EngineUtils.h"

namespace tolvek::engine {

namespace {

constexpr std::uint32_t kModulus = 65521;
// The longest run after which s2 still fits 32 bits when both sums start below the modulus
// and every byte is 255 (RFC 1950's NMAX): 255 n (n + 1) / 2 + (n + 1) (65521 - 1) < 2^32.
constexpr std::size_t kLongestRun = 5552;

}  // namespace

std::uint32_t Adler32UpdatePortable(std::uint32_t adler, const std::uint8_t* bytes,
                                    std::size_t length) {
    std::uint32_t sum1 = adler & 0xFFFF;
    std::uint32_t sum2 = adler >> 16;
    while (length > 0) {
        const std::size_t run = std::min(length, kLongestRun);
        for (const std::uint8_t* const end = bytes + run; bytes != end; ++bytes) {
            sum1 += *bytes;
            sum2 += sum1;
        }
        length -= run;
        sum1 %= kModulus;
        sum2 %= kModulus;
    }
    return sum1 | (sum2 << 16);
}

void Adler32Init(Adler32State& state) {
    state = 1;
}

std::string Adler32Final(Adler32State& state) {
    return HexDigits(8, state);
}

}  // namespace tolvek::engine
