#include "app/hashing/AlgorithmTable.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/hashing/AsciiText.h"
#include "app/hashing/Providers.h"
#include "engine/Blake2.h"
#include "engine/CompositeHashes.h"
#include "engine/Blake3.h"
#include "engine/CrcStreams.h"
#include "engine/Gost.h"
#include "engine/KangarooTwelve.h"
#include "engine/Keccak.h"
#include "engine/QuickXor.h"
#include "engine/SHA.h"
#include "engine/Sm3.h"
#include "engine/Streebog.h"
#include "engine/Tiger.h"
#include "engine/XXHash.h"
#include "framework/DigestHashMD4.h"
#include "framework/DigestHashPanama.h"
#include "framework/DigestHashSapphire.h"
#include "framework/DigestHashSnefru.h"
#include "framework/DigestHashSquare.h"
#include "framework/DigestHashWhirlpool.h"

namespace tolvek::hashing {

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

template <FileChecksum Kind>
const ChecksumProvider kChecksum{Kind};

template <class Class>
const FrameworkProvider kFramework = FrameworkProvider::of<Class>();

// A provider for one of the engine's streaming hashes: entry("id", "Caption", "what",
// streaming<engine::TheHash>) is the whole row.
template <StreamingHash Hash>
const StreamingProvider<Hash> streaming{};

// An entry that computes the same function for files and strings through one provider.
AlgorithmEntry entry(std::string_view id, std::string_view caption, std::string_view description,
                     const Provider& provider, std::string_view weakness = {}) {
    return {id, caption, description, provider, provider, FileFailureShown::Message, weakness};
}

constexpr std::string_view kChecksumWeakness = "a checksum: catches accidental errors only";
constexpr std::string_view kNonCryptographic = "a fast non-cryptographic hash";
constexpr std::string_view kHavalCollisions =
    "collisions for 3-pass HAVAL since 2003 (Van Rompay et al.)";
constexpr std::string_view kSnefruAttack =
    "broken by differential cryptanalysis (Biham and Shamir, 1991)";

// A whole-file checksum entry: the main window shows a file it could not read as the empty text.
AlgorithmEntry checksumEntry(std::string_view id, std::string_view caption,
                             std::string_view description, const Provider& provider) {
    const FileFailureShown failure = FileFailureShown::EmptyText;
    return {id, caption, description, provider, provider, failure, kChecksumWeakness};
}

// In list order: the index is the list position.
// clang-format off
const std::array kEntries = {
    entry("md2",        "MD2",              "MD2 (RFC 1319)",                                  engine(HashTypeMD2), "collision and preimage attacks below brute force; retired by RFC 6149"),
    entry("md4",        "MD4",              "MD4 (RFC 1320)",                                  engine(HashTypeMD4), "collisions by hand since 1996 (Dobbertin); retired by RFC 6150"),
    // Files go through the framework's MD5 and strings through the engine's: the same function.
    AlgorithmEntry{"md5", "MD5",            "MD5 (RFC 1321)",                                  kFramework<framework::THash_MD5>, engine(HashTypeMD5), FileFailureShown::Message, "practical collisions since 2004 (Wang et al.), RFC 6151"},
    entry("sha1",       "SHA1",             "SHA-1 (FIPS 180-4)",                              engine(HashTypeSHA1), "practical collisions since 2017 (SHAttered)"),
    entry("sha256",     "SHA256",           "SHA-256 (FIPS 180-4)",                            engine(HashTypeSHA256)),
    entry("sha384",     "SHA384",           "SHA-384 (FIPS 180-4)",                            engine(HashTypeSHA384)),
    entry("sha512",     "SHA512",           "SHA-512 (FIPS 180-4)",                            engine(HashTypeSHA512)),
    entry("haval128",   "HAVAL128",         "HAVAL, 128 bits, 3 passes",                       engine(HashTypeHAVAL128), kHavalCollisions),
    entry("haval160",   "HAVAL160",         "HAVAL, 160 bits, 3 passes",                       engine(HashTypeHAVAL160), kHavalCollisions),
    entry("haval192",   "HAVAL192",         "HAVAL, 192 bits, 3 passes",                       engine(HashTypeHAVAL192), kHavalCollisions),
    entry("haval224",   "HAVAL 224",        "HAVAL, 224 bits, 3 passes",                       engine(HashTypeHAVAL224), kHavalCollisions),
    entry("haval256",   "HAVAL256",         "HAVAL, 256 bits, 3 passes",                       engine(HashTypeHAVAL256), kHavalCollisions),
    entry("gost",       "GOST R 34.11-94",  "GOST R 34.11-94, test parameter S-boxes",         engine(HashTypeGOST)),
    entry("tiger128",   "TIGER128",         "Tiger-192 cut to 128 bits, 64-bit word form",     engine(HashTypeTiger128), "128 bits of Tiger: a birthday search needs only 2^64 steps"),
    entry("tiger160",   "TIGER160",         "Tiger-192 cut to 160 bits, 64-bit word form",     engine(HashTypeTiger160)),
    entry("tiger192",   "TIGER192",         "Tiger-192, 64-bit word form",                     engine(HashTypeTiger192)),
    entry("ripemd128",  "RIPE-MD128",       "RIPEMD-128",                                      engine(HashTypeRIPEMD128)),
    entry("ripemd160",  "RIPE-MD160",       "RIPEMD-160",                                      engine(HashTypeRIPEMD160)),
    checksumEntry("crc32",    "CRC32",      "CRC-32 (ISO-HDLC, as zip and PNG)",               kChecksum<FileChecksum::Crc32>),
    checksumEntry("crc16",    "CRC16",      "CRC-16/XMODEM",                                   kChecksum<FileChecksum::Crc16Xmodem>),
    checksumEntry("crc16arc", "ARC-CRC",    "CRC-16/ARC",                                      kChecksum<FileChecksum::Crc16Arc>),
    entry("sapphire",   "Sapphire",         "Sapphire stream cipher hash, 512 bits",           kFramework<framework::THash_Sapphire>),
    entry("panama",     "Panama",           "Panama hash, 256 bits",                           kFramework<framework::THash_Panama>, "collisions in an instant since 2007 (Daemen and Van Assche)"),
    entry("whirlpool0", "Whirlpool",        "Whirlpool, 2000 version (Whirlpool-0)",           kFramework<framework::THash_Whirlpool>),
    entry("whirlpoolt", "Whirlpool 1",      "Whirlpool, 2001 version (Whirlpool-T)",           kFramework<framework::THash_Whirlpool1>),
    entry("square",     "Square",           "Square block cipher in MMO mode, 128 bits",       kFramework<framework::THash_Square>),
    entry("snefru128",  "Snefru 128 Bit",   "Snefru, 128 bits, 8 passes",                      kFramework<framework::THash_Snefru128>, kSnefruAttack),
    entry("snefru256",  "Snefru 256 Bit",   "Snefru, 256 bits, 8 passes",                      kFramework<framework::THash_Snefru256>, kSnefruAttack),
    entry("ripemd256",  "RIPE MD 256 bit",  "RIPEMD-256",                                      kFramework<framework::THash_RipeMD256>),
    entry("ripemd320",  "RIPE MD 320 bit",  "RIPEMD-320",                                      kFramework<framework::THash_RipeMD320>),
    entry("sha224",     "SHA224",           "SHA-224 (FIPS 180-4)",                            streaming<Sha224>),
    entry("sha512-256", "SHA512/256",       "SHA-512/256 (FIPS 180-4)",                        streaming<Sha512_256>),
    entry("sha3-224",   "SHA3-224",         "SHA3-224 (FIPS 202)",                             streaming<Sha3_224>),
    entry("sha3-256",   "SHA3-256",         "SHA3-256 (FIPS 202)",                             streaming<Sha3_256>),
    entry("sha3-384",   "SHA3-384",         "SHA3-384 (FIPS 202)",                             streaming<Sha3_384>),
    entry("sha3-512",   "SHA3-512",         "SHA3-512 (FIPS 202)",                             streaming<Sha3_512>),
    entry("blake2b",    "BLAKE2b-512",      "BLAKE2b, 64-byte digest, unkeyed (RFC 7693)",     streaming<Blake2b>),
    entry("blake2s",    "BLAKE2s-256",      "BLAKE2s, 32-byte digest, unkeyed (RFC 7693)",     streaming<Blake2s>),
    entry("blake3",     "BLAKE3",           "BLAKE3, 32-byte digest, default mode",            streaming<Blake3>),
    entry("xxh64",      "XXH64",            "XXH64, seed 0 (not cryptographic)",               streaming<Xxh64>, kNonCryptographic),
    entry("xxh3",       "XXH3-64",          "XXH3 64-bit, seed 0 (not cryptographic)",         streaming<Xxh3_64>, kNonCryptographic),
    entry("xxh128",     "XXH3-128",         "XXH3 128-bit, seed 0 (not cryptographic)",        streaming<Xxh3_128>, kNonCryptographic),
    entry("crc32c",     "CRC-32C",          "CRC-32C (iSCSI, Castagnoli)",                     streaming<Crc32c>, kChecksumWeakness),
    entry("crc64",      "CRC-64",           "CRC-64/XZ",                                       streaming<Crc64Xz>, kChecksumWeakness),
    entry("whirlpool",  "Whirlpool (2003)", "Whirlpool, final 2003 version (ISO/IEC 10118-3)", kFramework<framework::THash_Whirlpool2003>),
    entry("tiger",      "Tiger (standard)", "Tiger-192, words little-endian, as other tools print it", streaming<TigerLittleEndian>),
    entry("crc64nvme",  "CRC-64/NVME",      "CRC-64/NVME, as object stores check uploads",     streaming<Crc64Nvme>, kChecksumWeakness),
    entry("xxh32",      "XXH32",            "XXH32, seed 0 (not cryptographic)",               streaming<Xxh32>, kNonCryptographic),
    entry("ed2k",       "ED2K",             "eD2k link hash: MD4 of 9500 KiB chunks",          streaming<Ed2k>, "built on MD4, which has collisions by hand since 1996"),
    entry("quickxor",   "QuickXorHash",     "QuickXorHash, as a cloud drive shows for files",  streaming<QuickXor>, "an XOR of shifted bytes: catches accidental errors only"),
    entry("sm3",        "SM3",              "SM3 (GB/T 32905-2016)",                           streaming<Sm3>),
    entry("gost-cryptopro", "GOST R 34.11-94 CryptoPro", "GOST R 34.11-94, CryptoPro parameter S-boxes", streaming<GostCryptoPro>),
    entry("streebog256", "Streebog-256",    "Streebog, 256 bits (GOST R 34.11-2012, RFC 6986)", streaming<Streebog256>),
    entry("streebog512", "Streebog-512",    "Streebog, 512 bits (GOST R 34.11-2012, RFC 6986)", streaming<Streebog512>),
    entry("blake2sp",   "BLAKE2sp",         "BLAKE2sp, 8 parallel BLAKE2s leaves, 32-byte digest", streaming<Blake2sp>),
    entry("blake2bp",   "BLAKE2bp",         "BLAKE2bp, 4 parallel BLAKE2b leaves, 64-byte digest", streaming<Blake2bp>),
    entry("shake128",   "SHAKE128",         "SHAKE128 (FIPS 202), 32-byte output",             streaming<Shake128>),
    entry("shake256",   "SHAKE256",         "SHAKE256 (FIPS 202), 64-byte output",             streaming<Shake256>),
    entry("k12",        "KangarooTwelve",   "KangarooTwelve (KT128, RFC 9861), 32-byte output", streaming<KangarooTwelve>),
    entry("dropbox",    "Dropbox content hash", "SHA-256 of the SHA-256s of 4 MiB blocks",    streaming<DropboxContentHash>),
};
// clang-format on

bool equalIgnoringAsciiCase(std::string_view left, std::string_view right) {
    return AsciiLower(left) == AsciiLower(right);
}

}  // namespace

std::span<const AlgorithmEntry> AlgorithmEntries() { return kEntries; }

const AlgorithmEntry* EntryAt(std::span<const AlgorithmEntry> entries, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= entries.size()) {
        return nullptr;
    }
    return &entries[static_cast<std::size_t>(position)];
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

}  // namespace tolvek::hashing
