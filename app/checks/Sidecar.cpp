#include "app/checks/Sidecar.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <vector>

#include "app/checks/ChecksumList.h"
#include "app/checks/ListItems.h"
#include "app/hashing/AsciiText.h"

namespace tolvek::checks {

namespace fs = std::filesystem;

namespace {

// A folder with more entries than this is not searched for SFV lists.
constexpr int kMostFolderEntries = 10000;
constexpr std::string_view kSfvAlgorithm = "crc32";

fs::path normalFile(const fs::path& name) {
    std::error_code ignored;
    return fs::absolute(name, ignored).lexically_normal();
}

enum class Source { OwnSidecar, SharedList };

struct Candidate {
    fs::path name;
    Source source;
};

// Whether `item` of a list of kind `source` checks `file` (normal).
bool checksFile(const CheckItem& item, const fs::path& file, Source source) {
    if (normalFile(item.path) == file) {
        return true;
    }
    // A file's own sidecar often records the path it was made with ("out/x.iso").
    return source == Source::OwnSidecar && fs::path(item.name).filename() == file.filename();
}

std::vector<fs::path> sfvListsIn(const fs::path& folder) {
    std::vector<fs::path> lists;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (int seen = 0; !error && entries != fs::directory_iterator() && seen < kMostFolderEntries;
         entries.increment(error), ++seen) {
        if (FlavourOfListName(entries->path().filename().string()) == ListFlavour::Sfv) {
            lists.push_back(entries->path());
        }
    }
    std::ranges::sort(lists);
    return lists;
}

// The names lists of `entry` go by: its id, then its list stems ("b2" of BLAKE2b).
std::vector<std::string> stemsOf(const hashing::AlgorithmEntry& entry) {
    std::vector<std::string> stems = {std::string(entry.id)};
    for (std::string_view rest = entry.listStems; !rest.empty();) {
        const std::size_t space = std::min(rest.find(' '), rest.size());
        stems.emplace_back(rest.substr(0, space));
        rest.remove_prefix(std::min(space + 1, rest.size()));
    }
    return stems;
}

std::vector<Candidate> candidatesFor(const fs::path& file, const hashing::AlgorithmEntry& entry) {
    const std::string name = file.filename().string();
    const fs::path folder = file.parent_path();
    std::vector<Candidate> candidates;
    for (const std::string& stem : stemsOf(entry)) {
        candidates.push_back({folder / (name + "." + stem), Source::OwnSidecar});
        candidates.push_back({folder / (name + "." + stem + "sum"), Source::OwnSidecar});
        candidates.push_back({folder / (hashing::AsciiUpper(stem) + "SUMS"), Source::SharedList});
    }
    if (entry.id == kSfvAlgorithm) {
        for (fs::path& list : sfvListsIn(folder)) {
            candidates.push_back({std::move(list), Source::SharedList});
        }
    }
    return candidates;
}

std::optional<hashing::Digest> digestIn(const Candidate& candidate, const fs::path& file,
                                        const hashing::AlgorithmEntry& entry) {
    std::optional<ListItems> items = ReadListFile(candidate.name.string(), &entry);
    if (!items) {
        return std::nullopt;
    }
    for (CheckItem& item : items->items) {
        if (checksFile(item, file, candidate.source)) {
            return std::move(item.expected);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<SidecarDigest> FindSidecarDigest(const fs::path& file,
                                               const hashing::AlgorithmEntry& entry) {
    const fs::path normal = normalFile(file);
    for (const Candidate& candidate : candidatesFor(normal, entry)) {
        if (std::optional<hashing::Digest> digest = digestIn(candidate, normal, entry)) {
            return SidecarDigest{std::move(*digest), candidate.name, &entry};
        }
    }
    return std::nullopt;
}

std::optional<SidecarDigest> FindAnySidecarDigest(
    const fs::path& file, const hashing::AlgorithmEntry& preferred,
    std::span<const hashing::AlgorithmEntry> entries) {
    if (std::optional<SidecarDigest> own = FindSidecarDigest(file, preferred)) {
        return own;
    }
    for (const hashing::AlgorithmEntry& entry : entries) {
        if (&entry == &preferred) {
            continue;
        }
        if (std::optional<SidecarDigest> other = FindSidecarDigest(file, entry)) {
            return other;
        }
    }
    return std::nullopt;
}

}  // namespace tolvek::checks
