#include "engine/HashEngine.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string_view>

#include "engine/Adler.h"
#include "engine/CRC1.h"
#include "engine/Gost.h"
#include "engine/HAVAL.h"
#include "engine/MD.h"
#include "engine/RIPEMD.h"
#include "engine/SHA.h"
#include "engine/Tiger.h"
#include "platform/ReadBuffer.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::engine {

namespace {

// How a type's init treats the context's `Passes`.
enum class PassesRule { Untouched, ThreeBeforeInit, ThreeAfterInit };

// What the frame knows of one hash type: its state block and the three operations over it.
struct AlgorithmEntry {
    std::size_t stateSize = 0;
    void (*init)(void* state) = nullptr;
    void (*update)(void* state, const std::uint8_t* bytes, std::uint32_t length,
                   std::uint32_t passes) = nullptr;
    std::string (*final)(void* state, std::uint32_t passes) = nullptr;
    PassesRule passesRule = PassesRule::Untouched;
};

template <class State>
State& as(void* state) {
    return *static_cast<State*>(state);
}

// HAVAL's five sizes share everything but the folding of the output.
template <std::uint32_t Bits>
constexpr AlgorithmEntry havalEntry() {
    return {sizeof(HavalContext), [](void* s) { HavalInit(as<HavalContext>(s)); },
            [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t passes) {
                HavalUpdate(as<HavalContext>(s), b, n, passes);
            },
            [](void* s, std::uint32_t passes) {
                return HavalFinal(as<HavalContext>(s), passes, Bits);
            },
            PassesRule::ThreeBeforeInit};
}

// One row per hash type, 257 first. A row without operations is a type this build lacks; it
// answers "Unknown hash type" like a number out of range.
// clang-format off
constexpr std::array<AlgorithmEntry, kHashTypeCount> kAlgorithms = {{
    /* 257 MD2 */ {sizeof(Md2Context), [](void* s) { Md2Init(as<Md2Context>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { Md2Update(as<Md2Context>(s), b, n); },
        [](void* s, std::uint32_t) { return Md2Final(as<Md2Context>(s)); }},
    /* 258 MD4 */ {sizeof(MdContext), [](void* s) { MdInit(as<MdContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { MdUpdate(as<MdContext>(s), b, n, Md4Transform); },
        [](void* s, std::uint32_t) { return MdFinal(as<MdContext>(s), Md4Transform); }},
    /* 259 MD5 */ {sizeof(MdContext), [](void* s) { MdInit(as<MdContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { MdUpdate(as<MdContext>(s), b, n, Md5Transform); },
        [](void* s, std::uint32_t) { return MdFinal(as<MdContext>(s), Md5Transform); }},
    /* 260 CRC-32 MSB first */ {sizeof(Crc32Register), [](void* s) { Crc32Init(as<Crc32Register>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { Crc32UpdateMsbFirst(as<Crc32Register>(s), b, n); },
        [](void* s, std::uint32_t) { return Crc32Final(as<Crc32Register>(s)); }},
    /* 261 CRC-32 */ {sizeof(Crc32Register), [](void* s) { Crc32Init(as<Crc32Register>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { Crc32Update(as<Crc32Register>(s), b, n); },
        [](void* s, std::uint32_t) { return Crc32Final(as<Crc32Register>(s)); }},
    /* 262 Adler-32 */ {sizeof(Adler32State), [](void* s) { Adler32Init(as<Adler32State>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { Adler32Update(as<Adler32State>(s), b, n); },
        [](void* s, std::uint32_t) { return Adler32Final(as<Adler32State>(s)); }},
    /* 263 GOST */ {sizeof(GostContext), [](void* s) { GostInit(as<GostContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) {
            GostUpdate(as<GostContext>(s), b, n);
        },
        [](void* s, std::uint32_t) { return GostFinal(as<GostContext>(s)); }},
    /* 264 HAVAL-128 */ havalEntry<128>(),
    /* 265 HAVAL-160 */ havalEntry<160>(),
    /* 266 HAVAL-192 */ havalEntry<192>(),
    /* 267 HAVAL-224 */ havalEntry<224>(),
    /* 268 HAVAL-256 */ havalEntry<256>(),
    /* 269 SHA-1 */ {sizeof(ShaContext), [](void* s) { Sha1Init(as<ShaContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { ShaUpdate32(as<ShaContext>(s), b, kShaVariant1, n); },
        [](void* s, std::uint32_t) { return ShaFinal32(as<ShaContext>(s), kShaVariant1); }},
    /* 270 SHA-256 */ {sizeof(ShaContext), [](void* s) { Sha256Init(as<ShaContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { ShaUpdate32(as<ShaContext>(s), b, kShaVariant256, n); },
        [](void* s, std::uint32_t) { return ShaFinal32(as<ShaContext>(s), kShaVariant256); }},
    /* 271 SHA-384 */ {sizeof(Sha512Context), [](void* s) { Sha384Init(as<Sha512Context>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { ShaUpdate64(as<Sha512Context>(s), b, n); },
        [](void* s, std::uint32_t) { return ShaFinal64(as<Sha512Context>(s), kShaVariant384); }},
    /* 272 SHA-512 */ {sizeof(Sha512Context), [](void* s) { Sha512Init(as<Sha512Context>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { ShaUpdate64(as<Sha512Context>(s), b, n); },
        [](void* s, std::uint32_t) { return ShaFinal64(as<Sha512Context>(s), kShaVariant512); }},
    /* 273 Tiger-128 */ {sizeof(TigerContext), [](void* s) { TigerInit(as<TigerContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t p) { TigerUpdate(as<TigerContext>(s), b, n, p); },
        [](void* s, std::uint32_t p) { return TigerFinal(as<TigerContext>(s), 128, p); },
        PassesRule::ThreeAfterInit},
    /* 274 Tiger-160 */ {sizeof(TigerContext), [](void* s) { TigerInit(as<TigerContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t p) { TigerUpdate(as<TigerContext>(s), b, n, p); },
        [](void* s, std::uint32_t p) { return TigerFinal(as<TigerContext>(s), 160, p); },
        PassesRule::ThreeAfterInit},
    /* 275 Tiger-192 */ {sizeof(TigerContext), [](void* s) { TigerInit(as<TigerContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t p) { TigerUpdate(as<TigerContext>(s), b, n, p); },
        [](void* s, std::uint32_t p) { return TigerFinal(as<TigerContext>(s), 192, p); },
        PassesRule::ThreeAfterInit},
    /* 276 RIPEMD-128 */ {sizeof(RipemdContext), [](void* s) { RipemdInit128(as<RipemdContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { RipemdUpdate(as<RipemdContext>(s), b, n, 128); },
        [](void* s, std::uint32_t) { return RipemdFinal(as<RipemdContext>(s), 128); }},
    /* 277 RIPEMD-160 */ {sizeof(RipemdContext), [](void* s) { RipemdInit160(as<RipemdContext>(s)); },
        [](void* s, const std::uint8_t* b, std::uint32_t n, std::uint32_t) { RipemdUpdate(as<RipemdContext>(s), b, n, 160); },
        [](void* s, std::uint32_t) { return RipemdFinal(as<RipemdContext>(s), 160); }},
}};
// clang-format on

const AlgorithmEntry* findAlgorithm(std::uint32_t type) {
    if (type < kFirstHashType || type > kLastHashType) {
        return nullptr;
    }
    const AlgorithmEntry& entry = kAlgorithms[type - kFirstHashType];
    return entry.init != nullptr ? &entry : nullptr;
}

// State blocks are cache-line aligned so that tables and buffers inside them are too.
constexpr std::align_val_t kStateAlignment{64};

void* allocateState(std::size_t size) { return ::operator new(size, kStateAlignment); }

void releaseState(void* state) { ::operator delete(state, kStateAlignment); }

// Reads go through one buffer per file range; larger than a page so that fewer system calls
// are made per megabyte.
constexpr std::size_t kReadBufferSize = 256 * 1024;

constexpr std::size_t kMaxUpdateLength = std::size_t{1} << 31;

}  // namespace

HashResult HashInit(HashContext* context, HashType type) {
    if (context == nullptr) {
        return kHashContextNull;
    }
    context->HashType = type;
    const AlgorithmEntry* algorithm = findAlgorithm(type);
    if (algorithm == nullptr) {
        return kHashUnknownType;
    }
    context->AlgorithmState = allocateState(algorithm->stateSize);
    if (algorithm->passesRule == PassesRule::ThreeBeforeInit) {
        context->Passes = 3;
    }
    algorithm->init(context->AlgorithmState);
    if (algorithm->passesRule == PassesRule::ThreeAfterInit) {
        context->Passes = 3;
    }
    return kHashOk;
}

std::int64_t HashUpdate(HashContext* context, const void* bytes, std::uint32_t length) {
    if (context == nullptr) {
        return kHashContextNull;
    }
    if (context->AlgorithmState == nullptr) {
        return kHashInvalidContext;
    }
    const AlgorithmEntry* algorithm = findAlgorithm(context->HashType);
    if (algorithm == nullptr) {
        return kHashUnknownType;
    }
    algorithm->update(context->AlgorithmState, static_cast<const std::uint8_t*>(bytes), length,
                      static_cast<std::uint32_t>(context->Passes));
    return kHashOk;
}

HashResult HashFinal(HashContext* context, std::string& digest) {
    if (context == nullptr) {
        return kHashContextNull;
    }
    const AlgorithmEntry* algorithm = findAlgorithm(context->HashType);
    if (algorithm == nullptr) {
        return kHashUnknownType;
    }
    if (context->AlgorithmState == nullptr) {
        return kHashInvalidContext;
    }
    digest = algorithm->final(context->AlgorithmState, static_cast<std::uint32_t>(context->Passes));
    releaseState(context->AlgorithmState);
    context->AlgorithmState = nullptr;
    return kHashOk;
}

HashResult HashString(HashType type, const std::string& text, std::string& digest) {
    HashContext context;
    if (const HashResult result = HashInit(&context, type); result != kHashOk) {
        return result;
    }
    // The update takes a 32-bit count; longer texts go in pieces, which gives the same digest.
    std::string_view rest = text;
    do {
        const std::size_t piece = std::min<std::size_t>(rest.size(), kMaxUpdateLength);
        const std::int64_t updated =
            HashUpdate(&context, rest.data(), static_cast<std::uint32_t>(piece));
        if (updated != kHashOk) {
            return static_cast<HashResult>(updated);
        }
        rest.remove_prefix(piece);
    } while (!rest.empty());
    return HashFinal(&context, digest);
}

std::int64_t QueryFileSize(const std::string& fileName) {
    const std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(fileName);
    if (!file) {
        return kFileNotOpened;
    }
    return file->size().value_or(kFileNotOpened);
}

namespace {

// Feeds `count` bytes of `file` from its read position, or all of it to its end when no count
// is given, through one bounded buffer.
bool feedFile(HashContext* context, platform::ReadOnlyFile& file,
              std::optional<std::int64_t> count) {
    const platform::ReadBuffer buffer(kReadBufferSize);
    return platform::ReadPieces(file, buffer.bytes(), count,
                                [context](std::span<const std::uint8_t> piece) {
                                    HashUpdate(context, piece.data(),
                                               static_cast<std::uint32_t>(piece.size()));
                                });
}

// True when the file holds at least `offset` bytes. Asked by reading, because the files under
// /proc report a size of 0 and still have content.
bool reaches(platform::ReadOnlyFile& file, std::int64_t offset) {
    std::uint8_t lastByte = 0;
    return offset == 0 || (file.seek(offset - 1) && file.read({&lastByte, 1}) == 1U);
}

bool hashWholeFile(HashContext* context, const std::string& fileName) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(fileName);
    return file && feedFile(context, *file, std::nullopt);
}

}  // namespace

bool HashFileRange(HashContext* context, const std::string& fileName, std::int64_t start,
                   std::int64_t end) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(fileName);
    // An empty range needs no read, but it must lie inside the file: up to its very end, where
    // an empty file's range lies.
    if (!file || end < start || !reaches(*file, start) || !file->seek(start)) {
        return false;
    }
    return feedFile(context, *file, end - start);
}

std::int64_t HashFileByName(HashType type, const std::string& fileName, std::string& digest) {
    const std::int64_t size = QueryFileSize(fileName);
    if (size == kFileNotOpened) {
        return kHashOpenFailed;
    }
    HashContext context;
    if (const HashResult result = HashInit(&context, type); result != kHashOk) {
        return result;
    }
    // A size of 0 does not prove an empty file (those under /proc have content): such a file
    // is read to its end. Any other file gives exactly the bytes its size counted.
    const bool complete = size == 0 ? hashWholeFile(&context, fileName)
                                    : HashFileRange(&context, fileName, 0, size);
    if (!complete) {
        releaseState(context.AlgorithmState);
        return kHashReadFailed;
    }
    return HashFinal(&context, digest);
}

int ListHashTypes(std::int32_t* types, int capacity) {
    const int count = std::clamp(capacity, 0, kHashTypeCount);
    for (int index = 0; index < count; ++index) {
        types[index] = static_cast<std::int32_t>(kFirstHashType) + index;
    }
    return count;
}

void HashErrorText(HashResult code, std::string& message) {
    static constexpr std::array<std::string_view, 7> kMessages = {
        "No error",           "Unknown hash type",   "Hash context is null", "Invalid hash context",
        "Could not read file", "Could not open file", "Hash test failed",
    };
    message = code >= 0 && code < static_cast<HashResult>(kMessages.size())
                  ? kMessages[static_cast<std::size_t>(code)]
                  : "Unknown error";
}

}  // namespace tolvek::engine
