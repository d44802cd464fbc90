// An entry computed with the command line's parameters: another output length, a key, a key
// derivation context, or HMAC over the entry's hash. The entry's row says which its algorithm
// takes (AlgorithmEntry::parameters, AlgorithmEntry::hmacBlock); everything else is refused
// with a message that says what the algorithm allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::hashing {

using Bytes = std::vector<std::uint8_t>;

struct EntryOptions {
    std::optional<std::size_t> lengthBits;  // --length BITS
    std::optional<Bytes> key;               // --key-file: a keyed mode of the algorithm
    std::optional<std::string> context;     // --derive-key CONTEXT
    std::optional<Bytes> hmacKey;           // --hmac KEYFILE

    bool any() const { return lengthBits || key || context || hmacKey; }
};

// A provider of the entry's algorithm for the options other than HMAC, or why it has none.
struct ParameterisedProvider {
    std::unique_ptr<Provider> provider;
    std::string refusal;
};

// What an algorithm lets the command line change, as its row offers it.
class Parameters {
public:
    virtual ~Parameters() = default;
    // A provider for options.lengthBits, options.key and options.context (any may be absent).
    virtual ParameterisedProvider make(const EntryOptions& options) const = 0;
};

// The parameters of the engine's streaming hashes that take some: BLAKE2b, BLAKE2s and their
// parallel modes, BLAKE3, the SHAKEs and KangarooTwelve.
template <class Hash>
const Parameters& ParametersOf();

// An entry with its options: its own provider and tag, its names and facts otherwise.
struct EntryVariant {
    std::unique_ptr<Provider> parameterised;
    std::unique_ptr<Provider> hmac;
    std::string tag;
    std::optional<AlgorithmEntry> entry;
};

struct VariantOutcome {
    std::unique_ptr<const EntryVariant> variant;  // null when refused
    std::string refusal;                          // "blake2b: --length takes ..."
};

// `entry` computed with `options`, which hold at least one option.
VariantOutcome MakeVariant(const AlgorithmEntry& entry, const EntryOptions& options);

}  // namespace tolvek::hashing
