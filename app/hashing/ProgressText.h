// Progress of a file hash as one line of text: "1.2 GiB of 4.7 GiB, 812 MiB/s, 0:05 left", in
// the words of the caller's language.
#pragma once

#include <array>
#include <string>

#include "app/hashing/FileReader.h"

namespace tolvek::hashing {

struct ProgressWords {
    std::string of = "%1 of %2";  // %1 the bytes done, %2 the total
    std::string left = "%1 left";  // %1 the time left, as h:mm:ss or m:ss
    std::array<std::string, 5> units = {"B", "KiB", "MiB", "GiB", "TiB"};
    std::string decimalSeparator = ".";
};

// A byte count in the largest binary unit that keeps it at 1 or more: "512 B", "1.2 GiB",
// "812 MiB" (one decimal below 100 units).
std::string ByteAmount(std::uint64_t bytes, const ProgressWords& words);

// How much is done, the speed so far, and the time left when the total is known.
std::string ProgressLine(const ReadProgress& progress, const ProgressWords& words);

// How much of the total is done, in thousandths; nothing when the total is unknown.
std::optional<int> ProgressPermille(const ReadProgress& progress);

}  // namespace tolvek::hashing
