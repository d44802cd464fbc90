// The expected digest of a file that a checksum file beside it holds: "<name>.<alg>",
// "<name>.<alg>sum", "<ALG>SUMS" (as SHA256SUMS and MD5SUMS), or, for CRC-32, an SFV list that
// names the file. Looking reads only regular files of a bounded size, so a huge file or a FIFO
// where a checksum file would be never stalls the caller.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::checks {

// Checksum files larger than this are not read.
inline constexpr std::size_t kLargestListFile = std::size_t{16} << 20;

// The bytes of a checksum file; nothing when it is missing, unreadable, not a regular file (a
// FIFO, a device, a folder) or larger than `limit`.
std::optional<std::string> ReadListFile(const std::filesystem::path& name,
                                        std::size_t limit = kLargestListFile);

struct SidecarDigest {
    std::string digest;             // lower-case hex, written as the window shows the digest
    std::filesystem::path source;  // the checksum file that holds it
};

// The expected digest beside `file` for `entry`, given the digest the window shows for it. Each
// checksum file is read as a list of that entry's digests, the way the list window and
// `tolvek-cli -c -a` read lists, so a BSD line counts only when it names the same algorithm. A
// checksum shown as a number without leading zeros gets the list's digest back without those
// zeros. The first checksum file in the order above that holds a line for the file wins.
std::optional<SidecarDigest> FindSidecarDigest(const std::filesystem::path& file,
                                               const hashing::AlgorithmEntry& entry,
                                               std::string_view shownDigest);

}  // namespace tolvek::checks
