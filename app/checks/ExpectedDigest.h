// The expected hash as a user pastes or types it, read forgivingly: any case, blanks around it,
// separators between the hex digits, a "0x", a whole checksum list line, or base64.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/checks/ChecksumList.h"

namespace tolvek::checks {

struct ExpectedDigest {
    hashing::Digest digest;
    std::string algorithm;   // as a BSD line names it, else empty
    std::string name;        // the file a list line names, else empty
    // The text holds another digest of this length too; `digest` is the preferred one.
    bool ambiguous = false;
};

// Reads the expected digest from `text`, or nothing when no digest of an accepted length is in
// it. The readings, best first:
// - a list line (GNU, BSD, or SFV with a one-word name, as ReadChecksumLine reads them); a line
//   of hex digits and separators only is never one, so "ca978112 ca1bbdca ..." stays a digest;
// - a hex run: groups of hex digits joined by blanks, line ends, ":" or "-", with "0x" before
//   its first group only ("0xd4 1d 8c", "d41d:8cd9", a digest wrapped over lines). A group must
//   stand apart from letters, digits and "_", so no digest is taken out of a longer word or a
//   longer group; "SHA-256" is a word, not the group "256"; a blank line ends a run. A run
//   whose digit count is no accepted length gives the digests of its lines, else those of its
//   single groups ("CRC 32 a1b2c3d4"). A base64 digest between blanks counts as a run;
// - among readings of one kind the first in the text wins;
// - a digest of letters a to f only ("face", "dead beef") is taken only when the text holds no
//   other.
// `ambiguous` is set when the text holds two different digests of the length of the one taken,
// a list line's name included ("<digest> vs <digest>"); letters-only ones count only among
// themselves, and the same digest repeated is one. Which digests a text holds depends on the
// lengths asked for: "<md5> <md5>" is one 32-byte digest, or at 16 bytes alone one repeated.
// Linear in the text's length.
std::optional<ExpectedDigest> ReadExpectedDigest(std::string_view text, DigestLengths lengths);

}  // namespace tolvek::checks
