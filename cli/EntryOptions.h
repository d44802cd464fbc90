// The options that change what an algorithm computes (--length, --key-file, --derive-key,
// --hmac), applied to the entries -a names.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "app/hashing/EntryVariants.h"
#include "cli/Options.h"

namespace tolvek::cli {

// The entries as the options make them, which live as long as this.
struct OptionedEntries {
    std::vector<std::unique_ptr<const hashing::EntryVariant>> variants;
    std::vector<const hashing::AlgorithmEntry*> entries;
};

// `entries` with the request's options; `entries` themselves when it has none. Nothing, after
// saying why on `errors`, for a key file that cannot be read or an option an entry refuses;
// `exitCode` then says which.
std::optional<OptionedEntries> ApplyEntryOptions(
    const Request& request, std::span<const hashing::AlgorithmEntry* const> entries,
    std::ostream& errors, int& exitCode);

}  // namespace tolvek::cli
