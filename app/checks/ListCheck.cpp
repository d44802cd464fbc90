#include "app/checks/ListCheck.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include "app/checks/ChecksumList.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestSize.h"
#include "app/hashing/Hashing.h"

namespace tolvek::checks {

namespace {

using hashing::AlgorithmEntry;

// Names other tools write in BSD lines, beside our ids and captions.
constexpr std::pair<std::string_view, std::string_view> kForeignTags[] = {
    {"SHA2-224", "sha224"}, {"SHA2-256", "sha256"},         {"SHA2-384", "sha384"},
    {"SHA2-512", "sha512"}, {"SHA2-512/256", "sha512-256"}, {"RIPEMD-160", "ripemd160"},
};

// Where the tools that share an algorithm spell it otherwise than our id in capitals.
constexpr std::pair<std::string_view, std::string_view> kSharedTags[] = {
    {"blake2b", "BLAKE2b"},
};

// List names whose stem is no id: "B2SUMS", "disc.sfv".
constexpr std::pair<std::string_view, std::string_view> kListStems[] = {
    {"sfv", "crc32"},
    {"b2", "blake2b"},
    {"b3", "blake3"},
};

template <std::size_t Size>
std::string_view lookUp(const std::pair<std::string_view, std::string_view> (&table)[Size],
                        std::string_view key) {
    for (const auto& [from, to] : table) {
        if (hashing::AsciiLower(from) == hashing::AsciiLower(key)) {
            return to;
        }
    }
    return {};
}

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

std::vector<const AlgorithmEntry*> entriesOfLength(std::size_t bytes) {
    std::vector<const AlgorithmEntry*> entries;
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        if (hashing::DigestBytes(entry) == bytes) {
            entries.push_back(&entry);
        }
    }
    return entries;
}

}  // namespace

const AlgorithmEntry* AlgorithmOfTag(std::string_view tag) {
    const std::string_view foreign = lookUp(kForeignTags, tag);
    return hashing::FindAlgorithm(foreign.empty() ? tag : foreign);
}

std::string TagOf(const AlgorithmEntry& entry) {
    const std::string_view shared = lookUp(kSharedTags, entry.id);
    return shared.empty() ? hashing::AsciiUpper(entry.id) : std::string(shared);
}

const AlgorithmEntry* AlgorithmOfListName(std::string_view listPath) {
    if (listPath == "-") {
        return nullptr;
    }
    const std::string fileName = hashing::AsciiLower(fileNameOf(listPath));
    std::string_view stem = fileName;
    stem.remove_prefix(std::min(stem.rfind('.') + 1, stem.size()));
    for (const std::string_view suffix : {"sums", "sum"}) {
        if (stem.ends_with(suffix)) {
            stem.remove_suffix(suffix.size());
            break;
        }
    }
    const std::string_view listStem = lookUp(kListStems, stem);
    return stem.empty() ? nullptr : AlgorithmOfTag(listStem.empty() ? stem : listStem);
}

ListItemReader::ListItemReader(const std::string& listPath, const AlgorithmEntry* forced,
                               OnEntry onEntry)
    : m_listPath(listPath),
      m_forced(forced),
      m_listAlgorithm(forced != nullptr ? forced : AlgorithmOfListName(listPath)),
      m_onEntry(std::move(onEntry)),
      m_allLengths(hashing::DigestLengthsOf(hashing::AlgorithmEntries())),
      m_listLength(m_listAlgorithm != nullptr
                       ? std::vector<std::size_t>{hashing::DigestBytes(*m_listAlgorithm)}
                       : std::vector<std::size_t>{}),
      // A BSD line names its own algorithm, whatever the list's name says, so its digest may
      // have a length the list's algorithm has not; -a leaves it none.
      m_lines(m_listLength.empty() ? DigestLengths(m_allLengths) : DigestLengths(m_listLength),
              FlavourOfListName(listPath),
              m_forced == nullptr && !m_listLength.empty() ? DigestLengths(m_allLengths)
                                                           : DigestLengths{}) {}

void ListItemReader::read(std::string_view line) {
    const NumberedLine numbered = m_lines.read(line);
    if (numbered.line.form == LineForm::BlankOrComment) {
        return;
    }
    if (m_lone) {
        m_onEntry({m_lone->number, std::nullopt});
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
    if (m_lone) {
        m_onEntry(entryOf(*m_lone, sidecarTarget(m_listPath)));
        m_lone.reset();
    }
}

void ListItemReader::take(const NumberedLine& numbered) {
    const bool named = numbered.line.form != LineForm::DigestOnly;
    m_onEntry(entryOf(numbered, named ? std::optional(numbered.line.name) : std::nullopt));
}

ListEntry ListItemReader::entryOf(const NumberedLine& numbered,
                                  const std::optional<std::string>& name) const {
    const ChecksumLine& line = numbered.line;
    std::vector<const AlgorithmEntry*> candidates = candidatesOf(line);
    if (line.form == LineForm::Malformed || candidates.empty() || !name) {
        return {numbered.number, std::nullopt};
    }
    return {numbered.number, CheckItem{numbered.number, *name, resolved(m_listPath, *name),
                                       line.digest, std::move(candidates)}};
}

// Nothing when the line's digest cannot be of the algorithm it must be of.
std::vector<const AlgorithmEntry*> ListItemReader::candidatesOf(const ChecksumLine& line) const {
    const std::size_t bytes = line.digest.size() / 2;
    const AlgorithmEntry* decided = m_listAlgorithm;
    if (line.form == LineForm::Bsd) {
        const AlgorithmEntry* named = AlgorithmOfTag(line.algorithm);
        const bool conflicts = m_forced != nullptr && named != m_forced;
        decided = conflicts ? nullptr : named;
        if (decided == nullptr) {
            return {};
        }
    }
    if (decided == nullptr) {
        return entriesOfLength(bytes);
    }
    if (hashing::DigestBytes(*decided) != bytes) {
        return {};
    }
    return {decided};
}

ListItems ReadListItems(std::string_view listText, const std::string& listPath,
                        const AlgorithmEntry* forced) {
    ListItems items;
    ListItemReader reader(listPath, forced, [&items](ListEntry entry) {
        if (entry.item) {
            items.items.push_back(std::move(*entry.item));
        } else {
            items.malformedLines.push_back(entry.lineNumber);
        }
    });
    items.listAlgorithm = reader.listAlgorithm();
    ForEachLine(listText, [&reader](std::string_view line) { reader.read(line); });
    reader.end();
    return items;
}

std::vector<const hashing::Provider*> RoutesOf(const CheckItem& item) {
    std::vector<const hashing::Provider*> routes;
    for (const AlgorithmEntry* candidate : item.candidates) {
        routes.push_back(&candidate->fileRoute);
    }
    return routes;
}

CheckVerdict CheckFile(const CheckItem& item, const hashing::ReadControl& control) {
    hashing::FileContent content = hashing::FileContent::Open(item.path, control);
    return CheckContent(item, content, control);
}

CheckVerdict CheckContent(const CheckItem& item, hashing::FileContent& content,
                          const hashing::ReadControl& control, const AlgorithmEntry* likely) {
    const auto verdictFor = [&](const CheckItem& tried) {
        return VerdictOf(tried, hashing::HashContentWith(content, RoutesOf(tried), control));
    };
    const bool guess = likely != nullptr && item.candidates.size() > 1 && content.feedsAgain() &&
                       std::ranges::find(item.candidates, likely) != item.candidates.end();
    if (!guess) {
        return verdictFor(item);
    }
    CheckItem tried = item;
    tried.candidates = {likely};
    const CheckVerdict verdict = verdictFor(tried);
    if (verdict.status != CheckStatus::Failed) {
        return verdict;
    }
    std::erase(tried.candidates = item.candidates, likely);
    return verdictFor(tried);
}

CheckVerdict VerdictOf(const CheckItem& item, const hashing::FileDigests& digests) {
    CheckVerdict verdict;
    if (digests.cancelled) {
        return verdict;
    }
    verdict.status = CheckStatus::Failed;
    for (std::size_t index = 0; index < digests.outcomes.size(); ++index) {
        const hashing::DigestOutcome& outcome = digests.outcomes[index];
        if (!outcome.ok) {
            verdict.status =
                digests.systemError == ENOENT ? CheckStatus::Missing : CheckStatus::Unreadable;
            verdict.systemError = digests.systemError;
            verdict.failure = outcome.text;
            return verdict;
        }
        if (hashing::FullWidthDigest(outcome.text, hashing::DigestBytes(*item.candidates[index])) ==
            item.expected) {
            verdict.status = CheckStatus::Ok;
            verdict.matched = item.candidates[index];
            return verdict;
        }
    }
    return verdict;
}

void CheckTally::add(CheckStatus status) {
    switch (status) {
        case CheckStatus::Ok:
            ++ok;
            break;
        case CheckStatus::Failed:
            ++failed;
            break;
        case CheckStatus::Missing:
            ++missing;
            break;
        case CheckStatus::Unreadable:
            ++unreadable;
            break;
        case CheckStatus::Cancelled:
            ++cancelled;
            break;
    }
}

}  // namespace tolvek::checks
