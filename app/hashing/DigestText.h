// The one place where digests become text and text becomes digests: lower-case hexadecimal as
// every list and the command line write it, the window's short form of the whole-file
// checksums, and the readers of hexadecimal (either case) and base64 text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/hashing/Digester.h"

namespace tolvek::hashing {

struct AlgorithmEntry;

// Two lower-case hex digits per byte, first byte first: "900150983cd2...".
std::string HexText(std::span<const std::uint8_t> digest);

// The digest as one big-endian number in lower-case hex without leading zeros, "0" for zero:
// the "%x" form in which the window shows the whole-file checksums.
std::string NumberText(std::span<const std::uint8_t> digest);

// The text the main window shows for a digest of `entry`: NumberText for an entry shown as a
// number, else HexText. The framework's upper-case hex, lower-cased, is HexText of its bytes.
std::string ShownText(const AlgorithmEntry& entry, std::span<const std::uint8_t> digest);

// Base64 with padding, as "cksum --base64" writes it.
std::string Base64Text(std::span<const std::uint8_t> digest);

// The ways tolvek-cli writes a digest: lower- or upper-case hex, base64, the web's integrity
// string ("sha384-<base64>", HTML's integrity attribute) and HTTP's Content-Digest field value
// ("sha-256=:<base64>:").
enum class DigestForm { Hex, UpperHex, Base64, Integrity, ContentDigest };

// The digest of `entry` in `form`; nothing for a web form that names no such algorithm.
std::optional<std::string> DigestInForm(const AlgorithmEntry& entry,
                                        std::span<const std::uint8_t> digest, DigestForm form);

// A digest written with its algorithm's name in front: "sha384-<base64>", "sha-256=:<base64>:"
// or xxhsum's "XXH3_<hex>". The name and the digest's text, both as written.
struct NamedDigestText {
    std::string_view algorithm;
    std::string_view digest;
};
std::optional<NamedDigestText> SplitNamedDigest(std::string_view text);
// Whether the entry's checksum is shown, and printed by tolvek-cli, as its tool prints it with
// the message's length (cksum, sum).
bool PrintedWithLength(const AlgorithmEntry& entry);

// The numbers cksum and sum print: the checksum, then the length in bytes (cksum) or blocks
// (sum), as in "930766865 9" or "53615     1".
struct PrintedNumbers {
    std::uint64_t sum = 0;
    std::uint64_t count = 0;
};

// The two numbers of such a line, blanks between and around them, a name after them left out;
// nothing for any other text.
std::optional<PrintedNumbers> ReadPrintedNumbers(std::string_view text);

// Whether the digest of `entry`, one printed with the message's length, prints as `printed`;
// false for every other entry. A sum's block count stands for every length it covers.
bool PrintsAs(const AlgorithmEntry& entry, std::span<const std::uint8_t> digest,
              const PrintedNumbers& printed);

// The digest that hex digits of either case spell; nothing for an odd count or another byte.
std::optional<Digest> ReadHex(std::string_view text);

// The digest that base64 text spells as "cksum --base64" writes it: padded to a multiple of 4
// symbols, no spare bits set (a text with spare bits set would be a second spelling of the
// same digest, and is more likely something else). Nothing for any other text.
std::optional<Digest> ReadBase64(std::string_view text);

}  // namespace tolvek::hashing
