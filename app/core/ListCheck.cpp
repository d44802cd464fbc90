#include "app/core/ListCheck.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include "app/core/ChecksumList.h"
#include "app/digest/AsciiText.h"
#include "app/digest/DigestSize.h"
#include "app/digest/Hashing.h"

namespace tolvek::app {

namespace {

using digest::AlgorithmEntry;

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
        if (digest::AsciiLower(from) == digest::AsciiLower(key)) {
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
    for (const AlgorithmEntry& entry : digest::AlgorithmEntries()) {
        if (digest::DigestBytes(entry) == bytes) {
            entries.push_back(&entry);
        }
    }
    return entries;
}

class ListReader {
public:
    ListReader(const std::string& listPath, const AlgorithmEntry* forced)
        : m_listPath(listPath),
          m_forced(forced),
          m_flavour(FlavourOfListName(listPath)),
          m_allLengths(digest::DigestLengthsOf(digest::AlgorithmEntries())) {
        m_result.listAlgorithm = forced != nullptr ? forced : AlgorithmOfListName(listPath);
        if (m_result.listAlgorithm != nullptr) {
            m_listLength = {digest::DigestBytes(*m_result.listAlgorithm)};
        }
    }

    ListItems read(std::string_view listText) && {
        const DigestLengths lengths = m_listLength.empty() ? m_allLengths : m_listLength;
        std::vector<NumberedLine> lines = ReadChecksumList(listText, lengths, m_flavour);
        if (m_forced == nullptr && !m_listLength.empty()) {
            takeBsdLinesOfOtherLengths(listText, lines);
        }
        for (const NumberedLine& line : lines) {
            if (line.line.form != LineForm::BlankOrComment) {
                add(line);
            }
        }
        return std::move(m_result);
    }

private:
    // A BSD line names its own algorithm, whatever the list's name says, so its digest may have
    // a length the list's algorithm has not.
    void takeBsdLinesOfOtherLengths(std::string_view listText,
                                    std::vector<NumberedLine>& lines) const {
        const bool anyMalformed = std::ranges::any_of(
            lines, [](const NumberedLine& line) { return line.line.form == LineForm::Malformed; });
        if (!anyMalformed) {
            return;
        }
        std::vector<NumberedLine> anyLength = ReadChecksumList(listText, m_allLengths, m_flavour);
        for (std::size_t index = 0; index < lines.size(); ++index) {
            if (lines[index].line.form == LineForm::Malformed &&
                anyLength[index].line.form == LineForm::Bsd) {
                lines[index] = std::move(anyLength[index]);
            }
        }
    }

    void add(const NumberedLine& numbered) {
        const ChecksumLine& line = numbered.line;
        std::vector<const AlgorithmEntry*> candidates = candidatesOf(line);
        std::optional<std::string> name = line.name;
        if (line.form == LineForm::DigestOnly) {
            name = sidecarTarget(m_listPath);
        }
        if (line.form == LineForm::Malformed || candidates.empty() || !name) {
            m_result.malformedLines.push_back(numbered.number);
            return;
        }
        m_result.items.push_back(
            {numbered.number, *name, resolved(m_listPath, *name), line.digest, candidates});
    }

    // Nothing when the line's digest cannot be of the algorithm it must be of.
    std::vector<const AlgorithmEntry*> candidatesOf(const ChecksumLine& line) const {
        const std::size_t bytes = line.digest.size() / 2;
        const AlgorithmEntry* decided = m_result.listAlgorithm;
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
        if (digest::DigestBytes(*decided) != bytes) {
            return {};
        }
        return {decided};
    }

    const std::string& m_listPath;
    const AlgorithmEntry* m_forced;
    ListFlavour m_flavour;
    std::vector<std::size_t> m_allLengths;
    std::vector<std::size_t> m_listLength;
    ListItems m_result;
};

}  // namespace

const AlgorithmEntry* AlgorithmOfTag(std::string_view tag) {
    const std::string_view foreign = lookUp(kForeignTags, tag);
    return digest::FindAlgorithm(foreign.empty() ? tag : foreign);
}

std::string TagOf(const AlgorithmEntry& entry) {
    const std::string_view shared = lookUp(kSharedTags, entry.id);
    return shared.empty() ? digest::AsciiUpper(entry.id) : std::string(shared);
}

const AlgorithmEntry* AlgorithmOfListName(std::string_view listPath) {
    if (listPath == "-") {
        return nullptr;
    }
    const std::string fileName = digest::AsciiLower(fileNameOf(listPath));
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

ListItems ReadListItems(std::string_view listText, const std::string& listPath,
                        const AlgorithmEntry* forced) {
    return ListReader(listPath, forced).read(listText);
}

std::vector<const digest::Provider*> RoutesOf(const CheckItem& item) {
    std::vector<const digest::Provider*> routes;
    for (const AlgorithmEntry* candidate : item.candidates) {
        routes.push_back(&candidate->fileRoute);
    }
    return routes;
}

CheckVerdict CheckFile(const CheckItem& item, const digest::ReadControl& control) {
    digest::FileContent content = digest::FileContent::Open(item.path, control);
    return CheckContent(item, content, control);
}

CheckVerdict CheckContent(const CheckItem& item, digest::FileContent& content,
                          const digest::ReadControl& control, const AlgorithmEntry* likely) {
    const auto verdictFor = [&](const CheckItem& tried) {
        return VerdictOf(tried, digest::HashContentWith(content, RoutesOf(tried), control));
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

CheckVerdict VerdictOf(const CheckItem& item, const digest::FileDigests& digests) {
    CheckVerdict verdict;
    if (digests.cancelled) {
        return verdict;
    }
    verdict.status = CheckStatus::Failed;
    for (std::size_t index = 0; index < digests.outcomes.size(); ++index) {
        const digest::DigestOutcome& outcome = digests.outcomes[index];
        if (!outcome.ok) {
            verdict.status =
                digests.systemError == ENOENT ? CheckStatus::Missing : CheckStatus::Unreadable;
            verdict.systemError = digests.systemError;
            verdict.failure = outcome.text;
            return verdict;
        }
        if (digest::FullWidthDigest(outcome.text, digest::DigestBytes(*item.candidates[index])) ==
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

}  // namespace tolvek::app
