#include "app/checks/ListCheck.h"

#include <algorithm>
#include <cerrno>

namespace tolvek::checks {

using hashing::AlgorithmEntry;

CheckVerdict CheckFile(const CheckItem& item, const hashing::ReadControl& control) {
    hashing::FileContent content = hashing::FileContent::Open(item.path, control);
    return CheckContent(item, content, control).verdict;
}

namespace {

ContentCheck checkWith(const CheckItem& item, hashing::FileContent& content,
                       const hashing::ReadControl& control) {
    ContentCheck check;
    check.digests = hashing::HashContentWith(
        content, hashing::RoutesOf(item.candidates, hashing::Route::File), control);
    check.verdict = VerdictOf(item, check.digests);
    return check;
}

// The guess alone first when there is one and the content can be fed again for the others,
// then the others, the verdict then taken from every candidate's digest in their order, as if
// they had been computed together.
ContentCheck digestCheck(const CheckItem& item, hashing::FileContent& content,
                         const hashing::ReadControl& control, const AlgorithmEntry* likely) {
    likely = content.feedsAgain() ? FirstGuess(item, likely) : nullptr;
    if (likely == nullptr) {
        return checkWith(item, content, control);
    }
    CheckItem tried = item;
    tried.candidates = {likely};
    ContentCheck guessed = checkWith(tried, content, control);
    if (guessed.verdict.status != CheckStatus::Failed) {
        return guessed;
    }
    const auto at = std::ranges::find(item.candidates, likely) - item.candidates.begin();
    std::erase(tried.candidates = item.candidates, likely);
    ContentCheck rest = checkWith(tried, content, control);
    if (!rest.digests.cancelled) {
        rest.digests.outcomes.insert(rest.digests.outcomes.begin() + at,
                                     std::move(guessed.digests.outcomes.front()));
        rest.verdict = VerdictOf(item, rest.digests);
    }
    return rest;
}

}  // namespace

const AlgorithmEntry* FirstGuess(const CheckItem& item, const AlgorithmEntry* likely) {
    if (item.candidates.size() < 2 || item.expected.empty()) {
        return nullptr;
    }
    if (std::ranges::find(item.candidates, likely) != item.candidates.end()) {
        return likely;
    }
    const auto usual = std::ranges::find_if(
        item.candidates, [](const AlgorithmEntry* entry) { return entry->triedFirst; });
    return usual == item.candidates.end() ? nullptr : *usual;
}

std::span<const AlgorithmEntry* const> FirstComputed(const CheckItem& item,
                                                     const AlgorithmEntry* likely) {
    const std::span<const AlgorithmEntry* const> all = item.candidates;
    const AlgorithmEntry* const guess = FirstGuess(item, likely);
    return guess == nullptr ? all : all.subspan(std::ranges::find(all, guess) - all.begin(), 1);
}

bool SizeDiffers(const CheckItem& item, const hashing::FileContent& content) {
    const std::optional<std::uint64_t> size = content.size();
    return item.size && size && *size != *item.size;
}

ContentCheck CheckContent(const CheckItem& item, hashing::FileContent& content,
                          const hashing::ReadControl& control, const AlgorithmEntry* likely) {
    if (SizeDiffers(item, content)) {
        ContentCheck check;
        check.verdict.status = CheckStatus::Failed;
        return check;
    }
    return digestCheck(item, content, control, likely);
}

ContentCheck MatchHint::check(const CheckItem& item, hashing::FileContent& content,
                              const hashing::ReadControl& control) {
    ContentCheck checked = CheckContent(item, content, control, m_entry.load());
    if (checked.verdict.matched != nullptr) {
        m_entry = checked.verdict.matched;
    }
    return checked;
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
            verdict.failure = outcome.failure;
            return verdict;
        }
        if (outcome.digest == item.expected) {
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
