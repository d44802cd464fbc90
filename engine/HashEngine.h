// The hash engine's public interface: 21 digests and checksums selected by a hash-type number,
// computed over a context the caller owns, with every outcome reported as a result code.
#pragma once

#include <cstdint>
#include <string>

namespace tolvek::engine {

using HashType = std::uint32_t;
using HashResult = std::int32_t;

inline constexpr HashType HashTypeMD2 = 257;
inline constexpr HashType HashTypeMD4 = 258;
inline constexpr HashType HashTypeMD5 = 259;
inline constexpr HashType HashTypeCRC32MsbFirst = 260;
inline constexpr HashType HashTypeCRC32 = 261;
inline constexpr HashType HashTypeAdler32 = 262;
inline constexpr HashType HashTypeGOST = 263;
inline constexpr HashType HashTypeHAVAL128 = 264;
inline constexpr HashType HashTypeHAVAL160 = 265;
inline constexpr HashType HashTypeHAVAL192 = 266;
inline constexpr HashType HashTypeHAVAL224 = 267;
inline constexpr HashType HashTypeHAVAL256 = 268;
inline constexpr HashType HashTypeSHA1 = 269;
inline constexpr HashType HashTypeSHA256 = 270;
inline constexpr HashType HashTypeSHA384 = 271;
inline constexpr HashType HashTypeSHA512 = 272;
inline constexpr HashType HashTypeTiger128 = 273;
inline constexpr HashType HashTypeTiger160 = 274;
inline constexpr HashType HashTypeTiger192 = 275;
inline constexpr HashType HashTypeRIPEMD128 = 276;
inline constexpr HashType HashTypeRIPEMD160 = 277;

inline constexpr HashType kFirstHashType = HashTypeMD2;
inline constexpr HashType kLastHashType = HashTypeRIPEMD160;
inline constexpr int kHashTypeCount = static_cast<int>(kLastHashType - kFirstHashType + 1);

inline constexpr HashResult kHashOk = 0;
inline constexpr HashResult kHashUnknownType = 1;
inline constexpr HashResult kHashContextNull = 2;
inline constexpr HashResult kHashInvalidContext = 3;
inline constexpr HashResult kHashReadFailed = 4;
inline constexpr HashResult kHashOpenFailed = 5;
inline constexpr HashResult kHashTestFailed = 6;

// Size the file queries give for a file that could not be opened.
inline constexpr std::int64_t kFileNotOpened = -1;

// One computation's record, owned by the caller. `AlgorithmState` is the state block that
// HashInit allocates and HashFinal releases; null while no computation runs.
struct HashContext {
    void* AlgorithmState = nullptr;
    std::uint32_t HashType = 0;
    std::int32_t Passes = 0;  // HAVAL and Tiger only; read as unsigned by the algorithms
};

HashResult HashInit(HashContext* context, HashType type);
std::int64_t HashUpdate(HashContext* context, const void* bytes, std::uint32_t length);
// Writes `digest` only on success.
HashResult HashFinal(HashContext* context, std::string& digest);

// One-call digests; `digest` is written only on success.
HashResult HashString(HashType type, const std::string& text, std::string& digest);
// A file whose size reads as 0 is read to its end, so that the files under /proc hash their
// content; any other file gives the digest of exactly as many bytes as its size.
std::int64_t HashFileByName(HashType type, const std::string& fileName, std::string& digest);

// Size of a hashable file, or kFileNotOpened.
std::int64_t QueryFileSize(const std::string& fileName);
// Feeds bytes [start, end) of the file to the context; false when the file cannot be opened,
// a read fails, the file ends before `end`, or the range is not one: `end` before `start`, or
// `start` beyond the file's end.
bool HashFileRange(HashContext* context, const std::string& fileName, std::int64_t start,
                   std::int64_t end);

// Writes the supported type numbers in increasing order, at most min(capacity, 21) of them.
int ListHashTypes(std::int32_t* types, int capacity);

void HashErrorText(HashResult code, std::string& message);

}  // namespace tolvek::engine
