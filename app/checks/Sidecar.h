// The expected digest of a file that a checksum file beside it holds: "<name>.<alg>",
// "<name>.<alg>sum", "<ALG>SUMS" (as SHA256SUMS and MD5SUMS), for the entry's id and each of its
// list stems ("B2SUMS"), or, for CRC-32, an SFV list that names the file. Looking reads only
// regular files of a bounded size (ReadListFile), so a huge file or a FIFO where a checksum file
// would be never stalls the caller.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::checks {

struct SidecarDigest {
    hashing::Digest digest;
    std::filesystem::path source;                    // the checksum file that holds it
    const hashing::AlgorithmEntry* entry = nullptr;  // whose digest it is
};

// The expected digest beside `file` for `entry`. Each checksum file is read as a list of that
// entry's digests, the way the list window and `tolvek-cli -c -a` read lists, so a BSD line
// counts only when it names the same algorithm. The first checksum file in the order above that
// holds a line for the file wins.
std::optional<SidecarDigest> FindSidecarDigest(const std::filesystem::path& file,
                                               const hashing::AlgorithmEntry& entry);

// The expected digest beside `file` of `preferred` when a checksum file holds one, else of the
// first of `entries` that one holds: a SHA256SUMS beside an ISO counts whatever entry the user
// hashes with.
std::optional<SidecarDigest> FindAnySidecarDigest(const std::filesystem::path& file,
                                                  const hashing::AlgorithmEntry& preferred,
                                                  std::span<const hashing::AlgorithmEntry> entries);

// The same answers for many files, each folder listed and each checksum file read once: the
// thousands of names pasted from one folder cost one read of its SHA256SUMS, not one a name.
// Files changed after they were read are not seen again, so one lookup serves one batch of names.
class SidecarLookup {
public:
    std::optional<SidecarDigest> find(const std::filesystem::path& file,
                                      const hashing::AlgorithmEntry& entry);
    std::optional<SidecarDigest> findAny(const std::filesystem::path& file,
                                         const hashing::AlgorithmEntry& preferred,
                                         std::span<const hashing::AlgorithmEntry> entries);

private:
    // The names a folder holds (`complete` when all were listed) and its SFV lists.
    struct Folder {
        std::unordered_set<std::string> names;
        bool complete = false;
        std::vector<std::filesystem::path> sfvLists;
    };
    // A checksum file's digests, with the first line for each file (normal path) and for each
    // name's last component; nothing when it could not be read as a list.
    struct ReadList {
        std::vector<hashing::Digest> digests;
        std::unordered_map<std::string, std::size_t> byPath;
        std::unordered_map<std::string, std::size_t> byFileName;
    };

    const Folder& folder(const std::filesystem::path& path);
    const std::optional<ReadList>& list(const std::filesystem::path& path,
                                        const hashing::AlgorithmEntry& entry);

    std::map<std::filesystem::path, Folder> m_folders;
    std::map<std::pair<std::filesystem::path, const hashing::AlgorithmEntry*>,
             std::optional<ReadList>>
        m_lists;
};

}  // namespace tolvek::checks
