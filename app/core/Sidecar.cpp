#include "app/core/Sidecar.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <system_error>
#include <vector>

#include "app/core/ChecksumList.h"
#include "app/digest/AsciiText.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::app {

namespace fs = std::filesystem;

namespace {

// The widest digest a checksum is shown as a number for (CRC-64), in bytes.
constexpr std::size_t kWidestNumber = 8;
// A folder with more entries than this is not searched for SFV lists.
constexpr int kMostFolderEntries = 10000;
constexpr std::string_view kSfvAlgorithm = "crc32";

// The digest lengths to accept for a digest shown with `digits` hex digits: its own, and every
// wider one up to kWidestNumber for a checksum that may have lost leading zeros.
std::vector<std::size_t> acceptedLengths(std::size_t digits) {
    const std::size_t bytes = (digits + 1) / 2;
    std::vector<std::size_t> lengths(std::max(bytes, kWidestNumber) - bytes + 1);
    std::iota(lengths.begin(), lengths.end(), bytes);
    return lengths;
}

// "SHA-256", "sha256" and "SHA256" name the same algorithm.
std::string comparableName(std::string_view name) {
    std::string comparable = digest::AsciiLower(name);
    std::erase(comparable, '-');
    return comparable;
}

fs::path normalFile(const fs::path& name) {
    std::error_code ignored;
    return fs::absolute(name, ignored).lexically_normal();
}

enum class Source { OwnSidecar, SharedList };

struct Candidate {
    fs::path name;
    Source source;
    ListFlavour flavour;
};

// Whether `line` gives the digest of `file` (normal) when it stands in a list in `folder`.
bool namesFile(const ChecksumLine& line, const fs::path& file, Source source) {
    if (line.form == LineForm::DigestOnly) {
        return source == Source::OwnSidecar;
    }
    const fs::path listed(line.name);
    if ((file.parent_path() / listed).lexically_normal() == file) {
        return true;
    }
    // A file's own sidecar often records the path it was made with ("out/x.iso").
    return source == Source::OwnSidecar && listed.filename() == file.filename();
}

bool isDigestLine(const ChecksumLine& line, std::string_view algorithmId) {
    switch (line.form) {
        case LineForm::Bsd:
            return comparableName(line.algorithm) == comparableName(algorithmId);
        case LineForm::Gnu:
        case LineForm::DigestOnly:
            return true;
        case LineForm::Sfv:
            return algorithmId == kSfvAlgorithm;
        case LineForm::BlankOrComment:
        case LineForm::Malformed:
            break;
    }
    return false;
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
        {folder / (name + "." + id), Source::OwnSidecar, ListFlavour::Checksums},
        {folder / (name + "." + id + "sum"), Source::OwnSidecar, ListFlavour::Checksums},
        {folder / (digest::AsciiUpper(id) + "SUMS"), Source::SharedList, ListFlavour::Checksums},
    };
    if (algorithmId == kSfvAlgorithm) {
        for (fs::path& list : sfvListsIn(folder)) {
            candidates.push_back({std::move(list), Source::SharedList, ListFlavour::Sfv});
        }
    }
    return candidates;
}

std::optional<std::string> digestIn(const Candidate& candidate, const fs::path& file,
                                    std::string_view algorithmId, DigestLengths lengths) {
    const std::optional<std::string> text = ReadListFile(candidate.name);
    if (!text) {
        return std::nullopt;
    }
    for (NumberedLine& numbered : ReadChecksumList(*text, lengths, candidate.flavour)) {
        if (isDigestLine(numbered.line, algorithmId) &&
            namesFile(numbered.line, file, candidate.source)) {
            return std::move(numbered.line.digest);
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

std::optional<SidecarDigest> FindSidecarDigest(const fs::path& file, std::string_view algorithmId,
                                               std::string_view shownDigest) {
    if (algorithmId.empty() || shownDigest.empty()) {
        return std::nullopt;
    }
    const fs::path normal = normalFile(file);
    const std::vector<std::size_t> lengths = acceptedLengths(shownDigest.size());
    for (const Candidate& candidate : candidatesFor(normal, algorithmId)) {
        if (std::optional<std::string> digest = digestIn(candidate, normal, algorithmId, lengths)) {
            return SidecarDigest{asShown(std::move(*digest), shownDigest), candidate.name};
        }
    }
    return std::nullopt;
}

}  // namespace tolvek::app
