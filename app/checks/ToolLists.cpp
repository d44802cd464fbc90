#include "app/checks/ToolLists.h"

#include <algorithm>
#include <charconv>

#include "app/hashing/AsciiText.h"

namespace tolvek::checks {

namespace {

constexpr std::string_view kHashdeepStart = "%%%% HASHDEEP-1.0";
constexpr std::string_view kHashdeepHeader = "%%%% ";
constexpr std::string_view kSizeColumn = "size";
constexpr std::string_view kNameColumn = "filename";

std::vector<std::string> splitColumns(std::string_view text, std::size_t count) {
    std::vector<std::string> fields;
    while (fields.size() + 1 < count) {
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos) {
            break;
        }
        fields.emplace_back(text.substr(0, comma));
        text.remove_prefix(comma + 1);
    }
    fields.emplace_back(text);
    return fields;
}

std::optional<std::uint64_t> sizeOf(std::string_view text) {
    std::uint64_t size = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return size;
}

ChecksumLine malformed() { return {}; }

ChecksumLine comment() {
    ChecksumLine line;
    line.form = LineForm::BlankOrComment;
    return line;
}

}  // namespace

bool StartsHashdeepList(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line == kHashdeepStart;
}

ChecksumLine HashdeepColumns::read(std::string_view line, DigestLengths lengths) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (line.starts_with(kHashdeepHeader)) {
        m_columns = splitColumns(line.substr(kHashdeepHeader.size()), std::string::npos);
        return comment();
    }
    if (line.empty() || line.starts_with("##")) {
        return comment();
    }
    return readFiles(line, lengths);
}

ChecksumLine HashdeepColumns::readFiles(std::string_view line, DigestLengths lengths) const {
    const bool named = m_columns.size() >= 3 && m_columns.front() == kSizeColumn &&
                       m_columns.back() == kNameColumn;
    if (!named) {
        return malformed();
    }
    const std::vector<std::string> fields = splitColumns(line, m_columns.size());
    const std::optional<std::uint64_t> size = sizeOf(fields.front());
    if (fields.size() != m_columns.size() || !size || fields.back().empty()) {
        return malformed();
    }
    ChecksumLine read;
    for (std::size_t column = 1; column + 1 < fields.size(); ++column) {
        std::optional<hashing::Digest> digest = DecodeDigest(fields[column], lengths);
        if (digest && digest->size() > read.digest.size()) {
            read.digest = std::move(*digest);
            read.algorithm = m_columns[column];
        }
    }
    if (read.digest.empty()) {
        return malformed();
    }
    read.form = LineForm::Hashdeep;
    read.name = fields.back();
    read.size = size;
    return read;
}

std::optional<std::string_view> BagItAlgorithm(std::string_view fileName) {
    for (const std::string_view prefix : {"manifest-", "tagmanifest-"}) {
        if (fileName.starts_with(prefix) && fileName.ends_with(".txt") &&
            fileName.size() > prefix.size() + 4) {
            return fileName.substr(prefix.size(), fileName.size() - prefix.size() - 4);
        }
    }
    return std::nullopt;
}

std::optional<std::string> PercentDecodedName(std::string_view name) {
    std::string decoded;
    decoded.reserve(name.size());
    for (std::size_t index = 0; index < name.size(); ++index) {
        if (name[index] != '%') {
            decoded += name[index];
            continue;
        }
        const std::string code = hashing::AsciiUpper(name.substr(index + 1, 2));
        if (code == "0A") {
            decoded += '\n';
        } else if (code == "0D") {
            decoded += '\r';
        } else if (code == "25") {
            decoded += '%';
        } else {
            return std::nullopt;
        }
        index += 2;
    }
    return decoded;
}

}  // namespace tolvek::checks
