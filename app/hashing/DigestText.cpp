#include "app/hashing/DigestText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/AsciiText.h"

namespace tolvek::hashing {

namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Each byte's value as a hex digit, or -1: a list check reads a digest per line, so this is hot.
constexpr std::array<std::int8_t, 256> kHexValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int digit = 0; digit < 16; ++digit) {
        values[static_cast<unsigned char>(kHexDigits[digit])] = static_cast<std::int8_t>(digit);
        values[static_cast<unsigned char>("0123456789ABCDEF"[digit])] =
            static_cast<std::int8_t>(digit);
    }
    return values;
}();

int hexValue(char digit) {
    return kHexValues[static_cast<unsigned char>(digit)];
}

int base64Value(char symbol) {
    const std::size_t position = kBase64Alphabet.find(symbol);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

// xxhsum 0.8.2 sets XXH3's 64-bit digests apart from XXH64's by this prefix.
constexpr std::string_view kXxh3Prefix = "XXH3_";

// An algorithm's name in a web form: letters, digits and "-", at least one letter.
bool isWebName(std::string_view name) {
    return !name.empty() && std::ranges::all_of(name, [](char byte) {
        return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
               (byte >= '0' && byte <= '9') || byte == '-';
    });
}

std::optional<NamedDigestText> named(std::string_view algorithm, std::string_view digest) {
    if (!isWebName(algorithm) || digest.empty()) {
        return std::nullopt;
    }
    return NamedDigestText{algorithm, digest};
}

// The big-endian number that `bytes` spell.
std::uint64_t numberOf(std::span<const std::uint8_t> bytes) {
    std::uint64_t number = 0;
    for (const std::uint8_t byte : bytes) {
        number = number << 8 | byte;
    }
    return number;
}

// The numbers a tool prints for a checksum followed by the 8 bytes of the message's length: the
// checksum, and the length in bytes (cksum) or in sum's blocks.
std::optional<PrintedNumbers> printedNumbers(ShownAs form, std::span<const std::uint8_t> digest) {
    constexpr std::size_t kLengthBytes = 8;
    if (digest.size() < kLengthBytes || form == ShownAs::Hex || form == ShownAs::Number) {
        return std::nullopt;
    }
    const std::uint64_t sum = numberOf(digest.first(digest.size() - kLengthBytes));
    const std::uint64_t length = numberOf(digest.last(kLengthBytes));
    const auto blocks = [length](std::uint64_t size) { return (length + size - 1) / size; };
    switch (form) {
        case ShownAs::BsdSumLine:
            return PrintedNumbers{sum, blocks(1024)};
        case ShownAs::SysvSumLine:
            return PrintedNumbers{sum, blocks(512)};
        default:
            return PrintedNumbers{sum, length};
    }
}

// The pair as its tool prints it.
std::string toolLine(ShownAs form, std::span<const std::uint8_t> digest) {
    const std::optional<PrintedNumbers> numbers = printedNumbers(form, digest);
    if (!numbers) {
        return HexText(digest);
    }
    // Padded on the left to `width` with `fill`, as "%05d" and "%5s" pad.
    const auto padded = [](std::uint64_t number, std::size_t width, char fill) {
        std::string text = std::to_string(number);
        return std::string(width - std::min(width, text.size()), fill) + text;
    };
    if (form == ShownAs::BsdSumLine) {
        return padded(numbers->sum, 5, '0') + " " + padded(numbers->count, 5, ' ');
    }
    return std::to_string(numbers->sum) + " " + std::to_string(numbers->count);
}

// The decimal number at the start of `text`, taken off it.
std::optional<std::uint64_t> takeNumber(std::string_view& text) {
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || (end != text.data() + text.size() && *end != ' ' && *end != '\t')) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return number;
}

std::string_view withoutBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string_view{}
                                           : text.substr(first, last - first + 1);
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
    switch (entry.shownAs) {
        case ShownAs::Hex:
            return HexText(digest);
        case ShownAs::Number:
            return NumberText(digest);
        default:
            return toolLine(entry.shownAs, digest);
    }
}

bool PrintedWithLength(const AlgorithmEntry& entry) {
    return entry.shownAs != ShownAs::Hex && entry.shownAs != ShownAs::Number;
}

std::optional<PrintedNumbers> ReadPrintedNumbers(std::string_view text) {
    text = withoutBlanks(text);
    const std::optional<std::uint64_t> sum = takeNumber(text);
    const std::size_t blanks = std::min(text.find_first_not_of(" \t"), text.size());
    text.remove_prefix(blanks);
    const std::optional<std::uint64_t> count = blanks > 0 ? takeNumber(text) : std::nullopt;
    if (!sum || !count) {
        return std::nullopt;
    }
    return PrintedNumbers{*sum, *count};
}

bool PrintsAs(const AlgorithmEntry& entry, std::span<const std::uint8_t> digest,
              const PrintedNumbers& printed) {
    const std::optional<PrintedNumbers> numbers = printedNumbers(entry.shownAs, digest);
    return numbers && numbers->sum == printed.sum && numbers->count == printed.count;
}

std::string Base64Text(std::span<const std::uint8_t> digest) {
    std::string text;
    text.reserve((digest.size() + 2) / 3 * 4);
    for (std::size_t index = 0; index < digest.size(); index += 3) {
        const std::size_t count = std::min<std::size_t>(3, digest.size() - index);
        unsigned group = 0;
        for (std::size_t byte = 0; byte < 3; ++byte) {
            group = group << 8 | (byte < count ? digest[index + byte] : 0U);
        }
        for (std::size_t symbol = 0; symbol < 4; ++symbol) {
            text += symbol <= count ? kBase64Alphabet[(group >> (18 - 6 * symbol)) & 0x3F] : '=';
        }
    }
    return text;
}

std::optional<std::string> DigestInForm(const AlgorithmEntry& entry,
                                        std::span<const std::uint8_t> digest, DigestForm form) {
    switch (form) {
        case DigestForm::Hex:
            return HexText(digest);
        case DigestForm::UpperHex:
            return AsciiUpper(HexText(digest));
        case DigestForm::Base64:
            return Base64Text(digest);
        case DigestForm::Integrity:
            if (entry.integrityName.empty()) {
                return std::nullopt;
            }
            return std::string(entry.integrityName) + "-" + Base64Text(digest);
        case DigestForm::ContentDigest:
            if (entry.httpName.empty()) {
                return std::nullopt;
            }
            return std::string(entry.httpName) + "=:" + Base64Text(digest) + ":";
    }
    return std::nullopt;
}

std::optional<NamedDigestText> SplitNamedDigest(std::string_view text) {
    if (text.starts_with(kXxh3Prefix)) {
        return named("XXH3", text.substr(kXxh3Prefix.size()));
    }
    const std::size_t field = text.find("=:");
    if (field != std::string_view::npos && text.ends_with(':') && text.size() > field + 2) {
        return named(text.substr(0, field), text.substr(field + 2, text.size() - field - 3));
    }
    // The integrity string's name holds no "-" in any algorithm it names.
    const std::size_t dash = text.find('-');
    if (dash != std::string_view::npos) {
        return named(text.substr(0, dash), text.substr(dash + 1));
    }
    return std::nullopt;
}

std::optional<Digest> ReadHex(std::string_view text) {
    if (text.size() % 2 != 0) {
        return std::nullopt;
    }
    Digest digest(text.size() / 2);
    int invalid = 0;
    for (std::size_t index = 0; index < digest.size(); ++index) {
        const int high = hexValue(text[2 * index]);
        const int low = hexValue(text[2 * index + 1]);
        invalid |= high | low;
        const auto byte = static_cast<unsigned>(high) << 4 | static_cast<unsigned>(low);
        digest[index] = static_cast<std::uint8_t>(byte);
    }
    // A negative value anywhere leaves its sign bit in `invalid`.
    return invalid < 0 ? std::nullopt : std::optional(std::move(digest));
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
