// How long an entry's digests are, which the readers of expected digests and the search for the
// entry that made a digest need, and the full-width form of a digest shown without its leading
// zeros.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::hashing {

// The length in bytes of the entry's digests: the register width of a whole-file checksum,
// whose text is a number without leading zeros, else half the digits of the empty message's
// digest.
std::size_t DigestBytes(const AlgorithmEntry& entry);

// The distinct digest lengths of `entries`, ascending.
std::vector<std::size_t> DigestLengthsOf(std::span<const AlgorithmEntry> entries);

// `digest` (lower-case hex) with the leading zeros that make it `bytes` long; a longer text stays
// as it is.
std::string FullWidthDigest(std::string_view digest, std::size_t bytes);

}  // namespace tolvek::hashing
