// The names under which the benchmarks report each algorithm; they match the peer table's.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/HashEngine.h"

namespace tolvek::bench {

inline const std::vector<std::pair<engine::HashType, std::string>>& EngineTypeNames() {
    using namespace tolvek::engine;
    static const std::vector<std::pair<HashType, std::string>> names = {
        {HashTypeMD2, "MD2"},
        {HashTypeMD4, "MD4"},
        {HashTypeMD5, "MD5"},
        {HashTypeCRC32MsbFirst, "CRC-32/BZIP2"},
        {HashTypeCRC32, "CRC-32"},
        {HashTypeAdler32, "Adler-32"},
        {HashTypeGOST, "GOST"},
        {HashTypeHAVAL256, "HAVAL-256/3"},
        {HashTypeSHA1, "SHA-1"},
        {HashTypeSHA256, "SHA-256"},
        {HashTypeSHA384, "SHA-384"},
        {HashTypeSHA512, "SHA-512"},
        {HashTypeTiger192, "Tiger/192"},
        {HashTypeRIPEMD128, "RIPEMD-128"},
        {HashTypeRIPEMD160, "RIPEMD-160"},
    };
    return names;
}

// Types benchmarked again with another pass count than the default, by the peer table's name.
struct PassesVariant {
    engine::HashType type;
    std::int32_t passes;
    std::string name;
};

inline const std::vector<PassesVariant>& EnginePassesVariants() {
    static const std::vector<PassesVariant> variants = {
        {engine::HashTypeHAVAL256, 5, "HAVAL-256/5"},
    };
    return variants;
}

}  // namespace tolvek::bench
