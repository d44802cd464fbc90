#include "app/digest/AlgorithmTable.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/digest/AsciiText.h"
#include "app/digest/Providers.h"
#include "framework/DigestHashMD4.h"
#include "framework/DigestHashPanama.h"
#include "framework/DigestHashSapphire.h"
#include "framework/DigestHashSnefru.h"
#include "framework/DigestHashSquare.h"
#include "framework/DigestHashWhirlpool.h"

namespace tolvek::digest {

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
const FrameworkProvider kFramework{framework::ClassOf<Class>};

// A provider for one of the engine's streaming hashes: entry("id", "Caption",
// streaming<engine::TheHash>) is the whole row.
template <StreamingHash Hash>
const StreamingProvider<Hash> streaming{};

// An entry that computes the same function for files and strings through one provider.
AlgorithmEntry entry(std::string_view id, std::string_view caption, const Provider& provider) {
    return {id, caption, provider, provider};
}

// A whole-file checksum entry: the main window shows a file it could not read as the empty text.
AlgorithmEntry checksumEntry(std::string_view id, std::string_view caption,
                             const Provider& provider) {
    return {id, caption, provider, provider, FileFailureShown::EmptyText};
}

// In list order: the index is the list position.
// clang-format off
const std::array kEntries = {
    entry("md2",        "MD2",             engine(HashTypeMD2)),
    entry("md4",        "MD4",             engine(HashTypeMD4)),
    // Files go through the framework's MD5 and strings through the engine's: the same function.
    AlgorithmEntry{"md5", "MD5", kFramework<framework::THash_MD5>, engine(HashTypeMD5)},
    entry("sha1",       "SHA1",            engine(HashTypeSHA1)),
    entry("sha256",     "SHA256",          engine(HashTypeSHA256)),
    entry("sha384",     "SHA384",          engine(HashTypeSHA384)),
    entry("sha512",     "SHA512",          engine(HashTypeSHA512)),
    entry("haval128",   "HAVAL128",        engine(HashTypeHAVAL128)),
    entry("haval160",   "HAVAL160",        engine(HashTypeHAVAL160)),
    entry("haval192",   "HAVAL192",        engine(HashTypeHAVAL192)),
    entry("haval224",   "HAVAL 224",       engine(HashTypeHAVAL224)),
    entry("haval256",   "HAVAL256",        engine(HashTypeHAVAL256)),
    entry("gost",       "GOST R 34.11-94", engine(HashTypeGOST)),
    entry("tiger128",   "TIGER128",        engine(HashTypeTiger128)),
    entry("tiger160",   "TIGER160",        engine(HashTypeTiger160)),
    entry("tiger192",   "TIGER192",        engine(HashTypeTiger192)),
    entry("ripemd128",  "RIPE-MD128",      engine(HashTypeRIPEMD128)),
    entry("ripemd160",  "RIPE-MD160",      engine(HashTypeRIPEMD160)),
    checksumEntry("crc32",    "CRC32",     kChecksum<FileChecksum::Crc32>),
    checksumEntry("crc16",    "CRC16",     kChecksum<FileChecksum::Crc16Xmodem>),
    checksumEntry("crc16arc", "ARC-CRC",   kChecksum<FileChecksum::Crc16Arc>),
    entry("sapphire",   "Sapphire",        kFramework<framework::THash_Sapphire>),
    entry("panama",     "Panama",          kFramework<framework::THash_Panama>),
    entry("whirlpool",  "Whirlpool",       kFramework<framework::THash_Whirlpool>),
    entry("whirlpool1", "Whirlpool 1",     kFramework<framework::THash_Whirlpool1>),
    entry("square",     "Square",          kFramework<framework::THash_Square>),
    entry("snefru128",  "Snefru 128 Bit",  kFramework<framework::THash_Snefru128>),
    entry("snefru256",  "Snefru 256 Bit",  kFramework<framework::THash_Snefru256>),
    entry("ripemd256",  "RIPE MD 256 bit", kFramework<framework::THash_RipeMD256>),
    entry("ripemd320",  "RIPE MD 320 bit", kFramework<framework::THash_RipeMD320>),
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
    const auto found = std::ranges::find_if(kEntries, [&](const AlgorithmEntry& entry) {
        return equalIgnoringAsciiCase(entry.id, name) || equalIgnoringAsciiCase(entry.caption, name);
    });
    return found != kEntries.end() ? &*found : nullptr;
}

}  // namespace tolvek::digest
