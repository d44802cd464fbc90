#include "app/hashing/KnownAnswers.h"

#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"

namespace tolvek::hashing {

namespace {

// Nothing when the route gives `answer`, else the text it gave.
std::optional<std::string> wrongTextOf(const Provider& route, const KnownAnswer& answer) {
    DigestOutcome outcome = HashText(route, answer.input);
    if (!outcome.ok) {
        return std::move(outcome.failure);
    }
    std::string digest = HexText(outcome.digest);
    return digest == answer.digest ? std::nullopt : std::optional(std::move(digest));
}

}  // namespace

std::vector<KnownAnswerCheck> CheckKnownAnswers(std::span<const AlgorithmEntry> entries) {
    std::vector<KnownAnswerCheck> checks;
    for (const AlgorithmEntry& entry : entries) {
        const std::optional<KnownAnswer> answer = entry.stringRoute.knownAnswer();
        if (!answer) {
            continue;
        }
        std::optional<std::string> wrong = wrongTextOf(entry.stringRoute, *answer);
        if (!wrong && &entry.fileRoute != &entry.stringRoute) {
            wrong = wrongTextOf(entry.fileRoute, *answer);
        }
        checks.push_back({&entry, !wrong, wrong.value_or("")});
    }
    return checks;
}

}  // namespace tolvek::hashing
