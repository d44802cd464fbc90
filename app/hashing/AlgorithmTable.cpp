#include "app/hashing/AlgorithmTable.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/hashing/AsciiText.h"
#include "app/hashing/EntryVariants.h"
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
#include "engine/Sums.h"
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

// The engine's route of list position `position`: the hash type EngineHashTypes gives it.
const EngineProvider& engineAt(std::size_t position) {
    return kEngineProviders[EngineHashTypes[position] - kFirstHashType];
}

// EngineHashTypes names each of the engine's types once.
static_assert([] {
    std::array<bool, kHashTypeCount> named{};
    for (const HashType type : EngineHashTypes) {
        if (type < kFirstHashType || type > kLastHashType || named[type - kFirstHashType]) {
            return false;
        }
        named[type - kFirstHashType] = true;
    }
    return true;
}());

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
                     const Provider& provider, EntryFacts facts = {}) {
    return {facts, id, caption, description, provider, provider};
}

constexpr std::string_view kChecksumWeakness = "a checksum: catches accidental errors only";
constexpr std::string_view kNonCryptographic = "a fast non-cryptographic hash";
constexpr std::string_view kHavalCollisions =
    "collisions for 3-pass HAVAL since 2003 (Van Rompay et al.)";
constexpr std::string_view kSnefruAttack =
    "broken by differential cryptanalysis (Biham and Shamir, 1991)";

// A whole-file checksum entry, shown by the main window as a number.
AlgorithmEntry checksumEntry(std::string_view id, std::string_view caption,
                             std::string_view description, const Provider& provider,
                             EntryFacts facts = {}) {
    facts.weakness = kChecksumWeakness;
    facts.checksum = true;
    return {facts, id, caption, description, provider, provider, ShownAs::Number};
}

template <StreamingHash Hash>
const WithLengthProvider<Hash> withLength{};

const GitBlobProvider kGitSha1{GitBlobProvider::Format::Sha1};
const GitBlobProvider kGitSha256{GitBlobProvider::Format::Sha256};

// A checksum printed, as its tool prints it, with the message's length.
AlgorithmEntry sumEntry(std::string_view id, std::string_view caption,
                        std::string_view description, const Provider& provider, ShownAs shownAs,
                        EntryFacts facts) {
    facts.weakness = kChecksumWeakness;
    facts.checksum = true;
    return {facts, id, caption, description, provider, provider, shownAs};
}

constexpr std::string_view kGitSha1Weakness =
    "built on SHA-1, which has practical collisions since 2017 (SHAttered)";

template <std::size_t... Bytes>
constexpr std::array<std::size_t, sizeof...(Bytes)> kBlocks = {Bytes...};

constexpr std::size_t kEd2kChunk = 9500 * 1024;
constexpr std::size_t kDropboxBlock = std::size_t{4} << 20;
constexpr std::string_view kCrc64XzOracle =
    "crcmod_digest.py 0x142F0E1EBA9EA3693 0xFFFFFFFFFFFFFFFF 0xFFFFFFFFFFFFFFFF";
constexpr std::string_view kCrc64NvmeOracle =
    "crcmod_digest.py 0x1AD93D23594C93659 0xFFFFFFFFFFFFFFFF 0xFFFFFFFFFFFFFFFF";

// In list order: the index is the list position.
// clang-format off
const std::array kEntries = {
    entry("md2",        "MD2",              "MD2 (RFC 1319)",                                  engineAt(0), {.weakness = "collision and preimage attacks below brute force; retired by RFC 6149", .peerName = "MD2", .hmacBlock = 16}),
    entry("md4",        "MD4",              "MD4 (RFC 1320)",                                  engineAt(1), {.weakness = "collisions by hand since 1996 (Dobbertin); retired by RFC 6150", .peerName = "MD4", .hmacBlock = 64}),
    // Files go through the framework's MD5 and strings through the engine's: the same function.
    AlgorithmEntry{{.weakness = "practical collisions since 2004 (Wang et al.), RFC 6151", .tool = "md5sum", .peerName = "MD5", .triedFirst = true, .hmacBlock = 64, .manyMessages = engine::Md5Messages},
                        "md5", "MD5",       "MD5 (RFC 1321)",                                  kFramework<framework::THash_MD5>, engineAt(2)},
    entry("sha1",       "SHA1",             "SHA-1 (FIPS 180-4)",                              engineAt(3), {.weakness = "practical collisions since 2017 (SHAttered)", .tool = "sha1sum", .peerName = "SHA1", .isDefault = true, .triedFirst = true, .hmacBlock = 64, .manyMessages = engine::Sha1Messages}),
    entry("sha256",     "SHA256",           "SHA-256 (FIPS 180-4)",                            engineAt(4), {.otherNames = "SHA2-256", .integrityName = "sha256", .httpName = "sha-256", .tool = "sha256sum", .peerName = "SHA256", .triedFirst = true, .hmacBlock = 64}),
    entry("sha384",     "SHA384",           "SHA-384 (FIPS 180-4)",                            engineAt(5), {.otherNames = "SHA2-384", .integrityName = "sha384", .tool = "sha384sum", .peerName = "SHA384", .triedFirst = true, .hmacBlock = 128, .manyMessages = engine::Sha384Messages}),
    entry("sha512",     "SHA512",           "SHA-512 (FIPS 180-4)",                            engineAt(6), {.otherNames = "SHA2-512", .integrityName = "sha512", .httpName = "sha-512", .tool = "sha512sum", .peerName = "SHA512", .triedFirst = true, .hmacBlock = 128, .manyMessages = engine::Sha512Messages}),
    entry("haval128",   "HAVAL128",         "HAVAL, 128 bits, 3 passes",                       engineAt(7), {.weakness = kHavalCollisions, .hmacBlock = 128}),
    entry("haval160",   "HAVAL160",         "HAVAL, 160 bits, 3 passes",                       engineAt(8), {.weakness = kHavalCollisions, .hmacBlock = 128}),
    entry("haval192",   "HAVAL192",         "HAVAL, 192 bits, 3 passes",                       engineAt(9), {.weakness = kHavalCollisions, .hmacBlock = 128}),
    entry("haval224",   "HAVAL 224",        "HAVAL, 224 bits, 3 passes",                       engineAt(10), {.weakness = kHavalCollisions, .hmacBlock = 128}),
    entry("haval256",   "HAVAL256",         "HAVAL, 256 bits, 3 passes",                       engineAt(11), {.weakness = kHavalCollisions, .peerName = "HAVAL256_3", .hmacBlock = 128}),
    entry("gost",       "GOST R 34.11-94",  "GOST R 34.11-94, test parameter S-boxes",         engineAt(12), {.otherNames = "GOST94", .peerName = "GOST94", .hmacBlock = 32}),
    entry("tiger128",   "TIGER128",         "Tiger-192 cut to 128 bits, 64-bit word form",     engineAt(13), {.weakness = "128 bits of Tiger: a birthday search needs only 2^64 steps", .hmacBlock = 64}),
    entry("tiger160",   "TIGER160",         "Tiger-192 cut to 160 bits, 64-bit word form",     engineAt(14), {.hmacBlock = 64}),
    entry("tiger192",   "TIGER192",         "Tiger-192, 64-bit word form",                     engineAt(15), {.peerName = "TIGER192", .hmacBlock = 64}),
    entry("ripemd128",  "RIPE-MD128",       "RIPEMD-128",                                      engineAt(16), {.peerName = "RMD128", .hmacBlock = 64}),
    entry("ripemd160",  "RIPE-MD160",       "RIPEMD-160",                                      engineAt(17), {.otherNames = "RIPEMD-160 RMD160", .peerName = "RMD160", .hmacBlock = 64}),
    checksumEntry("crc32",    "CRC32",      "CRC-32 (ISO-HDLC, as zip and PNG)",               kChecksum<FileChecksum::Crc32>, {.listStems = "sfv", .peerName = "CRC32", .triedFirst = true}),
    checksumEntry("crc16",    "CRC16",      "CRC-16/XMODEM",                                   kChecksum<FileChecksum::Crc16Xmodem>, {.peerName = "CRC16_XMODEM"}),
    checksumEntry("crc16arc", "ARC-CRC",    "CRC-16/ARC",                                      kChecksum<FileChecksum::Crc16Arc>, {.peerName = "CRC16_ARC"}),
    entry("sapphire",   "Sapphire",         "Sapphire stream cipher hash, 512 bits",           kFramework<framework::THash_Sapphire>, {.peerName = "SAPPHIRE"}),
    entry("panama",     "Panama",           "Panama hash, 256 bits",                           kFramework<framework::THash_Panama>, {.weakness = "collisions in an instant since 2007 (Daemen and Van Assche)", .peerName = "PANAMA", .hmacBlock = 32}),
    entry("whirlpool0", "Whirlpool",        "Whirlpool, 2000 version (Whirlpool-0)",           kFramework<framework::THash_Whirlpool>, {.hmacBlock = 64}),
    entry("whirlpoolt", "Whirlpool 1",      "Whirlpool, 2001 version (Whirlpool-T)",           kFramework<framework::THash_Whirlpool1>,
          {.formerId = {"whirlpool1", "the id of \"Whirlpool 1\" (2001) is now whirlpoolt; whirlpool0 is the 2000 version and whirlpool the final one"}, .hmacBlock = 64}),
    entry("square",     "Square",           "Square block cipher in MMO mode, 128 bits",       kFramework<framework::THash_Square>, {.peerName = "SQUARE", .hmacBlock = 16}),
    entry("snefru128",  "Snefru 128 Bit",   "Snefru, 128 bits, 8 passes",                      kFramework<framework::THash_Snefru128>, {.weakness = kSnefruAttack, .otherNames = "SNEFRU-128", .peerName = "SNEFRU128", .hmacBlock = 48}),
    entry("snefru256",  "Snefru 256 Bit",   "Snefru, 256 bits, 8 passes",                      kFramework<framework::THash_Snefru256>, {.weakness = kSnefruAttack, .otherNames = "SNEFRU-256", .peerName = "SNEFRU256", .hmacBlock = 32}),
    entry("ripemd256",  "RIPE MD 256 bit",  "RIPEMD-256",                                      kFramework<framework::THash_RipeMD256>, {.peerName = "RMD256", .hmacBlock = 64}),
    entry("ripemd320",  "RIPE MD 320 bit",  "RIPEMD-320",                                      kFramework<framework::THash_RipeMD320>, {.peerName = "RMD320", .hmacBlock = 64}),
    entry("sha224",     "SHA224",           "SHA-224 (FIPS 180-4)",                            streaming<Sha224>, {.otherNames = "SHA2-224", .tool = "sha224sum", .oracle = {"sha224sum", kBlocks<64>}, .triedFirst = true, .hmacBlock = 64}),
    entry("sha512-256", "SHA512/256",       "SHA-512/256 (FIPS 180-4)",                        streaming<Sha512_256>, {.otherNames = "SHA2-512/256", .oracle = {"openssl sha512-256", kBlocks<128>}, .hmacBlock = 128, .manyMessages = engine::Sha512_256Messages}),
    entry("sha3-224",   "SHA3-224",         "SHA3-224 (FIPS 202)",                             streaming<Sha3_224>, {.oracle = {"openssl sha3-224", kBlocks<144>}, .hmacBlock = 144}),
    entry("sha3-256",   "SHA3-256",         "SHA3-256 (FIPS 202)",                             streaming<Sha3_256>, {.oracle = {"openssl sha3-256", kBlocks<136>}, .hmacBlock = 136}),
    entry("sha3-384",   "SHA3-384",         "SHA3-384 (FIPS 202)",                             streaming<Sha3_384>, {.oracle = {"openssl sha3-384", kBlocks<104>}, .hmacBlock = 104}),
    entry("sha3-512",   "SHA3-512",         "SHA3-512 (FIPS 202)",                             streaming<Sha3_512>, {.oracle = {"openssl sha3-512", kBlocks<72>}, .hmacBlock = 72}),
    entry("blake2b",    "BLAKE2b-512",      "BLAKE2b, 64-byte digest, unkeyed (RFC 7693)",     streaming<Blake2b>, {.tag = "BLAKE2b", .listStems = "b2", .tool = "b2sum", .oracle = {"b2sum", kBlocks<128>}, .hmacBlock = 128, .parameters = &ParametersOf<Blake2b>()}),
    entry("blake2s",    "BLAKE2s-256",      "BLAKE2s, 32-byte digest, unkeyed (RFC 7693)",     streaming<Blake2s>, {.oracle = {"openssl blake2s256", kBlocks<64>}, .hmacBlock = 64, .parameters = &ParametersOf<Blake2s>()}),
    entry("blake3",     "BLAKE3",           "BLAKE3, 32-byte digest, default mode",            streaming<Blake3>, {.listStems = "b3", .tool = "b3sum", .toolLengthInBytes = true, .oracle = {"b3sum --num-threads 1", kBlocks<64, 1024, 4096, 32768>}, .hmacBlock = 64, .parameters = &ParametersOf<Blake3>(), .manyMessages = engine::Blake3Messages}),
    entry("xxh64",      "XXH64",            "XXH64, seed 0 (not cryptographic)",               streaming<Xxh64>, {.weakness = kNonCryptographic, .oracle = {"xxhsum -H1", kBlocks<32>}, .checksum = true}),
    entry("xxh3",       "XXH3-64",          "XXH3 64-bit, seed 0 (not cryptographic)",         streaming<Xxh3_64>, {.weakness = kNonCryptographic, .oracle = {"xxhsum -H3", kBlocks<16, 64, 128, 240, 1024>}, .checksum = true}),
    entry("xxh128",     "XXH3-128",         "XXH3 128-bit, seed 0 (not cryptographic)",        streaming<Xxh3_128>, {.weakness = kNonCryptographic, .oracle = {"xxhsum -H2", kBlocks<16, 64, 128, 240, 1024>}, .checksum = true}),
    entry("crc32c",     "CRC-32C",          "CRC-32C (iSCSI, Castagnoli)",                     streaming<Crc32c>, {.weakness = kChecksumWeakness, .oracle = {"rhash --printf='%{crc32c}\\n'", kBlocks<8, 64, 256>}, .checksum = true}),
    entry("crc64",      "CRC-64",           "CRC-64/XZ",                                       streaming<Crc64Xz>, {.weakness = kChecksumWeakness, .oracle = {kCrc64XzOracle, kBlocks<8>}, .checksum = true}),
    entry("whirlpool",  "Whirlpool (2003)", "Whirlpool, final 2003 version (ISO/IEC 10118-3)", kFramework<framework::THash_Whirlpool2003>, {.oracle = {"openssl whirlpool", kBlocks<64>}, .peerName = "WHIRLPOOL", .hmacBlock = 64}),
    entry("tiger",      "Tiger (standard)", "Tiger-192, words little-endian, as other tools print it", streaming<TigerLittleEndian>, {.oracle = {"rhash --printf='%{tiger}\\n'", kBlocks<64>}, .hmacBlock = 64}),
    entry("crc64nvme",  "CRC-64/NVME",      "CRC-64/NVME, as object stores check uploads",     streaming<Crc64Nvme>, {.weakness = kChecksumWeakness, .oracle = {kCrc64NvmeOracle, kBlocks<8>}, .checksum = true}),
    entry("xxh32",      "XXH32",            "XXH32, seed 0 (not cryptographic)",               streaming<Xxh32>, {.weakness = kNonCryptographic, .oracle = {"xxhsum -H0", kBlocks<16>}, .checksum = true}),
    entry("ed2k",       "ED2K",             "eD2k link hash: MD4 of 9500 KiB chunks",          streaming<Ed2k>, {.weakness = "built on MD4, which has collisions by hand since 1996", .oracle = {"rhash --printf='%{ed2k}\\n'", kBlocks<64>, kEd2kChunk}}),
    entry("quickxor",   "QuickXorHash",     "QuickXorHash, as a cloud drive shows for files",  streaming<QuickXor>, {.weakness = "an XOR of shifted bytes: catches accidental errors only", .oracle = {"per_file.sh 'rclone hashsum quickxor'", kBlocks<20, 160>}, .checksum = true}),
    entry("sm3",        "SM3",              "SM3 (GB/T 32905-2016)",                           streaming<Sm3>, {.oracle = {"openssl sm3", kBlocks<64>}, .hmacBlock = 64}),
    entry("gost-cryptopro", "GOST R 34.11-94 CryptoPro", "GOST R 34.11-94, CryptoPro parameter S-boxes", streaming<GostCryptoPro>, {.otherNames = "GOST94-CRYPTOPRO", .oracle = {"rhash --printf='%{gost94-cryptopro}\\n'", kBlocks<32>}, .hmacBlock = 32}),
    entry("streebog256", "Streebog-256",    "Streebog, 256 bits (GOST R 34.11-2012, RFC 6986)", streaming<Streebog256>, {.otherNames = "GOST12-256", .oracle = {"rhash --printf='%{gost12-256}\\n'", kBlocks<64>}, .hmacBlock = 64}),
    entry("streebog512", "Streebog-512",    "Streebog, 512 bits (GOST R 34.11-2012, RFC 6986)", streaming<Streebog512>, {.otherNames = "GOST12-512", .oracle = {"rhash --printf='%{gost12-512}\\n'", kBlocks<64>}, .hmacBlock = 64}),
    entry("blake2sp",   "BLAKE2sp",         "BLAKE2sp, 8 parallel BLAKE2s leaves, 32-byte digest", streaming<Blake2sp>, {.parameters = &ParametersOf<Blake2sp>()}),
    entry("blake2bp",   "BLAKE2bp",         "BLAKE2bp, 4 parallel BLAKE2b leaves, 64-byte digest", streaming<Blake2bp>, {.parameters = &ParametersOf<Blake2bp>()}),
    entry("shake128",   "SHAKE128",         "SHAKE128 (FIPS 202), 32-byte output",             streaming<Shake128>, {.oracle = {"hashlib_digest.py shake_128 32", kBlocks<168>}, .parameters = &ParametersOf<Shake128>()}),
    entry("shake256",   "SHAKE256",         "SHAKE256 (FIPS 202), 64-byte output",             streaming<Shake256>, {.oracle = {"hashlib_digest.py shake_256 64", kBlocks<136>}, .parameters = &ParametersOf<Shake256>()}),
    entry("k12",        "KangarooTwelve",   "KangarooTwelve (KT128, RFC 9861), 32-byte output", streaming<KangarooTwelve>, {.parameters = &ParametersOf<KangarooTwelve>()}),
    entry("dropbox",    "Dropbox content hash", "SHA-256 of the SHA-256s of 4 MiB blocks",    streaming<DropboxContentHash>, {.oracle = {"per_file.sh 'rclone hashsum dropbox'", kBlocks<64>, kDropboxBlock}}),
    sumEntry("cksum",   "cksum (POSIX CRC)", "POSIX cksum: CRC-32 of the data and its length, and the size", withLength<PosixCksum>, ShownAs::CksumLine, {.oracle = {"cksum", kBlocks<8, 64>}}),
    sumEntry("sum-bsd", "sum -r (BSD)",     "BSD sum: 16-bit rotating sum and 1 KiB blocks, as sum -r", withLength<BsdSum>, ShownAs::BsdSumLine, {.oracle = {"sum -r", kBlocks<1024>}}),
    sumEntry("sum-sysv", "sum -s (System V)", "System V sum: 16-bit folded sum and 512-byte blocks, as sum -s", withLength<SysvSum>, ShownAs::SysvSumLine, {.oracle = {"sum -s", kBlocks<512>}}),
    entry("git-sha1",   "Git blob id (SHA-1)", "git's id of a file: SHA-1 of \"blob <size>\" and the content", kGitSha1, {.weakness = kGitSha1Weakness, .oracle = {"git hash-object --no-filters", kBlocks<64>}}),
    entry("git-sha256", "Git blob id (SHA-256)", "git's id of a file in SHA-256 repositories", kGitSha256, {.oracle = {"git_sha256_blob.sh", kBlocks<64>}}),
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

int DefaultPosition(std::span<const AlgorithmEntry> entries) {
    const auto marked = std::ranges::find_if(entries, &AlgorithmEntry::isDefault);
    return marked == entries.end() ? 0 : static_cast<int>(marked - entries.begin());
}

const AlgorithmEntry& DefaultEntry() {
    return kEntries[static_cast<std::size_t>(DefaultPosition(kEntries))];
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

std::string TagOf(const AlgorithmEntry& entry) {
    return entry.tag.empty() ? AsciiUpper(entry.id) : std::string(entry.tag);
}

bool NamesHold(std::string_view names, std::string_view name) {
    while (!names.empty()) {
        const std::size_t space = std::min(names.find(' '), names.size());
        if (equalIgnoringAsciiCase(names.substr(0, space), name)) {
            return true;
        }
        names.remove_prefix(std::min(space + 1, names.size()));
    }
    return false;
}

std::vector<const AlgorithmEntry*> EntriesOfLength(std::span<const AlgorithmEntry> entries,
                                                   std::size_t bytes) {
    const auto ofLength = [bytes](const AlgorithmEntry& entry) {
        return entry.digestBytes() == bytes;
    };
    std::vector<const AlgorithmEntry*> found;
    found.reserve(static_cast<std::size_t>(std::ranges::count_if(entries, ofLength)));
    for (const AlgorithmEntry& entry : entries) {
        if (ofLength(entry)) {
            found.push_back(&entry);
        }
    }
    return found;
}

std::vector<const Provider*> RoutesOf(std::span<const AlgorithmEntry* const> entries,
                                      Route route) {
    std::vector<const Provider*> routes;
    routes.reserve(entries.size());
    for (const AlgorithmEntry* entry : entries) {
        routes.push_back(route == Route::File ? &entry->fileRoute : &entry->stringRoute);
    }
    return routes;
}

std::vector<std::size_t> DigestLengthsOf(std::span<const AlgorithmEntry> entries) {
    std::vector<std::size_t> lengths;
    for (const AlgorithmEntry& entry : entries) {
        lengths.push_back(entry.digestBytes());
    }
    std::ranges::sort(lengths);
    // Not std::ranges::unique, whose subrange Clang 14 cannot compile with libstdc++ 12.
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    return lengths;
}

}  // namespace tolvek::hashing
