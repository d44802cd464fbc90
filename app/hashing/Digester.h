// One computation of a list entry's function, fed piece by piece: the shape every route (files,
// strings, standard input, several digests from one read) drives, whatever provider is behind it.
// A digest stays bytes until DigestText.h writes it for a reader.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolvek::hashing {

// A digest's bytes, in the order the algorithm's reference tool prints them.
using Digest = std::vector<std::uint8_t>;

// What a computation gives: the digest on success, else the failure's message.
struct DigestOutcome {
    bool ok = false;
    Digest digest;
    std::string failure;
};

// What a digester offers whose message can be hashed in pieces apart, such as a CRC: the file
// reader's threads then each hash the chunk they have just read, while it is still in their
// cache, and no thread waits for another to finish hashing.
class PieceHashing {
public:
    // The value of `bytes` hashed alone; called on several threads at once.
    virtual std::uint64_t hashPiece(std::span<const std::uint8_t> bytes) const = 0;
    // Continues the message with a piece of `length` bytes whose hashPiece gave `value`; the
    // pieces join in message order.
    virtual void joinPiece(std::uint64_t value, std::uint64_t length) = 0;

protected:
    ~PieceHashing() = default;
};

class Digester {
public:
    virtual ~Digester() = default;

    // The message's length, told before its first byte by the routes that know it. Only a hash
    // that begins with the length (a git blob id) needs it; the others ignore it.
    virtual void expectSize(std::uint64_t bytes) { static_cast<void>(bytes); }

    // Feeds the next bytes of the message; any length, including 0 and many gigabytes.
    virtual void update(std::span<const std::uint8_t> bytes) = 0;

    // Ends the computation and gives the digest or the failure's message. Called once; the
    // digester is not used afterwards.
    virtual DigestOutcome finish() = 0;

    // The digester's piece hashing, if its message can be hashed in pieces apart, else null.
    virtual PieceHashing* pieces() { return nullptr; }
};

}  // namespace tolvek::hashing
