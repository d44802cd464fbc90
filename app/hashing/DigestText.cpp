#include "app/hashing/DigestText.h"

#include <algorithm>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::hashing {

namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    return -1;
}

int base64Value(char symbol) {
    const std::size_t position = kBase64Alphabet.find(symbol);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

}  // namespace

std::string HexText(std::span<const std::uint8_t> digest) {
    std::string text;
    text.reserve(2 * digest.size());
    for (const std::uint8_t byte : digest) {
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0F];
    }
    return text;
}

std::string NumberText(std::span<const std::uint8_t> digest) {
    const std::string hex = HexText(digest);
    const std::size_t first = hex.find_first_not_of('0');
    return first == std::string::npos ? "0" : hex.substr(first);
}

std::string ShownText(const AlgorithmEntry& entry, std::span<const std::uint8_t> digest) {
    return entry.shownAs == ShownAs::Number ? NumberText(digest) : HexText(digest);
}

std::optional<Digest> ReadHex(std::string_view text) {
    if (text.size() % 2 != 0) {
        return std::nullopt;
    }
    Digest digest(text.size() / 2);
    for (std::size_t index = 0; index < digest.size(); ++index) {
        const int high = hexValue(text[2 * index]);
        const int low = hexValue(text[2 * index + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        digest[index] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return digest;
}

std::optional<Digest> ReadBase64(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) {
        return std::nullopt;
    }
    const std::size_t padding = text.ends_with("==") ? 2 : text.ends_with('=') ? 1 : 0;
    Digest digest;
    digest.reserve(text.size() / 4 * 3);
    unsigned bits = 0;
    int bitCount = 0;
    for (const char symbol : text.substr(0, text.size() - padding)) {
        const int value = base64Value(symbol);
        if (value < 0) {
            return std::nullopt;
        }
        bits = (bits << 6) | static_cast<unsigned>(value);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            digest.push_back(static_cast<std::uint8_t>(bits >> bitCount));
        }
    }
    if ((bits & ((1U << bitCount) - 1)) != 0) {
        return std::nullopt;
    }
    return digest;
}

}  // namespace tolvek::hashing
