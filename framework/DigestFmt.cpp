#include "framework/DigestFmt.h"

#include <algorithm>

#include "framework/DigestStrings.h"

namespace tolvek::framework {

namespace {

// Positions in the hex table: the sixteen digits, then the two prefix marks.
constexpr std::size_t kDigitCount = 16;
constexpr std::size_t kDigitsAndMarks = 18;

// The digits "0123456789ABCDEF", the prefix marks "X" and "$", then the separators: space,
// "abcdef" (digits again for DecodeText, through upper-casing), "hHx", ()[]{},;:-_/\*+"', tab,
// line feed and carriage return.
constexpr std::string_view kHexTable = "0123456789ABCDEFX$ abcdefhHx()[]{},;:-_/\\*+\"'\t\n\r";
static_assert(kHexTable.size() == 48);

std::string copyOf(const void* data, std::int32_t size) {
    if (size <= 0) {
        return {};
    }
    return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

// Position of `character` among the first `count` table entries, or -1.
int findChar(char character, std::string_view table, std::size_t count) {
    const std::size_t position = table.substr(0, count).find(character);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

char asciiUpper(char character) {
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A')
                                                : character;
}

}  // namespace

std::string TFormat_Copy::EncodeBytes(const void* data, std::int32_t size) const {
    return copyOf(data, size);
}

std::string TFormat_Copy::DecodeText(const char* text, std::int32_t size) const {
    return copyOf(text, size);
}

bool TFormat_Copy::CheckText(const char*, std::int32_t size) const {
    return size >= 0;
}

std::string_view TFormat_HEX::DigitTable() const {
    return kHexTable;
}

std::string TFormat_HEX::EncodeBytes(const void* data, std::int32_t size) const {
    if (size <= 0) {
        return {};
    }
    const std::string_view table = DigitTable();
    const auto* const bytes = static_cast<const std::uint8_t*>(data);
    std::string text;
    text.reserve(2 * static_cast<std::size_t>(size));
    for (std::int32_t index = 0; index < size; ++index) {
        text += table[bytes[index] >> 4];
        text += table[bytes[index] & 0x0F];
    }
    return text;
}

std::string TFormat_HEX::DecodeText(const char* text, std::int32_t size) const {
    if (size <= 0) {
        return {};
    }
    const std::string_view table = DigitTable();
    std::string bytes(static_cast<std::size_t>(size) / 2 + 1, '\0');
    std::size_t write = 0;
    int nibbles = 0;
    bool markSeen = false;
    for (std::int32_t index = 0; index < size; ++index) {
        int value = findChar(text[index], table, kDigitsAndMarks);
        if (value < 0) {
            value = findChar(asciiUpper(text[index]), table, kDigitCount);
        }
        if (value < 0) {
            throw EDigestException::FromText(kInvalidFormatText, ShortClassName(this));
        }
        if (value >= static_cast<int>(kDigitCount)) {
            // Only the first mark restarts the result; what stood before it was a prefix.
            if (!markSeen) {
                markSeen = true;
                nibbles = 0;
                write = 0;
            }
            continue;
        }
        if (nibbles % 2 == 1) {
            bytes[write++] |= static_cast<char>(value);
        } else {
            bytes[write] = static_cast<char>(value << 4);
        }
        ++nibbles;
    }
    bytes.resize(write);
    return bytes;
}

bool TFormat_HEX::CheckText(const char* text, std::int32_t size) const {
    const std::string_view table = DigitTable();
    return std::all_of(text, text + std::max(size, 0), [&](char character) {
        return table.find(character) != std::string_view::npos;
    });
}

FormatClassRef ResolveFormat(FormatClassRef format) {
    return format != nullptr ? format : ClassOf<TFormat_Copy>;
}

std::string Encode(const TDigestFormat& format, const void* data, std::int32_t size) {
    return format.EncodeBytes(data, size);
}

}  // namespace tolvek::framework
