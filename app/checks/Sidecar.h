// The expected digest of a file that a checksum file beside it holds: "<name>.<alg>",
// "<name>.<alg>sum", "<ALG>SUMS" (as SHA256SUMS and MD5SUMS), or, for CRC-32, an SFV list that
// names the file. Looking reads only regular files of a bounded size (ReadListFile), so a huge
// file or a FIFO where a checksum file would be never stalls the caller.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::checks {

struct SidecarDigest {
    hashing::Digest digest;
    std::filesystem::path source;  // the checksum file that holds it
};

// The expected digest beside `file` for `entry`. Each checksum file is read as a list of that
// entry's digests, the way the list window and `tolvek-cli -c -a` read lists, so a BSD line
// counts only when it names the same algorithm. The first checksum file in the order above that
// holds a line for the file wins.
std::optional<SidecarDigest> FindSidecarDigest(const std::filesystem::path& file,
                                               const hashing::AlgorithmEntry& entry);

}  // namespace tolvek::checks
