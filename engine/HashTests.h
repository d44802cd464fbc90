// The engine's known-answer self-test: every hash type against fixed vectors, through the
// public context interface only.
#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "engine/HashEngine.h"

namespace tolvek::engine {

struct SelfTestVector {
    HashType type;
    std::string_view input;
    std::int32_t passes;  // 3 is the engine's default; other counts go through the context
    std::string_view expected;
};

// The vectors in the order they run.
std::span<const SelfTestVector> SelfTestVectors();

// True when HashString gives 0 and exactly the expected text.
bool TestHashString(HashType type, const std::string& input, const std::string& expected);

// 0 when every vector of the type matches, 1 for a type outside 257..277, 6 at the first
// failing vector.
HashResult TestHashType(HashType type);

// 0, or the first non-zero result of TestHashType over the types in increasing order.
HashResult TestAllHashTypes();

// The same two tests over a vector table of the caller's, reporting each type as it starts.
HashResult TestHashTypeWith(HashType type, std::span<const SelfTestVector> vectors);
HashResult TestAllHashTypesWith(std::span<const SelfTestVector> vectors,
                                const std::function<void(HashType)>& onTypeTested);

}  // namespace tolvek::engine
