// Framework internals that the tests reach: not part of the interface users see.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/DigestHash.h"

namespace tolvek::framework::internal {

// Adds 8 x byteCount (byteCount >= 0) to `counter`. Gives false when a carry leaves the top
// word; the counter then holds the wrapped sum.
bool AddBitCount(BitCount& counter, std::int32_t byteCount);

// Test-only: `observer` sees the memory of every released framework object after it has been
// zeroed and before it is freed, with the size that was zeroed. Null removes the observer.
using ReleaseObserver = void (*)(const void* instance, std::size_t size);
void SetReleaseObserver(ReleaseObserver observer);

// Test-only access to the computation state of a hash object.
struct DigestHashAccess {
    static const BitCount& BitCounter(const TDigestHash& hash);
    static void PresetBitCounter(TDigestHash& hash, const BitCount& counter);
    static std::int32_t BlockFill(const TDigestHash& hash);
    static std::int32_t BlockBufferSize(const TDigestHash& hash);
    static bool HasBlockBuffer(const TDigestHash& hash);
};

}  // namespace tolvek::framework::internal
