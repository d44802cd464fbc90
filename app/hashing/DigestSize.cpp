#include "app/hashing/DigestSize.h"

#include <algorithm>

#include "app/hashing/Hashing.h"
#include "app/hashing/Providers.h"

namespace tolvek::hashing {

namespace {

std::size_t checksumBytes(engine::FileChecksum kind) {
    return kind == engine::FileChecksum::Crc32 ? 4 : 2;
}

std::size_t measuredBytes(const AlgorithmEntry& entry) {
    if (const auto* checksum = dynamic_cast<const ChecksumProvider*>(&entry.fileRoute)) {
        return checksumBytes(checksum->kind());
    }
    return (HashText(entry.stringRoute, {}).text.size() + 1) / 2;
}

}  // namespace

std::size_t DigestBytes(const AlgorithmEntry& entry) {
    // Measured once for the table's entries, which list checks ask about for every line.
    static const std::vector<std::size_t> kTableBytes = [] {
        std::vector<std::size_t> bytes;
        for (const AlgorithmEntry& each : AlgorithmEntries()) {
            bytes.push_back(measuredBytes(each));
        }
        return bytes;
    }();
    const std::span<const AlgorithmEntry> table = AlgorithmEntries();
    if (&entry >= table.data() && &entry < table.data() + table.size()) {
        return kTableBytes[static_cast<std::size_t>(&entry - table.data())];
    }
    return measuredBytes(entry);
}

std::vector<std::size_t> DigestLengthsOf(std::span<const AlgorithmEntry> entries) {
    std::vector<std::size_t> lengths;
    for (const AlgorithmEntry& entry : entries) {
        lengths.push_back(DigestBytes(entry));
    }
    std::ranges::sort(lengths);
    // Not std::ranges::unique, whose subrange Clang 14 cannot compile with libstdc++ 12.
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    return lengths;
}

std::string FullWidthDigest(std::string_view digest, std::size_t bytes) {
    std::string full(2 * bytes > digest.size() ? 2 * bytes - digest.size() : 0, '0');
    return full.append(digest);
}

}  // namespace tolvek::hashing
