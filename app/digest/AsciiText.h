// Byte-wise text helpers: case mapping of the ASCII letters only (no code page), the trimming
// of pasted text, and filling in a text's placeholder.
#pragma once

#include <string>
#include <string_view>

namespace tolvek::digest {

// Maps a to z to A to Z; every other byte stays.
std::string AsciiUpper(std::string_view text);
// Maps A to Z to a to z; every other byte stays.
std::string AsciiLower(std::string_view text);

// Removes every byte 0x00 to 0x20 (spaces, tabs, line ends, other control bytes) from the end
// and then from the start. Bytes inside the text stay.
std::string Trim(std::string_view text);

// `pattern` with its first `placeholder` ("%1") replaced by `text`.
std::string Replaced(std::string pattern, std::string_view placeholder, std::string_view text);

}  // namespace tolvek::digest
