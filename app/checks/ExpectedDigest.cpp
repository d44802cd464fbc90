#include "app/checks/ExpectedDigest.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/hashing/DigestText.h"

namespace tolvek::checks {

namespace {

enum class Rank { ListLine, Run };

bool isHexDigit(char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'f') ||
           (byte >= 'A' && byte <= 'F');
}

bool isDecimalDigit(char byte) {
    return byte >= '0' && byte <= '9';
}

bool isAsciiLetterOrDigit(char byte) {
    return isDecimalDigit(byte) || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

// Bytes of words: ASCII letters and digits, "_", "-" (so "SHA-256" is one word, not the run
// "256") and the bytes of UTF-8 letters.
bool isWordByte(char byte) {
    return isAsciiLetterOrDigit(byte) || byte == '_' || byte == '-' ||
           static_cast<unsigned char>(byte) >= 0x80;
}

bool isBlankByte(char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\v' || byte == '\f';
}

bool hasZeroXPrefix(std::string_view text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Hex digits and separators only, as a chunked or wrapped digest is.
bool isHexAndSeparators(std::string_view text) {
    if (hasZeroXPrefix(text)) {
        text.remove_prefix(2);
    }
    return std::ranges::all_of(text, [](char byte) {
        return isHexDigit(byte) || isBlankByte(byte) || byte == ':' || byte == '-';
    });
}

std::string_view trimBlanks(std::string_view text, std::size_t& offset) {
    while (!text.empty() && isBlankByte(text.front())) {
        text.remove_prefix(1);
        ++offset;
    }
    while (!text.empty() && isBlankByte(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

ExpectedDigest loneDigest(hashing::Digest digest) {
    ExpectedDigest expected;
    expected.digest = std::move(digest);
    return expected;
}

// Hex digits already found to be of an accepted length.
ExpectedDigest loneDigest(std::string_view hexDigits) {
    return loneDigest(hashing::ReadHex(hexDigits).value_or(hashing::Digest{}));
}

// The candidates a text offers. The best is the lowest rank, then the earliest; a digest of
// letters only waits in a pool of its own that counts only when the other is empty.
class Candidates {
public:
    void offer(Rank rank, std::size_t offset, ExpectedDigest candidate) {
        const bool lettersOnly =
            std::ranges::none_of(hashing::HexText(candidate.digest), isDecimalDigit);
        (lettersOnly ? m_lettersOnly : m_main).offer(rank, offset, std::move(candidate));
    }

    void merge(Candidates&& other) {
        m_main.merge(std::move(other.m_main));
        m_lettersOnly.merge(std::move(other.m_lettersOnly));
    }

    std::optional<ExpectedDigest> take() && {
        return m_main.best ? std::move(m_main).take() : std::move(m_lettersOnly).take();
    }

private:
    // The first digest of one length, and whether another of that length differs from it.
    struct Seen {
        hashing::Digest first;
        bool differs = false;
    };

    struct Pool {
        std::optional<ExpectedDigest> best;
        Rank rank = Rank::Run;
        std::size_t offset = 0;
        std::vector<Seen> seen;

        void offer(Rank candidateRank, std::size_t candidateOffset, ExpectedDigest candidate) {
            note({candidate.digest});
            if (!best || std::pair(candidateRank, candidateOffset) < std::pair(rank, offset)) {
                best = std::move(candidate);
                rank = candidateRank;
                offset = candidateOffset;
            }
        }

        void note(const Seen& other) {
            const auto sameLength = std::ranges::find_if(
                seen, [&](const Seen& known) { return known.first.size() == other.first.size(); });
            if (sameLength == seen.end()) {
                seen.push_back(other);
            } else {
                sameLength->differs |= other.differs || sameLength->first != other.first;
            }
        }

        void merge(Pool&& other) {
            for (const Seen& known : other.seen) {
                note(known);
            }
            if (other.best) {
                offer(other.rank, other.offset, std::move(*other.best));
            }
        }

        std::optional<ExpectedDigest> take() && {
            if (!best) {
                return std::nullopt;
            }
            const std::size_t length = best->digest.size();
            best->ambiguous = std::ranges::find_if(seen, [&](const Seen& known) {
                                  return known.first.size() == length;
                              })->differs;
            return std::move(best);
        }
    };

    Pool m_main;
    Pool m_lettersOnly;
};

// Groups of hex digits gathered into runs, runs cut into their lines.
class RunScanner {
public:
    RunScanner(DigestLengths lengths, Candidates& candidates)
        : m_lengths(lengths),
          m_maxDigits(2 * std::ranges::max(lengths, {}, [](std::size_t bytes) { return bytes; })),
          m_candidates(candidates) {}

    void group(std::size_t offset, std::string_view digits, bool zeroXPrefixed) {
        if (zeroXPrefixed) {
            endRun();
        }
        if (m_run.groupCount == 0) {
            m_run.start(offset);
        }
        if (m_line.groupCount == 0) {
            m_line.start(offset);
        }
        m_run.append(digits, m_maxDigits);
        m_line.append(digits, m_maxDigits);
        if (accepts(digits.size())) {
            m_line.groups.offer(Rank::Run, offset, loneDigest(digits));
        }
    }

    void endLine() {
        if (m_line.groupCount == 0) {
            return;
        }
        if (accepts(m_line.digitCount)) {
            m_runLines.offer(Rank::Run, m_line.offset, loneDigest(m_line.digits));
        } else {
            m_runLines.merge(std::move(m_line.groups));
        }
        m_line = {};
    }

    void endRun() {
        endLine();
        if (m_run.groupCount == 0) {
            return;
        }
        if (accepts(m_run.digitCount)) {
            m_candidates.offer(Rank::Run, m_run.offset, loneDigest(m_run.digits));
        } else {
            m_candidates.merge(std::move(m_runLines));
        }
        m_run = {};
        m_runLines = {};
    }

private:
    struct Span {
        std::size_t offset = 0;
        std::string digits;  // kept only while a digest could be this long
        std::size_t digitCount = 0;
        std::size_t groupCount = 0;

        void start(std::size_t at) { offset = at; }
        void append(std::string_view more, std::size_t maxDigits) {
            digitCount += more.size();
            ++groupCount;
            if (digitCount <= maxDigits) {
                digits += more;
            }
        }
    };
    struct LineSpan : Span {
        Candidates groups;  // single groups of accepted length
    };

    bool accepts(std::size_t digitCount) const {
        return digitCount % 2 == 0 &&
               std::ranges::find(m_lengths, digitCount / 2) != m_lengths.end();
    }

    DigestLengths m_lengths;
    std::size_t m_maxDigits;
    Candidates& m_candidates;
    Span m_run;
    LineSpan m_line;
    Candidates m_runLines;
};

// Reads the pasted text line by line: list lines are taken whole, the rest is scanned for runs.
class PasteReader {
public:
    explicit PasteReader(DigestLengths lengths)
        : m_lengths(lengths), m_runs(lengths, m_candidates) {}

    void readLine(std::string_view line, std::size_t offset) {
        line = trimBlanks(line, offset);
        if (line.empty()) {
            m_runs.endRun();
            return;
        }
        if (!isHexAndSeparators(line) && takeListLine(line, offset)) {
            // Its name may hold another digest too ("<digest> vs <digest>"); the line is no
            // part of a run around it.
            m_runs.endRun();
            scanChunks(line, offset);
            m_runs.endRun();
            return;
        }
        scanChunks(line, offset);
        m_runs.endLine();
    }

    std::optional<ExpectedDigest> finish() && {
        m_runs.endRun();
        return std::move(m_candidates).take();
    }

private:
    bool takeListLine(std::string_view line, std::size_t offset) {
        ChecksumLine read = ReadChecksumLine(line, m_lengths);
        // Any sentence ending in 8 hex digits reads as an SFV line; only a one-word name that
        // is no label ("CRC32:") makes it one, else the words are scanned for other digests.
        const bool isSfvLine = read.form == LineForm::Sfv && !read.name.ends_with(':') &&
                               std::ranges::none_of(read.name, isBlankByte);
        const bool isListLine =
            read.form == LineForm::Gnu || read.form == LineForm::Bsd || isSfvLine;
        if (!isListLine && read.form != LineForm::DigestOnly) {
            return false;
        }
        m_candidates.offer(isListLine ? Rank::ListLine : Rank::Run, offset,
                           {.digest = std::move(read.digest),
                            .algorithm = std::move(read.algorithm),
                            .name = std::move(read.name)});
        return true;
    }

    // Blank-separated chunks: a base64 digest is one whole chunk.
    void scanChunks(std::string_view line, std::size_t offset) {
        std::size_t position = 0;
        while (position < line.size()) {
            const auto chunkEnd = std::find_if(line.begin() + static_cast<std::ptrdiff_t>(position),
                                               line.end(), isBlankByte);
            const std::size_t end = static_cast<std::size_t>(chunkEnd - line.begin());
            const std::string_view chunk = line.substr(position, end - position);
            if (!chunk.empty()) {
                scanChunk(chunk, offset + position);
            }
            position = end + 1;
        }
    }

    void scanChunk(std::string_view chunk, std::size_t offset) {
        if (!isHexAndSeparators(chunk)) {
            if (auto base64 = DecodeDigest(chunk, m_lengths)) {
                m_runs.endRun();
                m_candidates.offer(Rank::Run, offset, loneDigest(std::move(*base64)));
                return;
            }
        }
        std::size_t position = 0;
        while (position < chunk.size()) {
            if (chunk[position] == ':') {
                ++position;
            } else if (isWordByte(chunk[position])) {
                const auto wordEnd = std::find_if_not(
                    chunk.begin() + static_cast<std::ptrdiff_t>(position), chunk.end(), isWordByte);
                const std::size_t end = static_cast<std::size_t>(wordEnd - chunk.begin());
                scanWord(chunk.substr(position, end - position), offset + position);
                position = end;
            } else {
                m_runs.endRun();
                ++position;
            }
        }
    }

    // A word of hex digits and "-" is a group ("ab-cd" is "abcd"); any other word ends the run.
    void scanWord(std::string_view word, std::size_t offset) {
        while (word.starts_with('-')) {
            word.remove_prefix(1);
            ++offset;
        }
        while (word.ends_with('-')) {
            word.remove_suffix(1);
        }
        if (word.empty()) {
            return;
        }
        const bool zeroXPrefixed = hasZeroXPrefix(word);
        const std::string_view body = zeroXPrefixed ? word.substr(2) : word;
        const bool isGroup =
            std::ranges::all_of(body, [](char byte) { return isHexDigit(byte) || byte == '-'; });
        if (!isGroup) {
            m_runs.endRun();
            return;
        }
        std::string digits;
        std::ranges::copy_if(body, std::back_inserter(digits), isHexDigit);
        m_runs.group(offset, digits, zeroXPrefixed);
    }

    DigestLengths m_lengths;
    Candidates m_candidates;
    RunScanner m_runs;
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::optional<ExpectedDigest> ReadExpectedDigest(std::string_view text, DigestLengths lengths) {
    if (lengths.empty()) {
        return std::nullopt;
    }
    PasteReader reader(lengths);
    std::size_t offset = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (offset <= text.size()) {
        const std::size_t end = std::min(text.find('\n', offset), text.size());
        reader.readLine(text.substr(offset, end - offset), offset);
        offset = end + 1;
    }
    return std::move(reader).finish();
}

}  // namespace tolvek::checks
