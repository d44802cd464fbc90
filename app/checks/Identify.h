// Which entries give a digest: the search behind the main window's compare, when the expected
// digest is not the one shown, and behind tolvek-cli --match.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/checks/ExpectedDigest.h"
#include "app/hashing/AlgorithmTable.h"

namespace tolvek::checks {

// The entries of `entries` whose digests are as long as the expected one, but for `known` (an
// entry whose digest is known to differ, or null). The entry a list line names goes first, as
// the likelier of two that match (the empty file's checksums); the others keep table order.
std::vector<const hashing::AlgorithmEntry*> IdentifyCandidates(
    std::span<const hashing::AlgorithmEntry> entries, const ExpectedDigest& expected,
    const hashing::AlgorithmEntry* known = nullptr);

// What the candidates gave for one input, read once for all of them.
struct Identified {
    std::vector<const hashing::AlgorithmEntry*> matches;  // those that gave the expected digest
    // Why the input could not be hashed; the same for every candidate.
    std::optional<std::string> failure;
};

// `outcomes` are the candidates' digests of the input, in their order.
Identified IdentifyFrom(std::span<const hashing::AlgorithmEntry* const> candidates,
                        std::span<const hashing::DigestOutcome> outcomes,
                        const hashing::Digest& expected);

}  // namespace tolvek::checks
