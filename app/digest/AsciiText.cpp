#include "app/digest/AsciiText.h"

#include <algorithm>

namespace tolvek::digest {

namespace {

std::string mapRange(std::string_view text, char first, char last, int shift) {
    std::string mapped(text);
    for (char& byte : mapped) {
        if (byte >= first && byte <= last) {
            byte = static_cast<char>(byte + shift);
        }
    }
    return mapped;
}

// Compared as unsigned: bytes 0x80 and above are text, not blanks.
bool isBlank(char byte) {
    return static_cast<unsigned char>(byte) <= 0x20;
}

}  // namespace

std::string AsciiUpper(std::string_view text) {
    return mapRange(text, 'a', 'z', 'A' - 'a');
}

std::string AsciiLower(std::string_view text) {
    return mapRange(text, 'A', 'Z', 'a' - 'A');
}

std::string Trim(std::string_view text) {
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank);
    text.remove_suffix(static_cast<std::size_t>(last - text.rbegin()));
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    text.remove_prefix(static_cast<std::size_t>(first - text.begin()));
    return std::string(text);
}

std::string Replaced(std::string pattern, std::string_view placeholder, std::string_view text) {
    if (const std::size_t at = pattern.find(placeholder); at != std::string::npos) {
        pattern.replace(at, placeholder.size(), text);
    }
    return pattern;
}

}  // namespace tolvek::digest
