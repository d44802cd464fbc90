#include "engine/XXHash.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/Backends.h"
#include "engine/EngineUtils.h"
#include "engine/XXHashSecret.h"

namespace tolvek::engine {

using namespace xxhash;

namespace {

__extension__ using Uint128 = unsigned __int128;

std::uint64_t foldedProduct(std::uint64_t left, std::uint64_t right) {
    const Uint128 product = static_cast<Uint128>(left) * right;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

struct Hash128 {
    std::uint64_t low;
    std::uint64_t high;
};

Hash128 fullProduct(std::uint64_t left, std::uint64_t right) {
    const Uint128 product = static_cast<Uint128>(left) * right;
    return {static_cast<std::uint64_t>(product), static_cast<std::uint64_t>(product >> 64)};
}

const std::uint8_t* const kSecret = kDefaultSecret.data();

std::uint64_t secretWord(std::size_t offset) { return LoadLe64(kSecret + offset); }
std::uint32_t secretHalf(std::size_t offset) { return LoadLe32(kSecret + offset); }

// ---- XXH64 ----

std::uint64_t xxh64Round(std::uint64_t lane, std::uint64_t input) {
    return std::rotl(lane + input * kPrime64_2, 31) * kPrime64_1;
}

std::uint64_t xxh64MergeRound(std::uint64_t hash, std::uint64_t lane) {
    return (hash ^ xxh64Round(0, lane)) * kPrime64_1 + kPrime64_4;
}

std::uint64_t xxh64Avalanche(std::uint64_t hash) {
    hash ^= hash >> 33;
    hash *= kPrime64_2;
    hash ^= hash >> 29;
    hash *= kPrime64_3;
    return hash ^ (hash >> 32);
}

// ---- XXH3 short inputs ----

std::uint64_t xxh3Avalanche(std::uint64_t hash) {
    hash ^= hash >> 37;
    hash *= kPrimeMx1;
    return hash ^ (hash >> 32);
}

std::uint64_t rrmxmx(std::uint64_t hash, std::uint64_t length) {
    hash ^= std::rotl(hash, 49) ^ std::rotl(hash, 24);
    hash *= kPrimeMx2;
    hash ^= (hash >> 35) + length;
    hash *= kPrimeMx2;
    return hash ^ (hash >> 28);
}

std::uint64_t mix16(const std::uint8_t* input, std::size_t secretOffset, std::uint64_t seed) {
    return foldedProduct(LoadLe64(input) ^ (secretWord(secretOffset) + seed),
                         LoadLe64(input + 8) ^ (secretWord(secretOffset + 8) - seed));
}

// The three sampled bytes and the length of a 1..3-byte input.
std::uint32_t combinedBytes(std::span<const std::uint8_t> input) {
    const std::size_t length = input.size();
    return (std::uint32_t{input[0]} << 16) | (std::uint32_t{input[length >> 1]} << 24) |
           input[length - 1] | static_cast<std::uint32_t>(length << 8);
}

std::uint64_t xxh3Short64(std::span<const std::uint8_t> input) {
    const std::uint8_t* bytes = input.data();
    const std::size_t length = input.size();
    if (length == 0) {
        return xxh64Avalanche(secretWord(56) ^ secretWord(64));
    }
    if (length <= 3) {
        return xxh64Avalanche(combinedBytes(input) ^ std::uint64_t{secretHalf(0) ^ secretHalf(4)});
    }
    if (length <= 8) {
        const std::uint64_t word =
            LoadLe32(bytes + length - 4) + (std::uint64_t{LoadLe32(bytes)} << 32);
        return rrmxmx(word ^ (secretWord(8) ^ secretWord(16)), length);
    }
    if (length <= 16) {
        const std::uint64_t low = LoadLe64(bytes) ^ (secretWord(24) ^ secretWord(32));
        const std::uint64_t high = LoadLe64(bytes + length - 8) ^ (secretWord(40) ^ secretWord(48));
        return xxh3Avalanche(length + ByteSwap64(low) + high + foldedProduct(low, high));
    }
    std::uint64_t hash = length * kPrime64_1;
    if (length <= 128) {
        // Pairs of 16-byte pieces from both ends, as many as the length covers.
        const std::size_t pairs = (length - 1) / 32 + 1;
        for (std::size_t pair = pairs; pair-- != 0;) {
            hash += mix16(bytes + 16 * pair, 32 * pair, 0);
            hash += mix16(bytes + length - 16 * (pair + 1), 32 * pair + 16, 0);
        }
        return xxh3Avalanche(hash);
    }
    const std::size_t rounds = length / 16;
    for (std::size_t round = 0; round < 8; ++round) {
        hash += mix16(bytes + 16 * round, 16 * round, 0);
    }
    hash = xxh3Avalanche(hash);
    for (std::size_t round = 8; round < rounds; ++round) {
        hash += mix16(bytes + 16 * round, 16 * (round - 8) + 3, 0);
    }
    hash += mix16(bytes + length - 16, 136 - 17, 0);
    return xxh3Avalanche(hash);
}

Hash128 mix32(Hash128 acc, const std::uint8_t* first, const std::uint8_t* second,
              std::size_t secretOffset, std::uint64_t seed) {
    acc.low += mix16(first, secretOffset, seed);
    acc.low ^= LoadLe64(second) + LoadLe64(second + 8);
    acc.high += mix16(second, secretOffset + 16, seed);
    acc.high ^= LoadLe64(first) + LoadLe64(first + 8);
    return acc;
}

Hash128 closeMid128(Hash128 acc, std::uint64_t length) {
    return {xxh3Avalanche(acc.low + acc.high),
            0 - xxh3Avalanche(acc.low * kPrime64_1 + acc.high * kPrime64_4 + length * kPrime64_2)};
}

Hash128 xxh3Short128(std::span<const std::uint8_t> input) {
    const std::uint8_t* bytes = input.data();
    const std::size_t length = input.size();
    if (length == 0) {
        return {xxh64Avalanche(secretWord(64) ^ secretWord(72)),
                xxh64Avalanche(secretWord(80) ^ secretWord(88))};
    }
    if (length <= 3) {
        const std::uint32_t low = combinedBytes(input);
        const std::uint32_t high = std::rotl(ByteSwap32(low), 13);
        return {xxh64Avalanche(low ^ std::uint64_t{secretHalf(0) ^ secretHalf(4)}),
                xxh64Avalanche(high ^ std::uint64_t{secretHalf(8) ^ secretHalf(12)})};
    }
    if (length <= 8) {
        const std::uint64_t word =
            LoadLe32(bytes) + (std::uint64_t{LoadLe32(bytes + length - 4)} << 32);
        Hash128 product =
            fullProduct(word ^ (secretWord(16) ^ secretWord(24)), kPrime64_1 + (length << 2));
        product.high += product.low << 1;
        product.low ^= product.high >> 3;
        product.low ^= product.low >> 35;
        product.low *= kPrimeMx2;
        product.low ^= product.low >> 28;
        return {product.low, xxh3Avalanche(product.high)};
    }
    if (length <= 16) {
        const std::uint64_t lowFlip = secretWord(32) ^ secretWord(40);
        const std::uint64_t highFlip = secretWord(48) ^ secretWord(56);
        const std::uint64_t first = LoadLe64(bytes);
        const std::uint64_t last = LoadLe64(bytes + length - 8) ^ highFlip;
        Hash128 product = fullProduct(first ^ last ^ highFlip ^ lowFlip, kPrime64_1);
        product.low += static_cast<std::uint64_t>(length - 1) << 54;
        product.high += last + std::uint64_t{static_cast<std::uint32_t>(last)} * (kPrime32_2 - 1);
        product.low ^= ByteSwap64(product.high);
        Hash128 result = fullProduct(product.low, kPrime64_2);
        result.high += product.high * kPrime64_2;
        return {xxh3Avalanche(result.low), xxh3Avalanche(result.high)};
    }
    Hash128 acc = {length * kPrime64_1, 0};
    if (length <= 128) {
        const std::size_t pairs = (length - 1) / 32 + 1;
        for (std::size_t pair = pairs; pair-- != 0;) {
            acc = mix32(acc, bytes + 16 * pair, bytes + length - 16 * (pair + 1), 32 * pair, 0);
        }
        return closeMid128(acc, length);
    }
    const std::size_t rounds = length / 32;
    for (std::size_t round = 0; round < 4; ++round) {
        acc = mix32(acc, bytes + 32 * round, bytes + 32 * round + 16, 32 * round, 0);
    }
    acc = {xxh3Avalanche(acc.low), xxh3Avalanche(acc.high)};
    for (std::size_t round = 4; round < rounds; ++round) {
        acc = mix32(acc, bytes + 32 * round, bytes + 32 * round + 16, 32 * (round - 4) + 3, 0);
    }
    acc = mix32(acc, bytes + length - 16, bytes + length - 32, 136 - 17 - 16, 0);
    return closeMid128(acc, length);
}

// ---- XXH3 long inputs ----

constexpr std::size_t kScrambleOffset = kDefaultSecret.size() - kStripeSize;
constexpr std::size_t kLastStripeOffset = kDefaultSecret.size() - kStripeSize - 7;

void accumulateStripe(Accumulators& acc, const std::uint8_t* stripe, const std::uint8_t* key) {
    for (std::size_t lane = 0; lane < 8; ++lane) {
        const std::uint64_t data = LoadLe64(stripe + 8 * lane);
        const std::uint64_t keyed = data ^ LoadLe64(key + 8 * lane);
        acc[lane ^ 1] += data;
        acc[lane] += (keyed & 0xffffffffu) * (keyed >> 32);
    }
}

void scramble(Accumulators& acc) {
    for (std::size_t lane = 0; lane < 8; ++lane) {
        std::uint64_t word = acc[lane];
        word ^= word >> 47;
        word ^= secretWord(kScrambleOffset + 8 * lane);
        acc[lane] = word * kPrime32_1;
    }
}

std::uint64_t mergeAccumulators(const Accumulators& acc, std::size_t secretOffset,
                                std::uint64_t start) {
    std::uint64_t result = start;
    for (std::size_t pair = 0; pair < 4; ++pair) {
        result += foldedProduct(acc[2 * pair] ^ secretWord(secretOffset + 16 * pair),
                                acc[2 * pair + 1] ^ secretWord(secretOffset + 16 * pair + 8));
    }
    return xxh3Avalanche(result);
}

void storeBigEndian(std::span<std::uint8_t> digest, std::uint64_t value) {
    StoreBe64(digest.data(), value);
}

}  // namespace

// ---- XXH64 ----

template <>
std::array<std::uint64_t, 4> Xxh64::initialLanes() {
    return {kPrime64_1 + kPrime64_2, kPrime64_2, 0, 0 - kPrime64_1};
}

template <>
void Xxh64::absorbStripes(std::array<std::uint64_t, 4>& lanes, const std::uint8_t* stripes,
                          std::size_t stripeCount) {
    std::array<std::uint64_t, 4> local = lanes;
    for (; stripeCount != 0; --stripeCount, stripes += kStripe) {
        for (std::size_t lane = 0; lane < 4; ++lane) {
            local[lane] = xxh64Round(local[lane], LoadLe64(stripes + 8 * lane));
        }
    }
    lanes = local;
}

template <>
void Xxh64::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    std::uint64_t hash = kPrime64_5;
    if (m_length >= kStripe) {
        hash = std::rotl(m_lanes[0], 1) + std::rotl(m_lanes[1], 7) + std::rotl(m_lanes[2], 12) +
               std::rotl(m_lanes[3], 18);
        for (const std::uint64_t lane : m_lanes) {
            hash = xxh64MergeRound(hash, lane);
        }
    }
    hash += m_length;
    const std::uint8_t* tail = m_buffer.data();
    std::size_t left = m_fill;
    for (; left >= 8; left -= 8, tail += 8) {
        hash = std::rotl(hash ^ xxh64Round(0, LoadLe64(tail)), 27) * kPrime64_1 + kPrime64_4;
    }
    if (left >= 4) {
        hash = std::rotl(hash ^ (LoadLe32(tail) * kPrime64_1), 23) * kPrime64_2 + kPrime64_3;
        left -= 4;
        tail += 4;
    }
    for (; left != 0; --left, ++tail) {
        hash = std::rotl(hash ^ (*tail * kPrime64_5), 11) * kPrime64_1;
    }
    storeBigEndian(digest, xxh64Avalanche(hash));
}

// ---- XXH3 ----

namespace xxhash {

void AccumulateStripesPortable(Accumulators& accumulators, const std::uint8_t* stripes,
                               std::size_t stripeCount, std::size_t stripeInBlock) {
    Accumulators local = accumulators;
    for (; stripeCount != 0; --stripeCount, stripes += kStripeSize) {
        accumulateStripe(local, stripes, kSecret + 8 * stripeInBlock);
        if (++stripeInBlock == kStripesPerBlock) {
            scramble(local);
            stripeInBlock = 0;
        }
    }
    accumulators = local;
}

}  // namespace xxhash

Xxh3Stream::Xxh3Stream()
    : m_accumulators{kPrime32_3, kPrime64_1, kPrime64_2, kPrime64_3,
                     kPrime64_4, kPrime32_2, kPrime64_5, kPrime32_1} {}

void Xxh3Stream::accumulate(const std::uint8_t* stripes, std::size_t stripeCount) {
    if (stripeCount == 0) {
        return;
    }
    AccumulateStripes(m_accumulators, stripes, stripeCount, m_stripeInBlock);
    m_stripeInBlock = (m_stripeInBlock + stripeCount) % kStripesPerBlock;
    std::memcpy(m_lastStripe.data(), stripes + (stripeCount - 1) * kStripeSize, kStripeSize);
}

// A stripe is accumulated only once a byte after it has arrived, so that the message's last
// stripe is always left for closedAccumulators.
void Xxh3Stream::update(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    m_length += bytes.size();
    if (isShort()) {
        std::memcpy(m_buffer.data() + m_fill, bytes.data(), bytes.size());
        m_fill += bytes.size();
        return;
    }
    if (m_fill != 0) {
        // Complete the buffered stripes; they go once bytes follow them.
        const std::size_t part = std::min((kStripeSize - m_fill % kStripeSize) % kStripeSize,
                                          bytes.size());
        std::memcpy(m_buffer.data() + m_fill, bytes.data(), part);
        m_fill += part;
        bytes = bytes.subspan(part);
        if (bytes.empty()) {
            return;
        }
        accumulate(m_buffer.data(), m_fill / kStripeSize);
        m_fill = 0;
    }
    const std::size_t stripes = (bytes.size() - 1) / kStripeSize;
    accumulate(bytes.data(), stripes);
    m_fill = bytes.size() - stripes * kStripeSize;
    std::memcpy(m_buffer.data(), bytes.data() + stripes * kStripeSize, m_fill);
}

Accumulators Xxh3Stream::closedAccumulators() const {
    Xxh3Stream closing = *this;
    const std::size_t stripes = (m_fill - 1) / kStripeSize;
    closing.accumulate(m_buffer.data(), stripes);
    // The message's last 64 bytes, which may begin in the last stripe accumulated.
    std::array<std::uint8_t, kStripeSize> last;
    const std::size_t waiting = m_fill - stripes * kStripeSize;
    const std::size_t earlier = kStripeSize - waiting;
    std::memcpy(last.data(), closing.m_lastStripe.data() + waiting, earlier);
    std::memcpy(last.data() + earlier, m_buffer.data() + stripes * kStripeSize, waiting);
    accumulateStripe(closing.m_accumulators, last.data(), kSecret + kLastStripeOffset);
    return closing.m_accumulators;
}

void Xxh3_64::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    if (isShort()) {
        return storeBigEndian(digest, xxh3Short64(shortMessage()));
    }
    storeBigEndian(digest, mergeAccumulators(closedAccumulators(), 11, length() * kPrime64_1));
}

void Xxh3_128::finish(std::span<std::uint8_t, kDigestSize> digest) const {
    Hash128 hash;
    if (isShort()) {
        hash = xxh3Short128(shortMessage());
    } else {
        const Accumulators acc = closedAccumulators();
        hash = {mergeAccumulators(acc, 11, length() * kPrime64_1),
                mergeAccumulators(acc, kDefaultSecret.size() - kStripeSize - 11,
                                  ~(length() * kPrime64_2))};
    }
    StoreBe64(digest.data(), hash.high);
    StoreBe64(digest.data() + 8, hash.low);
}

}  // namespace tolvek::engine
