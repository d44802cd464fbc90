// One computation of a list entry's function, fed piece by piece: the shape every route (files,
// strings, standard input, several digests from one read) drives, whatever provider is behind it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tolvek::hashing {

// What a computation gives: the digest text on success, else the failure's message.
struct DigestOutcome {
    bool ok = false;
    std::string text;
};

class Digester {
public:
    virtual ~Digester() = default;

    // Feeds the next bytes of the message; any length, including 0 and many gigabytes.
    virtual void update(std::span<const std::uint8_t> bytes) = 0;

    // Ends the computation and gives the entry's text: lower-case hexadecimal as the entry
    // shows it, or the failure's message. Called once; the digester is not used afterwards.
    virtual DigestOutcome finish() = 0;
};

}  // namespace tolvek::hashing
