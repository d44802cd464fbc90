// The entries of the algorithm list and the provider behind each: one table that the
// main window and tolvek-cli share, so both always compute the same function for a caption.
#pragma once

#include <cstdint>
#include <istream>
#include <span>
#include <string>
#include <string_view>

#include "app/digest/Digester.h"

namespace tolvek::app {

// What a provider gives: the digest text on success, else the failure's message.
using DigestOutcome = digest::DigestOutcome;

// One way of computing an entry's function. Every provider hashes files, byte strings and
// streams (tolvek-cli's standard input), and gives lower-case text on success.
class Provider {
public:
    virtual ~Provider() = default;
    virtual DigestOutcome hashFile(const std::string& fileName) const = 0;
    virtual DigestOutcome hashText(const std::string& text) const = 0;
    virtual DigestOutcome hashStream(std::istream& input) const = 0;
};

struct AlgorithmEntry {
    std::string_view id;       // short name for the command line, lower case
    std::string_view caption;  // text of the list entry
    std::string_view description;  // what the entry computes, in one line
    int position;              // position in the algorithm list
    const Provider& fileRoute;
    const Provider& stringRoute;
};

// The entries in list order.
std::span<const AlgorithmEntry> AlgorithmEntries();

// The entry at a list position, or null for a position outside the list (no selection).
const AlgorithmEntry* AlgorithmAt(int position);

// The entry whose short id equals `name`, else the one whose caption does, ignoring ASCII case;
// null if none. An id wins because a caption of one entry may be another entry's id.
const AlgorithmEntry* FindAlgorithm(std::string_view name);

}  // namespace tolvek::app
