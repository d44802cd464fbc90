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
#include "engine/CrcStreams.h"
#include "engine/Keccak.h"
#include "engine/SHA.h"
#include "engine/Tiger.h"
#include "engine/XXHash.h"
#include "framework/DigestHashMD4.h"
#include "framework/DigestHashPanama.h"
#include "framework/DigestHashSapphire.h"
#include "framework/DigestHashSnefru.h"
#include "framework/DigestHashSquare.h"
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
AlgorithmEntry entry(std::string_view id, std::string_view caption, std::string_view description,
                     int position, const Provider& provider) {
    return {id, caption, description, position, provider, provider};
}

// clang-format off
const std::array kEntries = {
    entry("md2",        "MD2",             "MD2 (RFC 1319)",                                   0,  engine(HashTypeMD2)),
    entry("md4",        "MD4",             "MD4 (RFC 1320)",                                   1,  engine(HashTypeMD4)),
    // Files go through the framework's MD5 and strings through the engine's: the same function.
    AlgorithmEntry{"md5", "MD5",           "MD5 (RFC 1321)",                                   2,  kFramework<framework::THash_MD5>, engine(HashTypeMD5)},
    entry("sha1",       "SHA1",            "SHA-1 (FIPS 180-4)",                               3,  engine(HashTypeSHA1)),
    entry("sha256",     "SHA256",          "SHA-256 (FIPS 180-4)",                             4,  engine(HashTypeSHA256)),
    entry("sha384",     "SHA384",          "SHA-384 (FIPS 180-4)",                             5,  engine(HashTypeSHA384)),
    entry("sha512",     "SHA512",          "SHA-512 (FIPS 180-4)",                             6,  engine(HashTypeSHA512)),
    entry("haval128",   "HAVAL128",        "HAVAL, 128 bits, 3 passes",                        7,  engine(HashTypeHAVAL128)),
    entry("haval160",   "HAVAL160",        "HAVAL, 160 bits, 3 passes",                        8,  engine(HashTypeHAVAL160)),
    entry("haval192",   "HAVAL192",        "HAVAL, 192 bits, 3 passes",                        9,  engine(HashTypeHAVAL192)),
    entry("haval224",   "HAVAL 224",       "HAVAL, 224 bits, 3 passes",                        10, engine(HashTypeHAVAL224)),
    entry("haval256",   "HAVAL256",        "HAVAL, 256 bits, 3 passes",                        11, engine(HashTypeHAVAL256)),
    entry("gost",       "GOST R 34.11-94", "GOST R 34.11-94, test parameter S-boxes",          12, engine(HashTypeGOST)),
    entry("tiger128",   "TIGER128",        "Tiger-192 cut to 128 bits, 64-bit word form",      13, engine(HashTypeTiger128)),
    entry("tiger160",   "TIGER160",        "Tiger-192 cut to 160 bits, 64-bit word form",      14, engine(HashTypeTiger160)),
    entry("tiger192",   "TIGER192",        "Tiger-192, 64-bit word form",                      15, engine(HashTypeTiger192)),
    entry("ripemd128",  "RIPE-MD128",      "RIPEMD-128",                                       16, engine(HashTypeRIPEMD128)),
    entry("ripemd160",  "RIPE-MD160",      "RIPEMD-160",                                       17, engine(HashTypeRIPEMD160)),
    entry("crc32",      "CRC32",           "CRC-32 (ISO-HDLC, as zip and PNG)",                18, kCrc32),
    entry("crc16",      "CRC16",           "CRC-16/XMODEM",                                    19, kCrc16),
    entry("crc16arc",   "ARC-CRC",         "CRC-16/ARC",                                       20, kCrc16Arc),
    entry("sapphire",   "Sapphire",        "Sapphire stream cipher hash, 512 bits",            21, kFramework<framework::THash_Sapphire>),
    entry("panama",     "Panama",          "Panama hash, 256 bits",                            22, kFramework<framework::THash_Panama>),
    entry("whirlpool0", "Whirlpool",       "Whirlpool, 2000 version (Whirlpool-0)",            23, kFramework<framework::THash_Whirlpool>),
    entry("whirlpoolt", "Whirlpool 1",     "Whirlpool, 2001 version (Whirlpool-T)",            24, kFramework<framework::THash_Whirlpool1>),
    entry("square",     "Square",          "Square block cipher in MMO mode, 128 bits",        25, kFramework<framework::THash_Square>),
    entry("snefru128",  "Snefru 128 Bit",  "Snefru, 128 bits, 8 passes",                       26, kFramework<framework::THash_Snefru128>),
    entry("snefru256",  "Snefru 256 Bit",  "Snefru, 256 bits, 8 passes",                       27, kFramework<framework::THash_Snefru256>),
    entry("ripemd256",  "RIPE MD 256 bit", "RIPEMD-256",                                       28, kFramework<framework::THash_RipeMD256>),
    entry("ripemd320",  "RIPE MD 320 bit", "RIPEMD-320",                                       29, kFramework<framework::THash_RipeMD320>),
    entry("sha224",     "SHA224",          "SHA-224 (FIPS 180-4)",                             30, kStreaming<engine::Sha224>),
    entry("sha512-256", "SHA512/256",      "SHA-512/256 (FIPS 180-4)",                         31, kStreaming<engine::Sha512_256>),
    entry("sha3-224",   "SHA3-224",        "SHA3-224 (FIPS 202)",                              32, kStreaming<engine::Sha3_224>),
    entry("sha3-256",   "SHA3-256",        "SHA3-256 (FIPS 202)",                              33, kStreaming<engine::Sha3_256>),
    entry("sha3-384",   "SHA3-384",        "SHA3-384 (FIPS 202)",                              34, kStreaming<engine::Sha3_384>),
    entry("sha3-512",   "SHA3-512",        "SHA3-512 (FIPS 202)",                              35, kStreaming<engine::Sha3_512>),
    entry("blake2b",    "BLAKE2b-512",     "BLAKE2b, 64-byte digest, unkeyed (RFC 7693)",      36, kStreaming<engine::Blake2b>),
    entry("blake2s",    "BLAKE2s-256",     "BLAKE2s, 32-byte digest, unkeyed (RFC 7693)",      37, kStreaming<engine::Blake2s>),
    entry("blake3",     "BLAKE3",          "BLAKE3, 32-byte digest, default mode",             38, kStreaming<engine::Blake3>),
    entry("xxh64",      "XXH64",           "XXH64, seed 0 (not cryptographic)",                39, kStreaming<engine::Xxh64>),
    entry("xxh3",       "XXH3-64",         "XXH3 64-bit, seed 0 (not cryptographic)",          40, kStreaming<engine::Xxh3_64>),
    entry("xxh128",     "XXH3-128",        "XXH3 128-bit, seed 0 (not cryptographic)",         41, kStreaming<engine::Xxh3_128>),
    entry("crc32c",     "CRC-32C",         "CRC-32C (iSCSI, Castagnoli)",                      42, kStreaming<engine::Crc32c>),
    entry("crc64",      "CRC-64",          "CRC-64/XZ",                                        43, kStreaming<engine::Crc64Xz>),
    entry("whirlpool",  "Whirlpool (2003)", "Whirlpool, final 2003 version (ISO/IEC 10118-3)", 44, kFramework<framework::THash_Whirlpool2003>),
    entry("tiger",      "Tiger (standard)", "Tiger-192, words little-endian, as other tools print it", 45, kStreaming<engine::TigerLittleEndian>),
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
    for (const auto field : {&AlgorithmEntry::id, &AlgorithmEntry::caption}) {
        const auto found = std::ranges::find_if(kEntries, [&](const AlgorithmEntry& entry) {
            return equalIgnoringAsciiCase(entry.*field, name);
        });
        if (found != kEntries.end()) {
            return &*found;
        }
    }
    return nullptr;
}

}  // namespace tolvek::app
