// The lines of checksum lists, read and written: the GNU form ("digest  name", "digest *name"),
// the BSD form ("ALG (name) = digest"), SFV lines ("name crc32") and a lone digest, with the
// backslash escape that lets a name hold a newline.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/hashing/Digester.h"

namespace tolvek::checks {

// The digest lengths, in bytes, a caller accepts (for instance {16, 20, 32}). The readers know
// no algorithm; a text is a digest only when its length is one of these.
using DigestLengths = std::span<const std::size_t>;

enum class LineForm {
    Gnu,  // "digest  name", "digest *name", "digest name", or the escaped "\digest  name"
    Bsd,  // "ALG (name) = digest", "ALG(name)= digest", or the escaped "\ALG (name) = digest"
    Sfv,  // "name crc32": the last field is 8 hex digits
    DigestOnly,      // a line holding only a digest, as a sidecar file "x.iso.sha256" does
    BlankOrComment,  // empty or blank, or "#" (";" in SFV lists) as the line's first byte
    Malformed,
};

// What a list says about its lines: an SFV list ("name.sfv") reads "a1b2c3d4 e5f6a7b8" as the
// name a1b2c3d4 with the CRC e5f6a7b8, every other list as the GNU line with the digest
// a1b2c3d4 for the name e5f6a7b8 (as sha256sum reads it). Only SFV lists have ";" comments.
enum class ListFlavour { Checksums, Sfv };

// The flavour a list's file name implies: Sfv for names ending in ".sfv" (any case).
ListFlavour FlavourOfListName(std::string_view listName);

// How a list's GNU lines set the name apart, decided by its first GNU line as sha256sum decides
// it: a blank and then " " or "*" ("digest  name", "digest *name"), or one blank alone ("digest
// name"), after which the name is the rest of the line, a leading " " or "*" included.
enum class GnuSeparator { Undecided, Marked, OneBlank };

struct ChecksumLine {
    LineForm form = LineForm::Malformed;
    hashing::Digest digest;  // empty for blank, comment and malformed lines
    std::string name;       // the name's exact bytes, unescaped, never resolved ("../x" stays)
    std::string algorithm;  // the BSD form's algorithm name as written ("BLAKE2b-256")
    bool binary = false;    // the GNU form's "*" before the name
    GnuSeparator separator = GnuSeparator::Undecided;  // the GNU form's, once read
};

struct NumberedLine {
    std::size_t number = 0;  // 1 for the list's first line
    ChecksumLine line;
};

// Reads `text` as a digest: hex digits of either case, or base64 as "cksum --base64" writes it.
// Nothing when the text is neither or its length is not accepted. Hex wins where both fit.
std::optional<hashing::Digest> DecodeDigest(std::string_view text, DigestLengths lengths);

// Reads one line of a list, without its line feed: one trailing carriage return goes, leading
// spaces and tabs are skipped. Trailing blanks after a BSD, SFV or lone digest are allowed; a
// GNU name keeps every byte up to the line's end, so "digest   " names the file " ". A GNU line
// must have the list's `separator`; an undecided one takes the line's own, as a first line does.
ChecksumLine ReadChecksumLine(std::string_view line, DigestLengths lengths,
                              ListFlavour flavour = ListFlavour::Checksums,
                              GnuSeparator separator = GnuSeparator::Undecided);

// Reads a list's lines in order, one at a time as they arrive: a UTF-8 byte-order mark before
// the first is skipped, and every GNU line must have the separator of the first. A BSD line
// names its own algorithm, so its digest may have one of `bsdLengths` instead.
class ChecksumListReader {
public:
    ChecksumListReader(DigestLengths lengths, ListFlavour flavour, DigestLengths bsdLengths = {});

    // The next line, without its line feed.
    NumberedLine read(std::string_view line);

private:
    DigestLengths m_lengths;
    ListFlavour m_flavour;
    DigestLengths m_bsdLengths;
    GnuSeparator m_separator = GnuSeparator::Undecided;
    std::size_t m_count = 0;
};

using LineConsumer = std::function<void(std::string_view line)>;

// Calls `line` with each line of `text` in turn, without its line feed; a last line without a
// line feed counts.
void ForEachLine(std::string_view text, const LineConsumer& line);

enum class GnuMode { Text, Binary };
// Escaped: a name holding a backslash, line feed or carriage return is written as "\\", "\n"
// and "\r" behind a backslash that starts the line, as sha256sum writes it. Raw: the name's
// bytes as they are, for lists whose lines end with NUL.
enum class NameEscaping { Escaped, Raw };

// "digest  name" ("digest *name" in binary mode), the digest in hex, without a line end.
std::string FormatGnuLine(std::span<const std::uint8_t> digest, std::string_view name,
                          GnuMode mode = GnuMode::Text,
                          NameEscaping escaping = NameEscaping::Escaped);
// "ALG (name) = digest", the digest in hex, without a line end.
std::string FormatBsdLine(std::string_view algorithm, std::span<const std::uint8_t> digest,
                          std::string_view name, NameEscaping escaping = NameEscaping::Escaped);

// A name as check results and messages show it: a name holding a line feed or a carriage
// return is escaped as in a list line, leading backslash included, so that each message stays
// one line that nothing in it can overwrite; every other name is shown as it is (as
// sha256sum -c shows it).
std::string NameForMessage(std::string_view name);

}  // namespace tolvek::checks
