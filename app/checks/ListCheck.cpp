#include "app/checks/ListCheck.h"

#include <algorithm>
#include <cerrno>

namespace tolvek::checks {

using hashing::AlgorithmEntry;

CheckVerdict CheckFile(const CheckItem& item, const hashing::ReadControl& control) {
    hashing::FileContent content = hashing::FileContent::Open(item.path, control);
    return CheckContent(item, content, control);
}

namespace {

// The verdict on the content's digests: `likely` alone first when it is one of several
// candidates, then the others.
CheckVerdict digestVerdict(const CheckItem& item, hashing::FileContent& content,
                           const hashing::ReadControl& control, const AlgorithmEntry* likely) {
    const auto verdictFor = [&](const CheckItem& tried) {
        const auto routes = hashing::RoutesOf(tried.candidates, hashing::Route::File);
        return VerdictOf(tried, hashing::HashContentWith(content, routes, control));
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

}  // namespace

bool SizeDiffers(const CheckItem& item, const hashing::FileContent& content) {
    const std::optional<std::uint64_t> size = content.size();
    return item.size && size && *size != *item.size;
}

CheckVerdict CheckContent(const CheckItem& item, hashing::FileContent& content,
                          const hashing::ReadControl& control, const AlgorithmEntry* likely) {
    if (SizeDiffers(item, content)) {
        CheckVerdict verdict;
        verdict.status = CheckStatus::Failed;
        return verdict;
    }
    return digestVerdict(item, content, control, likely);
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
