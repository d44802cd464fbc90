// Byte-wise text helpers: case mapping of the ASCII letters only (no code page), and the
// trimming of pasted text, and the filling of a language text's placeholders.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tolvek::hashing {

// Maps a to z to A to Z; every other byte stays.
std::string AsciiUpper(std::string_view text);
// Maps A to Z to a to z; every other byte stays.
std::string AsciiLower(std::string_view text);

// Removes every byte 0x00 to 0x20 (spaces, tabs, line ends, other control bytes) from the end
// and then from the start. Bytes inside the text stay.
std::string Trim(std::string_view text);

// `pattern` with "%1" replaced by the first value, "%2" by the second, and so on, in one pass, so
// that a value holding "%2" stays as it is. A placeholder without a value stays.
std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> values);

}  // namespace tolvek::hashing
