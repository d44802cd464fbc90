#include "app/checks/ChecksumList.h"

#include <algorithm>
#include <array>

#include "app/hashing/AsciiText.h"
#include "app/checks/ToolLists.h"
#include "app/hashing/DigestText.h"

namespace tolvek::checks {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";
constexpr std::size_t kSfvDigestBytes = 4;

bool accepts(DigestLengths lengths, std::size_t bytes) {
    return std::ranges::find(lengths, bytes) != lengths.end();
}

std::string_view skipLeadingBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view dropTrailingBlanks(std::string_view text) {
    const std::size_t last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::optional<hashing::Digest> accepted(std::optional<hashing::Digest> digest,
                                        DigestLengths lengths) {
    if (digest && !accepts(lengths, digest->size())) {
        return std::nullopt;
    }
    return digest;
}

// The inverse of the writer's escape; nothing for a lone backslash or an unknown escape.
std::optional<std::string> unescapeName(std::string_view escaped) {
    std::string name;
    name.reserve(escaped.size());
    for (std::size_t index = 0; index < escaped.size(); ++index) {
        if (escaped[index] != '\\') {
            name += escaped[index];
            continue;
        }
        if (++index == escaped.size()) {
            return std::nullopt;
        }
        switch (escaped[index]) {
            case '\\':
                name += '\\';
                break;
            case 'n':
                name += '\n';
                break;
            case 'r':
                name += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return name;
}

std::optional<std::string> nameAsWritten(std::string_view name, bool escaped) {
    if (name.empty()) {
        return std::nullopt;
    }
    return escaped ? unescapeName(name) : std::string(name);
}

ChecksumLine lineOf(LineForm form, hashing::Digest digest = {}, std::string name = {}) {
    ChecksumLine line;
    line.form = form;
    line.digest = std::move(digest);
    line.name = std::move(name);
    return line;
}

bool isAlgorithmNameByte(char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '/';
}

// "ALG (name) = digest": the name runs to the line's last ")", since the digest after it holds
// none and the name may hold ") = " itself.
std::optional<ChecksumLine> readBsd(std::string_view body, bool escaped, DigestLengths lengths) {
    const auto nameEnd = std::ranges::find_if_not(body, isAlgorithmNameByte);
    const std::string_view algorithm =
        body.substr(0, static_cast<std::size_t>(nameEnd - body.begin()));
    // A GNU line whose name starts with " (" has a digest where the algorithm would be.
    if (algorithm.empty() || DecodeDigest(algorithm, lengths)) {
        return std::nullopt;
    }
    // rhash pads short names to line the names up: "MD5   (name) = ...".
    std::string_view rest = body.substr(algorithm.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    const std::size_t close = rest.rfind(')');
    if (!rest.starts_with('(') || close == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view afterName = skipLeadingBlanks(rest.substr(close + 1));
    if (!afterName.starts_with('=')) {
        return std::nullopt;
    }
    afterName = dropTrailingBlanks(skipLeadingBlanks(afterName.substr(1)));
    auto digest = DecodeDigest(afterName, lengths);
    auto name = nameAsWritten(rest.substr(1, close - 1), escaped);
    if (!digest || !name) {
        return std::nullopt;
    }
    ChecksumLine line = lineOf(LineForm::Bsd, std::move(*digest), std::move(*name));
    line.algorithm = std::string(algorithm);
    return line;
}

// A digest alone, or one with its algorithm's name in front ("sha384-<base64>", "XXH3_<hex>"):
// the name as written (empty for none), and the digest.
std::pair<std::string, std::optional<hashing::Digest>> readNamedDigest(std::string_view text,
                                                                        DigestLengths lengths) {
    if (auto digest = DecodeDigest(text, lengths)) {
        return {"", std::move(digest)};
    }
    const std::optional<hashing::NamedDigestText> named = hashing::SplitNamedDigest(text);
    if (!named) {
        return {"", std::nullopt};
    }
    return {std::string(named->algorithm), DecodeDigest(named->digest, lengths)};
}

// "digest  name" and "digest *name", or "digest name" (one blank), as `separator` asks. The
// line's own form: one blank unless " " or "*" follows it, and more than that byte.
std::optional<ChecksumLine> readGnu(std::string_view body, bool escaped, DigestLengths lengths,
                                    GnuSeparator separator) {
    const std::size_t digestEnd = body.find_first_of(kBlanks);
    if (digestEnd == std::string_view::npos) {
        return std::nullopt;
    }
    auto [algorithm, digest] = readNamedDigest(body.substr(0, digestEnd), lengths);
    std::string_view rest = body.substr(digestEnd + 1);
    // A blank alone after the digest is a lone digest's trailing blank, not the name " ".
    if (!digest || rest.empty() || rest == " ") {
        return std::nullopt;
    }
    const bool oneBlank = rest.size() == 1 || (rest.front() != ' ' && rest.front() != '*');
    if (oneBlank && separator == GnuSeparator::Marked) {
        return std::nullopt;
    }
    const bool marked = !oneBlank && separator != GnuSeparator::OneBlank;
    const bool binary = marked && rest.front() == '*';
    if (marked) {
        rest.remove_prefix(1);
    }
    auto name = nameAsWritten(rest, escaped);
    if (!name) {
        return std::nullopt;
    }
    ChecksumLine line = lineOf(LineForm::Gnu, std::move(*digest), std::move(*name));
    line.algorithm = algorithm;
    line.binary = binary;
    line.separator = oneBlank ? GnuSeparator::OneBlank : GnuSeparator::Marked;
    return line;
}

std::optional<ChecksumLine> readSfv(std::string_view body, DigestLengths lengths) {
    if (!accepts(lengths, kSfvDigestBytes)) {
        return std::nullopt;
    }
    body = dropTrailingBlanks(body);
    const std::size_t separator = body.find_last_of(kBlanks);
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    const std::array<std::size_t, 1> sfvLength{kSfvDigestBytes};
    auto digest = accepted(hashing::ReadHex(body.substr(separator + 1)), sfvLength);
    const std::string_view name = dropTrailingBlanks(body.substr(0, separator));
    if (!digest || name.empty()) {
        return std::nullopt;
    }
    return lineOf(LineForm::Sfv, std::move(*digest), std::string(name));
}

std::optional<ChecksumLine> readDigestOnly(std::string_view body, DigestLengths lengths) {
    auto [algorithm, digest] = readNamedDigest(dropTrailingBlanks(body), lengths);
    if (!digest) {
        return std::nullopt;
    }
    ChecksumLine line = lineOf(LineForm::DigestOnly, std::move(*digest));
    line.algorithm = std::move(algorithm);
    return line;
}

// The forms a backslash may introduce: their names are escaped.
std::optional<ChecksumLine> readEscapableForms(std::string_view body, DigestLengths lengths,
                                               GnuSeparator separator) {
    const bool escaped = body.starts_with('\\');
    if (escaped) {
        body.remove_prefix(1);
    }
    if (auto bsd = readBsd(body, escaped, lengths)) {
        return bsd;
    }
    if (auto gnu = readGnu(body, escaped, lengths, separator)) {
        return gnu;
    }
    return escaped ? std::nullopt : readDigestOnly(body, lengths);
}

// A BagIt manifest's line with its name decoded; malformed for a name no encoder writes.
ChecksumLine percentDecoded(ChecksumLine line) {
    std::optional<std::string> name = PercentDecodedName(line.name);
    if (!name) {
        return lineOf(LineForm::Malformed);
    }
    line.name = std::move(*name);
    return line;
}

bool isComment(std::string_view line, ListFlavour flavour) {
    return line.starts_with('#') || (flavour == ListFlavour::Sfv && line.starts_with(';'));
}

bool needsEscape(std::string_view name) {
    return name.find_first_of("\\\n\r") != std::string_view::npos;
}

std::string escapeName(std::string_view name) {
    std::string escaped;
    escaped.reserve(name.size() + 8);
    for (const char byte : name) {
        switch (byte) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += byte;
        }
    }
    return escaped;
}

// The line's leading backslash, and the name as the line holds it.
std::pair<std::string_view, std::string> writtenName(std::string_view name, NameEscaping escaping) {
    if (escaping == NameEscaping::Raw || !needsEscape(name)) {
        return {"", std::string(name)};
    }
    return {"\\", escapeName(name)};
}

}  // namespace

ListFlavour FlavourOfListName(std::string_view listName) {
    const std::size_t slash = listName.rfind('/');
    if (BagItAlgorithm(listName.substr(slash == std::string_view::npos ? 0 : slash + 1))) {
        return ListFlavour::BagIt;
    }
    return hashing::AsciiLower(listName).ends_with(".sfv") ? ListFlavour::Sfv
                                                          : ListFlavour::Checksums;
}

std::optional<hashing::Digest> DecodeDigest(std::string_view text, DigestLengths lengths) {
    // Hex of a length no digest has is not decoded at all: every word of a line is tried.
    if (text.size() % 2 == 0 && accepts(lengths, text.size() / 2)) {
        if (auto hex = hashing::ReadHex(text)) {
            return hex;
        }
    }
    return accepted(hashing::ReadBase64(text), lengths);
}

ChecksumLine ReadChecksumLine(std::string_view line, DigestLengths lengths, ListFlavour flavour,
                              GnuSeparator separator) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    const std::string_view body = skipLeadingBlanks(line);
    if (body.empty() || isComment(line, flavour)) {
        return lineOf(LineForm::BlankOrComment);
    }
    if (flavour == ListFlavour::Sfv) {
        if (auto sfv = readSfv(body, lengths)) {
            return std::move(*sfv);
        }
    }
    if (auto read = readEscapableForms(body, lengths, separator)) {
        return flavour == ListFlavour::BagIt ? percentDecoded(std::move(*read)) : std::move(*read);
    }
    if (flavour == ListFlavour::Checksums && !body.starts_with('\\')) {
        if (auto sfv = readSfv(body, lengths)) {
            return std::move(*sfv);
        }
    }
    return lineOf(LineForm::Malformed);
}

ChecksumListReader::ChecksumListReader(DigestLengths lengths, ListFlavour flavour,
                                       DigestLengths bsdLengths)
    : m_lengths(lengths), m_flavour(flavour), m_bsdLengths(bsdLengths) {}

NumberedLine ChecksumListReader::read(std::string_view line) {
    if (++m_count == 1 && line.starts_with(kByteOrderMark)) {
        line.remove_prefix(kByteOrderMark.size());
    }
    if (m_count == 1 && StartsHashdeepList(line)) {
        m_hashdeep = std::make_shared<HashdeepColumns>();
        return {m_count, lineOf(LineForm::BlankOrComment)};
    }
    if (m_hashdeep) {
        const DigestLengths lengths = m_bsdLengths.empty() ? m_lengths : m_bsdLengths;
        return {m_count, m_hashdeep->read(line, lengths)};
    }
    if (!m_anyChecksum && m_flavour == ListFlavour::Checksums && line.starts_with(';')) {
        m_flavour = ListFlavour::Sfv;
    }
    NumberedLine numbered{m_count, ReadChecksumLine(line, m_lengths, m_flavour, m_separator)};
    if (numbered.line.form == LineForm::Malformed && !m_bsdLengths.empty()) {
        ChecksumLine named = ReadChecksumLine(line, m_bsdLengths, m_flavour, m_separator);
        if (!named.algorithm.empty()) {
            numbered.line = std::move(named);
        }
    }
    m_anyChecksum = m_anyChecksum || numbered.line.form != LineForm::BlankOrComment;
    if (numbered.line.form == LineForm::Gnu && m_separator == GnuSeparator::Undecided) {
        m_separator = numbered.line.separator;
    }
    return numbered;
}

void ForEachLine(std::string_view text, const LineConsumer& line) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        line(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

std::string FormatGnuLine(std::span<const std::uint8_t> digest, std::string_view name,
                          GnuMode mode, NameEscaping escaping) {
    return GnuLineWith(hashing::HexText(digest), name, mode, escaping);
}

std::string FormatBsdLine(std::string_view algorithm, std::span<const std::uint8_t> digest,
                          std::string_view name, NameEscaping escaping) {
    return BsdLineWith(algorithm, hashing::HexText(digest), name, escaping);
}

std::string GnuLineWith(std::string_view digestText, std::string_view name, GnuMode mode,
                        NameEscaping escaping) {
    const auto [mark, written] = writtenName(name, escaping);
    const std::string_view separator = mode == GnuMode::Binary ? " *" : "  ";
    return std::string(mark) + std::string(digestText) + std::string(separator) + written;
}

std::string BsdLineWith(std::string_view algorithm, std::string_view digestText,
                        std::string_view name, NameEscaping escaping) {
    const auto [mark, written] = writtenName(name, escaping);
    return std::string(mark) + std::string(algorithm) + " (" + written +
           ") = " + std::string(digestText);
}

std::string NameForMessage(std::string_view name) {
    if (name.find_first_of("\n\r") == std::string_view::npos) {
        return std::string(name);
    }
    std::string shown(1, '\\');
    shown += escapeName(name);
    return shown;
}

}  // namespace tolvek::checks
