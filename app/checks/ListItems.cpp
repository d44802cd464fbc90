#include "app/checks/ListItems.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "app/checks/ChecksumList.h"
#include "app/checks/ToolLists.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/EntryVariants.h"
#include "app/hashing/DigestText.h"
#include "platform/LineReader.h"

namespace tolvek::checks {

namespace {

using hashing::AlgorithmEntry;
using hashing::EntryFacts;

std::string_view fileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The list's folder with its final "/", or nothing for a list in the current folder.
std::string_view folderOf(std::string_view listPath) {
    const std::size_t slash = listPath.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : listPath.substr(0, slash + 1);
}

std::string resolved(std::string_view listPath, std::string_view name) {
    if (name.starts_with('/') || listPath == "-") {
        return std::string(name);
    }
    return std::string(folderOf(listPath)) + std::string(name);
}

// The file a sidecar list checks: its own name without the last extension.
std::optional<std::string> sidecarTarget(std::string_view listPath) {
    const std::string_view fileName = fileNameOf(listPath);
    const std::size_t dot = fileName.rfind('.');
    if (listPath == "-" || dot == std::string_view::npos || dot == 0) {
        return std::nullopt;
    }
    return std::string(fileName.substr(0, dot));
}

// The entry whose space-separated `names` (a field of the rows) hold `name`; null if none.
const AlgorithmEntry* entryNamed(std::string_view EntryFacts::*names, std::string_view name) {
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        if (hashing::NamesHold(entry.*names, name)) {
            return &entry;
        }
    }
    return nullptr;
}

const AlgorithmEntry* namedEntry(std::string_view tag) {
    const AlgorithmEntry* found = hashing::FindAlgorithm(tag);
    for (const auto names :
         {&EntryFacts::otherNames, &EntryFacts::integrityName, &EntryFacts::httpName}) {
        found = found != nullptr ? found : entryNamed(names, tag);
    }
    return found;
}

// Longer digests than this are no tag's: a list line cannot make the program build any length.
constexpr std::size_t kLongestVariantBits = 8192;

// "NAME-BITS", as b2sum -l and cksum -l name their digests ("BLAKE2b-256"): NAME's entry at
// that length, made once for the process, so that every item may point at it; null when NAME's
// algorithm takes no such length.
const AlgorithmEntry* lengthVariant(std::string_view tag) {
    const std::size_t dash = tag.rfind('-');
    std::size_t bits = 0;
    const std::string_view digits = dash == std::string_view::npos ? "" : tag.substr(dash + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bits);
    const AlgorithmEntry* base = digits.empty() ? nullptr : namedEntry(tag.substr(0, dash));
    if (base == nullptr || error != std::errc() || end != digits.data() + digits.size() ||
        bits > kLongestVariantBits) {
        return nullptr;
    }
    static std::mutex guard;
    static std::map<std::pair<const AlgorithmEntry*, std::size_t>,
                    std::unique_ptr<const hashing::EntryVariant>>
        made;
    const std::lock_guard lock(guard);
    auto& variant = made[{base, bits}];
    if (!variant) {
        hashing::EntryOptions options;
        options.lengthBits = bits;
        variant = hashing::MakeVariant(*base, options).variant;
    }
    return variant ? &*variant->entry : nullptr;
}

constexpr std::string_view kLfsVersion = "version https://git-lfs.github.com/spec/v1";

// The object git-lfs fetched for `oid` into the repository that holds the pointer
// (.git/lfs/objects/ab/cd/abcd...), looked for from the pointer's own folder up.
std::optional<std::string> fetchedObject(std::string_view pointerPath, std::string_view oid) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path object =
        fs::path(".git/lfs/objects") / oid.substr(0, 2) / oid.substr(2, 2) / oid;
    fs::path folder = fs::absolute(fs::path(pointerPath), error).parent_path();
    for (; !error && !folder.empty(); folder = folder.parent_path()) {
        std::error_code missing;
        if (fs::is_regular_file(folder / object, missing)) {
            return (folder / object).string();
        }
        if (folder == folder.parent_path()) {
            break;
        }
    }
    return std::nullopt;
}

}  // namespace

const AlgorithmEntry* AlgorithmOfTag(std::string_view tag) {
    const AlgorithmEntry* found = namedEntry(tag);
    return found != nullptr ? found : lengthVariant(tag);
}

const AlgorithmEntry* AlgorithmOfListName(std::string_view listPath) {
    if (listPath == "-") {
        return nullptr;
    }
    const std::string fileName = hashing::AsciiLower(fileNameOf(listPath));
    if (const std::optional<std::string_view> bagIt = BagItAlgorithm(fileName)) {
        return AlgorithmOfTag(*bagIt);
    }
    std::string_view stem = fileName;
    stem.remove_prefix(std::min(stem.rfind('.') + 1, stem.size()));
    for (const std::string_view suffix : {"sums", "sum"}) {
        if (stem.ends_with(suffix)) {
            stem.remove_suffix(suffix.size());
            break;
        }
    }
    if (stem.empty()) {
        return nullptr;
    }
    const AlgorithmEntry* named = entryNamed(&EntryFacts::listStems, stem);
    return named != nullptr ? named : AlgorithmOfTag(stem);
}

ListItemReader::ListItemReader(const std::string& listPath, const AlgorithmEntry* forced,
                               OnEntry onEntry)
    : m_listPath(listPath),
      m_forced(forced),
      m_listAlgorithm(forced != nullptr ? forced : AlgorithmOfListName(listPath)),
      m_onEntry(std::move(onEntry)),
      m_allLengths(hashing::DigestLengthsOf(hashing::AlgorithmEntries())),
      m_listLength(m_listAlgorithm != nullptr
                       ? std::vector<std::size_t>{m_listAlgorithm->digestBytes()}
                       : std::vector<std::size_t>{}),
      // A BSD line names its own algorithm, whatever the list's name says, so its digest may
      // have a length the list's algorithm has not; -a leaves it none.
      m_lines(m_listLength.empty() ? DigestLengths(m_allLengths) : DigestLengths(m_listLength),
              FlavourOfListName(listPath),
              m_forced == nullptr && !m_listLength.empty() ? DigestLengths(m_allLengths)
                                                           : DigestLengths{}) {}

void ListItemReader::read(std::string_view line) {
    const NumberedLine numbered = m_lines.read(line);
    if (m_pointer || (!m_anyLine && line == kLfsVersion && m_listPath != "-")) {
        if (std::exchange(m_pointer, true)) {
            takePointerLine(numbered.number, line);
        }
        m_anyLine = true;
        return;
    }
    if (numbered.line.form == LineForm::BlankOrComment) {
        return;
    }
    if (m_lone) {
        m_onEntry({m_lone->number, std::nullopt, {}});
        m_lone.reset();
    }
    const bool first = !std::exchange(m_anyLine, true);
    if (numbered.line.form == LineForm::DigestOnly && first) {
        m_lone = numbered;
        return;
    }
    take(numbered);
}

void ListItemReader::end() {
    if (m_pointerItem) {
        m_onEntry({m_pointerItem->lineNumber, std::move(m_pointerItem), {}});
        m_pointerItem.reset();
    }
    if (m_lone) {
        m_onEntry(entryOf(*m_lone, sidecarTarget(m_listPath)));
        m_lone.reset();
    }
}

void ListItemReader::take(const NumberedLine& numbered) {
    const bool named = numbered.line.form != LineForm::DigestOnly;
    m_onEntry(entryOf(numbered, named ? std::optional(numbered.line.name) : std::nullopt));
}

// The pointer's "oid sha256:<hex>" line gives the digest and its "size N" line the size; the
// extensions' lines say nothing that these do not. The item goes out at the pointer's end.
// It names the file of the pointer's own name, which it shares with the file it stands for: that
// file is the object git-lfs fetched into the pointer's repository, found from the pointer's
// folder wherever the check runs, or else the file of that name in the current folder, where a
// check runs in the folder the objects were downloaded to.
void ListItemReader::takePointerLine(std::size_t number, std::string_view line) {
    constexpr std::string_view kOid = "oid sha256:";
    constexpr std::string_view kSize = "size ";
    if (line.starts_with(kSize) && m_pointerItem) {
        const std::string_view digits = line.substr(kSize.size());
        std::uint64_t size = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), size);
        if (error != std::errc() || end != digits.data() + digits.size()) {
            m_onEntry({number, std::nullopt, {}});
            m_pointerItem.reset();
            return;
        }
        m_pointerItem->size = size;
    }
    if (!line.starts_with(kOid)) {
        return;
    }
    const std::string_view oid = line.substr(kOid.size());
    const std::optional<hashing::Digest> digest = hashing::ReadHex(oid);
    const AlgorithmEntry* sha256 = hashing::FindAlgorithm("sha256");
    if (!digest || digest->size() != sha256->digestBytes()) {
        m_onEntry({number, std::nullopt, {}});
        return;
    }
    const std::string name(fileNameOf(m_listPath));
    const std::string path = fetchedObject(m_listPath, hashing::AsciiLower(oid)).value_or(name);
    m_pointerItem = CheckItem{number, name, path, *digest, {sha256}, std::nullopt};
}

ListEntry ListItemReader::entryOf(const NumberedLine& numbered,
                                  const std::optional<std::string>& name) const {
    const ChecksumLine& line = numbered.line;
    std::vector<const AlgorithmEntry*> candidates = candidatesOf(line);
    if (line.form == LineForm::Malformed || candidates.empty() || !name) {
        const bool unknown = !line.algorithm.empty() && AlgorithmOfTag(line.algorithm) == nullptr;
        return {numbered.number, std::nullopt, unknown ? line.algorithm : std::string()};
    }
    return {numbered.number, CheckItem{numbered.number, *name, resolved(m_listPath, *name),
                                       line.digest, std::move(candidates), line.size},
                                       {}};
}

// Nothing when the line's digest cannot be of the algorithm it must be of.
std::vector<const AlgorithmEntry*> ListItemReader::candidatesOf(const ChecksumLine& line) const {
    const std::size_t bytes = line.digest.size();
    const AlgorithmEntry* decided = m_listAlgorithm;
    if (!line.algorithm.empty()) {
        // A forced entry made with options ("BLAKE2b-256") is named by its own tag.
        const bool namesForced = m_forced != nullptr &&
                                 hashing::AsciiLower(line.algorithm) ==
                                     hashing::AsciiLower(TagOf(*m_forced));
        const AlgorithmEntry* named = namesForced ? m_forced : AlgorithmOfTag(line.algorithm);
        const bool conflicts = m_forced != nullptr && named != m_forced;
        decided = conflicts ? nullptr : named;
        if (decided == nullptr) {
            return {};
        }
    }
    if (decided == nullptr) {
        return hashing::EntriesOfLength(hashing::AlgorithmEntries(), bytes);
    }
    if (decided->digestBytes() != bytes) {
        return {};
    }
    return {decided};
}

namespace {

// The entries of the lines that `feed` hands on, read as ListItemReader reads them.
ListItems collectItems(const std::string& listPath, const AlgorithmEntry* forced,
                       const std::function<void(const LineConsumer&)>& feed) {
    ListItems items;
    ListItemReader reader(listPath, forced, [&items](ListEntry entry) {
        if (entry.item) {
            items.items.push_back(std::move(*entry.item));
        } else {
            items.malformedLines.push_back(entry.lineNumber);
        }
        if (!entry.unsupported.empty()) {
            items.unsupported.push_back(std::move(entry.unsupported));
        }
    });
    items.listAlgorithm = reader.listAlgorithm();
    feed([&reader](std::string_view line) { reader.read(line); });
    reader.end();
    return items;
}

}  // namespace

ListItems ReadListItems(std::string_view listText, const std::string& listPath,
                        const AlgorithmEntry* forced) {
    return collectItems(listPath, forced,
                        [listText](const LineConsumer& line) { ForEachLine(listText, line); });
}

std::optional<ListItems> ReadListFile(const std::string& listPath, const AlgorithmEntry* forced) {
    std::optional<platform::LineReader> lines =
        platform::OpenSmallTextFile(listPath, kLargestListFile);
    if (!lines) {
        return std::nullopt;
    }
    ListItems items = collectItems(listPath, forced, [&lines](const LineConsumer& consume) {
        for (std::string line; lines->next(line);) {
            consume(line);
        }
    });
    return lines->systemError() == 0 ? std::optional(std::move(items)) : std::nullopt;
}

std::optional<std::vector<CheckItem>> ListedItems(const std::string& path) {
    std::optional<ListItems> items = ReadListFile(path);
    if (!items) {
        return std::nullopt;
    }
    const bool byName = AlgorithmOfListName(path) != nullptr;
    if (items->items.empty() || (!byName && !items->malformedLines.empty())) {
        return std::nullopt;
    }
    return std::move(items->items);
}

}  // namespace tolvek::checks
