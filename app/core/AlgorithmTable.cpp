#include "app/core/AlgorithmTable.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/core/AsciiText.h"
#include "app/core/ChecksumProvider.h"
#include "app/core/EngineProvider.h"
#include "app/core/FrameworkProvider.h"
#include "app/core/StreamingProvider.h"
#include "engine/Blake2.h"
#include "engine/Blake3.h"
#include "engine/XXHash.h"
#include "framework/DigestHashMD4.h"
#include "framework/DigestHashSapphire.h"
#include "framework/DigestHashSnefru.h"
#include "framework/DigestHashSquare.h"
#include "framework/DigestHashPanama.h"
#include "framework/DigestHashWhirlpool.h"

namespace tolvek::app {

namespace {

using namespace tolvek::engine;

template <std::size_t... Offset>
std::array<EngineProvider, kHashTypeCount> makeEngineProviders(std::index_sequence<Offset...>) {
    return {EngineProvider{static_cast<HashType>(kFirstHashType + Offset)}...};
}

// One engine provider per hash type.
const std::array kEngineProviders =
    makeEngineProviders(std::make_index_sequence<kHashTypeCount>{});

const EngineProvider& engine(HashType type) { return kEngineProviders[type - kFirstHashType]; }

const ChecksumProvider kCrc32{FileChecksum::Crc32};
const ChecksumProvider kCrc16{FileChecksum::Crc16Xmodem};
const ChecksumProvider kCrc16Arc{FileChecksum::Crc16Arc};

template <class Class>
const FrameworkProvider kFramework{framework::ClassOf<Class>};

template <StreamingHash Hash>
const StreamingProvider<Hash> kStreaming;

// An entry that computes the same function for files and strings through one provider.
AlgorithmEntry entry(std::string_view id, std::string_view caption, int position,
                     const Provider& provider) {
    return {id, caption, position, provider, provider};
}

// clang-format off
const std::array kEntries = {
    entry("md2",        "MD2",             0,  engine(HashTypeMD2)),
    entry("md4",        "MD4",             1,  engine(HashTypeMD4)),
    // Files go through the framework's MD5 and strings through the engine's: the same function.
    AlgorithmEntry{"md5", "MD5", 2, kFramework<framework::THash_MD5>, engine(HashTypeMD5)},
    entry("sha1",       "SHA1",            3,  engine(HashTypeSHA1)),
    entry("sha256",     "SHA256",          4,  engine(HashTypeSHA256)),
    entry("sha384",     "SHA384",          5,  engine(HashTypeSHA384)),
    entry("sha512",     "SHA512",          6,  engine(HashTypeSHA512)),
    entry("haval128",   "HAVAL128",        7,  engine(HashTypeHAVAL128)),
    entry("haval160",   "HAVAL160",        8,  engine(HashTypeHAVAL160)),
    entry("haval192",   "HAVAL192",        9,  engine(HashTypeHAVAL192)),
    entry("haval224",   "HAVAL 224",       10, engine(HashTypeHAVAL224)),
    entry("haval256",   "HAVAL256",        11, engine(HashTypeHAVAL256)),
    entry("gost",       "GOST R 34.11-94", 12, engine(HashTypeGOST)),
    entry("tiger128",   "TIGER128",        13, engine(HashTypeTiger128)),
    entry("tiger160",   "TIGER160",        14, engine(HashTypeTiger160)),
    entry("tiger192",   "TIGER192",        15, engine(HashTypeTiger192)),
    entry("ripemd128",  "RIPE-MD128",      16, engine(HashTypeRIPEMD128)),
    entry("ripemd160",  "RIPE-MD160",      17, engine(HashTypeRIPEMD160)),
    entry("crc32",      "CRC32",           18, kCrc32),
    entry("crc16",      "CRC16",           19, kCrc16),
    entry("crc16arc",   "ARC-CRC",         20, kCrc16Arc),
    entry("sapphire",   "Sapphire",        21, kFramework<framework::THash_Sapphire>),
    entry("panama",     "Panama",          22, kFramework<framework::THash_Panama>),
    entry("whirlpool",  "Whirlpool",       23, kFramework<framework::THash_Whirlpool>),
    entry("whirlpool1", "Whirlpool 1",     24, kFramework<framework::THash_Whirlpool1>),
    entry("square",     "Square",          25, kFramework<framework::THash_Square>),
    entry("snefru128",  "Snefru 128 Bit",  26, kFramework<framework::THash_Snefru128>),
    entry("snefru256",  "Snefru 256 Bit",  27, kFramework<framework::THash_Snefru256>),
    entry("ripemd256",  "RIPE MD 256 bit", 28, kFramework<framework::THash_RipeMD256>),
    entry("ripemd320",  "RIPE MD 320 bit", 29, kFramework<framework::THash_RipeMD320>),
    entry("blake2b",    "BLAKE2b-512",     30, kStreaming<Blake2b>),
    entry("blake2s",    "BLAKE2s-256",     31, kStreaming<Blake2s>),
    entry("blake3",     "BLAKE3",          32, kStreaming<Blake3>),
    entry("xxh64",      "XXH64",           33, kStreaming<Xxh64>),
    entry("xxh3",       "XXH3-64",         34, kStreaming<Xxh3_64>),
    entry("xxh128",     "XXH3-128",        35, kStreaming<Xxh3_128>),
};
// clang-format on

bool equalIgnoringAsciiCase(std::string_view left, std::string_view right) {
    return AsciiLower(left) == AsciiLower(right);
}

}  // namespace

std::span<const AlgorithmEntry> AlgorithmEntries() { return kEntries; }

const AlgorithmEntry* AlgorithmAt(int position) {
    const auto found = std::ranges::find(kEntries, position, &AlgorithmEntry::position);
    return found != kEntries.end() ? &*found : nullptr;
}

const AlgorithmEntry* FindAlgorithm(std::string_view name) {
    const auto found = std::ranges::find_if(kEntries, [&](const AlgorithmEntry& entry) {
        return equalIgnoringAsciiCase(entry.id, name) || equalIgnoringAsciiCase(entry.caption, name);
    });
    return found != kEntries.end() ? &*found : nullptr;
}

}  // namespace tolvek::app
