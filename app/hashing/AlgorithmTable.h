// The entries of the algorithm list and the provider behind each: one table that the
// main window and tolvek-cli share, so both always compute the same function for a caption.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "app/hashing/Digester.h"

namespace tolvek::hashing {

// A published input and the text the entry shows for it.
struct KnownAnswer {
    std::string_view input;
    std::string_view digest;
};

// One way of computing an entry's function: each start() begins a fresh computation.
class Provider {
public:
    virtual ~Provider() = default;
    virtual std::unique_ptr<Digester> start() const = 0;

    // The known answer its algorithm carries, if any (the engine's hash types have the start-up
    // self-test instead).
    virtual std::optional<KnownAnswer> knownAnswer() const { return std::nullopt; }
};

// How the main window shows a file the entry's file route could not hash.
enum class FileFailureShown { Message, EmptyText };

// An entry's list position is its index in the table.
struct AlgorithmEntry {
    std::string_view id;       // short name for the command line, lower case
    std::string_view caption;  // text of the list entry
    std::string_view description;  // what the entry computes, in one line
    const Provider& fileRoute;
    const Provider& stringRoute;
    FileFailureShown fileFailure = FileFailureShown::Message;
    // Why equal digests show only that nothing changed by accident: a checksum, or published
    // practical collisions. Empty for the entries that also reveal deliberate changes.
    std::string_view weakness = {};
};

// The entries in list order.
std::span<const AlgorithmEntry> AlgorithmEntries();

// The entry at a list position of `entries`, or null for a position outside the list (such as
// -1, no selection).
const AlgorithmEntry* EntryAt(std::span<const AlgorithmEntry> entries, int position);

// The entry whose short id, else whose caption, equals `name`, ignoring ASCII case; null if
// none. Ids go first: the id "whirlpool" names another entry than the caption "Whirlpool".
const AlgorithmEntry* FindAlgorithm(std::string_view name);

}  // namespace tolvek::hashing
