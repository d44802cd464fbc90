// The known answers the entries' algorithms carry, checked through each entry's routes: the
// self-test of the algorithms outside the engine's start-up test.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::hashing {

// One entry whose algorithm carries a known answer, and what its routes gave for the input.
struct KnownAnswerCheck {
    const AlgorithmEntry* entry = nullptr;
    bool passed = false;
    // The first text that differed from the known digest (a failure's message included).
    std::string wrongText;
};

// The checks of every entry of `entries` whose routes carry a known answer, in list order. The
// string route and, where it differs, the file route must both give the known digest.
std::vector<KnownAnswerCheck> CheckKnownAnswers(std::span<const AlgorithmEntry> entries);

}  // namespace tolvek::hashing
