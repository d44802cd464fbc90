#include "app/checks/Sidecar.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <vector>

#include "app/checks/ChecksumList.h"
#include "app/checks/ListCheck.h"
#include "app/hashing/AsciiText.h"
#include "platform/ReadOnlyFile.h"

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

// `expected` as the window would show it: without the leading zeros a checksum shown as a
// number leaves out.
std::string asShown(std::string expected, std::string_view shownDigest) {
    const std::size_t extra = expected.size() > shownDigest.size()
                                  ? expected.size() - shownDigest.size()
                                  : 0;
    const std::size_t zeros = std::min(extra, expected.find_first_not_of('0'));
    expected.erase(0, zeros);
    return expected;
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

std::vector<Candidate> candidatesFor(const fs::path& file, std::string_view algorithmId) {
    const std::string name = file.filename().string();
    const std::string id(algorithmId);
    const fs::path folder = file.parent_path();
    std::vector<Candidate> candidates = {
        {folder / (name + "." + id), Source::OwnSidecar},
        {folder / (name + "." + id + "sum"), Source::OwnSidecar},
        {folder / (hashing::AsciiUpper(id) + "SUMS"), Source::SharedList},
    };
    if (algorithmId == kSfvAlgorithm) {
        for (fs::path& list : sfvListsIn(folder)) {
            candidates.push_back({std::move(list), Source::SharedList});
        }
    }
    return candidates;
}

std::optional<std::string> digestIn(const Candidate& candidate, const fs::path& file,
                                    const hashing::AlgorithmEntry& entry) {
    const std::optional<std::string> text = ReadListFile(candidate.name);
    if (!text) {
        return std::nullopt;
    }
    for (CheckItem& item : ReadListItems(*text, candidate.name.string(), &entry).items) {
        if (checksFile(item, file, candidate.source)) {
            return std::move(item.expected);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadListFile(const fs::path& name, std::size_t limit) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(name.string());
    if (!file) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> size = file->size();
    if (!size || *size < 0 || static_cast<std::uint64_t>(*size) > limit) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(*size), '\0');
    std::span buffer(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    while (!buffer.empty()) {
        const std::optional<std::size_t> count = file->read(buffer);
        if (!count) {
            return std::nullopt;
        }
        if (*count == 0) {
            break;  // shorter than when it was opened: what is there counts
        }
        buffer = buffer.subspan(*count);
    }
    bytes.resize(bytes.size() - buffer.size());
    return bytes;
}

std::optional<SidecarDigest> FindSidecarDigest(const fs::path& file,
                                               const hashing::AlgorithmEntry& entry,
                                               std::string_view shownDigest) {
    if (shownDigest.empty()) {
        return std::nullopt;
    }
    const fs::path normal = normalFile(file);
    for (const Candidate& candidate : candidatesFor(normal, entry.id)) {
        if (std::optional<std::string> digest = digestIn(candidate, normal, entry)) {
            return SidecarDigest{asShown(std::move(*digest), shownDigest), candidate.name};
        }
    }
    return std::nullopt;
}

}  // namespace tolvek::checks
