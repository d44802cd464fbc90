#include "app/checks/Sidecar.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "app/checks/ChecksumList.h"
#include "app/checks/ListItems.h"
#include "app/hashing/AsciiText.h"

namespace tolvek::checks {

namespace fs = std::filesystem;

namespace {

// A folder is listed up to this many entries: SFV lists past them are not searched for, and
// the names past them are looked for one by one.
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

std::vector<Candidate> candidatesFor(const fs::path& file, const hashing::AlgorithmEntry& entry,
                                     const std::vector<fs::path>& sfvLists) {
    const std::string name = file.filename().string();
    const fs::path folder = file.parent_path();
    std::vector<Candidate> candidates;
    for (const std::string& stem : stemsOf(entry)) {
        candidates.push_back({folder / (name + "." + stem), Source::OwnSidecar});
        candidates.push_back({folder / (name + "." + stem + "sum"), Source::OwnSidecar});
        candidates.push_back({folder / (hashing::AsciiUpper(stem) + "SUMS"), Source::SharedList});
    }
    if (entry.id == kSfvAlgorithm) {
        for (const fs::path& list : sfvLists) {
            candidates.push_back({list, Source::SharedList});
        }
    }
    return candidates;
}

// The first of two line numbers, either possibly missing.
std::optional<std::size_t> firstOf(std::optional<std::size_t> one,
                                   std::optional<std::size_t> other) {
    if (one && other) {
        return std::min(*one, *other);
    }
    return one ? one : other;
}

template <typename Map>
std::optional<std::size_t> lineFor(const Map& lines, const std::string& key) {
    const auto found = lines.find(key);
    return found == lines.end() ? std::nullopt : std::optional(found->second);
}

}  // namespace

std::optional<SidecarDigest> FindSidecarDigest(const fs::path& file,
                                               const hashing::AlgorithmEntry& entry) {
    return SidecarLookup().find(file, entry);
}

std::optional<SidecarDigest> FindAnySidecarDigest(
    const fs::path& file, const hashing::AlgorithmEntry& preferred,
    std::span<const hashing::AlgorithmEntry> entries) {
    return SidecarLookup().findAny(file, preferred, entries);
}

const SidecarLookup::Folder& SidecarLookup::folder(const fs::path& path) {
    const auto [at, added] = m_folders.try_emplace(path);
    Folder& listed = at->second;
    if (!added) {
        return listed;
    }
    std::error_code error;
    fs::directory_iterator entries(path, error);
    int seen = 0;
    for (; !error && entries != fs::directory_iterator() && seen < kMostFolderEntries;
         entries.increment(error), ++seen) {
        std::string name = entries->path().filename().string();
        if (FlavourOfListName(name) == ListFlavour::Sfv) {
            listed.sfvLists.push_back(entries->path());
        }
        listed.names.insert(std::move(name));
    }
    // A folder that could not be listed whole is asked for each name instead.
    listed.complete = !error && entries == fs::directory_iterator();
    std::ranges::sort(listed.sfvLists);
    return listed;
}

// A file's own sidecar often records the path it was made with ("out/x.iso"), so its lines
// are found by their last component too.
const std::optional<SidecarLookup::ReadList>& SidecarLookup::list(
    const fs::path& path, const hashing::AlgorithmEntry& entry) {
    const auto [at, added] = m_lists.try_emplace({path, &entry});
    if (!added) {
        return at->second;
    }
    std::optional<ListItems> items = ReadListFile(path.string(), &entry);
    if (items) {
        ReadList& read = at->second.emplace();
        for (CheckItem& item : items->items) {
            const std::size_t line = read.digests.size();
            read.byPath.try_emplace(normalFile(item.path).string(), line);
            read.byFileName.try_emplace(fs::path(item.name).filename().string(), line);
            read.digests.push_back(std::move(item.expected));
        }
    }
    return at->second;
}

std::optional<SidecarDigest> SidecarLookup::find(const fs::path& file,
                                                 const hashing::AlgorithmEntry& entry) {
    const fs::path normal = normalFile(file);
    const Folder& beside = folder(normal.parent_path());
    for (const Candidate& candidate : candidatesFor(normal, entry, beside.sfvLists)) {
        if (beside.complete && !beside.names.contains(candidate.name.filename().string())) {
            continue;
        }
        const std::optional<ReadList>& read = list(candidate.name, entry);
        if (!read) {
            continue;
        }
        std::optional<std::size_t> line = lineFor(read->byPath, normal.string());
        if (candidate.source == Source::OwnSidecar) {
            line = firstOf(line, lineFor(read->byFileName, normal.filename().string()));
        }
        if (line) {
            return SidecarDigest{read->digests[*line], candidate.name, &entry};
        }
    }
    return std::nullopt;
}

std::optional<SidecarDigest> SidecarLookup::findAny(
    const fs::path& file, const hashing::AlgorithmEntry& preferred,
    std::span<const hashing::AlgorithmEntry> entries) {
    if (std::optional<SidecarDigest> own = find(file, preferred)) {
        return own;
    }
    for (const hashing::AlgorithmEntry& entry : entries) {
        if (&entry == &preferred) {
            continue;
        }
        if (std::optional<SidecarDigest> other = find(file, entry)) {
            return other;
        }
    }
    return std::nullopt;
}

}  // namespace tolvek::checks
