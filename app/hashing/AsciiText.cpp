#include "app/hashing/AsciiText.h"

#include <algorithm>

namespace tolvek::hashing {

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

std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> values) {
    std::string filled;
    filled.reserve(pattern.size());
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const bool placeholder = pattern[at] == '%' && at + 1 < pattern.size() &&
                                 pattern[at + 1] >= '1' &&
                                 static_cast<std::size_t>(pattern[at + 1] - '1') < values.size();
        if (placeholder) {
            filled += *(values.begin() + (pattern[at + 1] - '1'));
            ++at;
        } else {
            filled += pattern[at];
        }
    }
    return filled;
}

}  // namespace tolvek::hashing
