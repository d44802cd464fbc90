#include "app/checks/Identify.h"

#include <algorithm>

#include "app/checks/ListCheck.h"

namespace tolvek::checks {

using hashing::AlgorithmEntry;

std::vector<const AlgorithmEntry*> IdentifyCandidates(std::span<const AlgorithmEntry> entries,
                                                      const ExpectedDigest& expected,
                                                      const AlgorithmEntry* known) {
    std::vector<const AlgorithmEntry*> candidates =
        hashing::EntriesOfLength(entries, expected.digest.size());
    std::erase(candidates, known);
    if (!expected.algorithm.empty()) {
        const AlgorithmEntry* named = AlgorithmOfTag(expected.algorithm);
        // The iterator form: Clang 14 rejects the ranges one's result with libstdc++ 12.
        std::stable_partition(candidates.begin(), candidates.end(),
                              [named](const AlgorithmEntry* entry) { return entry == named; });
    }
    return candidates;
}

Identified IdentifyFrom(std::span<const AlgorithmEntry* const> candidates,
                        std::span<const hashing::DigestOutcome> outcomes,
                        const hashing::Digest& expected) {
    Identified identified;
    for (std::size_t index = 0; index < outcomes.size(); ++index) {
        if (!outcomes[index].ok) {
            identified.failure = outcomes[index].failure;
            identified.matches.clear();
            break;
        }
        if (outcomes[index].digest == expected) {
            identified.matches.push_back(candidates[index]);
        }
    }
    return identified;
}

}  // namespace tolvek::checks
