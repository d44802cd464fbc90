#include "tests/support/VectorFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace tolvek::testing {

namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The piece repeated as often as needed and cut to `length` bytes.
std::string cycled(const std::string& piece, std::size_t length) {
    std::string result(length, '\0');
    for (std::size_t index = 0; index < result.size(); ++index) {
        result[index] = piece[index % piece.size()];
    }
    return result;
}

// A case file's value with its escapes replaced.
std::string unescaped(const std::string& value, const std::string& where) {
    std::string bytes;
    for (std::size_t index = 0; index < value.size(); ++index) {
        if (value[index] != '\\') {
            bytes += value[index];
            continue;
        }
        constexpr std::string_view kEscaped = "nrts\\";
        constexpr std::string_view kBytes = "\n\r\t \\";
        const std::size_t escape =
            ++index < value.size() ? kEscaped.find(value[index]) : std::string_view::npos;
        if (escape != std::string_view::npos) {
            bytes += kBytes[escape];
        } else if (index < value.size() && value[index] == 'x') {
            bytes += static_cast<char>(std::stoi(value.substr(index + 1, 2), nullptr, 16));
            index += 2;
        } else {
            throw std::runtime_error(where + ": a lone backslash or an unknown escape");
        }
    }
    return bytes;
}

// The records of a data file: "Key = value" lines up to a blank line (or past the field
// `lastKey`, when one is given), "#" lines left out, a "[Section]" line naming the records after
// it. Values are unescaped, or else trimmed.
std::vector<Case> readRecords(const std::string& path, const std::string& lastKey, bool escapes) {
    std::ifstream stream(path);
    if (!stream) {
        throw std::runtime_error("cannot read " + path);
    }
    const std::string shortName = std::filesystem::path(path).filename().string();
    std::vector<Case> cases;
    std::string section;
    bool open = false;
    std::string line;
    for (int lineNumber = 1; std::getline(stream, line); ++lineNumber) {
        const std::string where = shortName + ":" + std::to_string(lineNumber);
        const std::string trimmed = trim(line);
        if (trimmed.empty()) {
            open = false;
        } else if (trimmed.front() == '#') {
            continue;
        } else if (trimmed.front() == '[' && trimmed.back() == ']') {
            section = trimmed.substr(1, trimmed.size() - 2);
            open = false;
        } else if (const auto equals = line.find(" ="); equals != std::string::npos) {
            if (!std::exchange(open, true)) {
                cases.push_back({section, {}, where});
            }
            const std::string key = trim(line.substr(0, equals));
            const std::string value = line.size() > equals + 3 ? line.substr(equals + 3) : "";
            cases.back().fields[key] = escapes ? unescaped(value, where) : trim(value);
            open = key != lastKey;
        } else {
            throw std::runtime_error(where + ": expected 'Key = value'");
        }
    }
    return cases;
}

}  // namespace

std::string VectorDirectory() { return TOLVEK_VECTOR_DIR; }

std::string Case::get(const std::string& key, const std::string& fallback) const {
    const auto found = fields.find(key);
    return found == fields.end() ? fallback : found->second;
}

std::vector<Case> ReadCaseFile(const std::string& name, const std::string& section) {
    std::vector<Case> cases = ReadCaseFile(name);
    std::erase_if(cases, [&](const Case& each) { return each.section != section; });
    return cases;
}

std::vector<std::string> SplitField(const std::string& text, char separator) {
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= text.size() && !text.empty();) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::vector<Case> ReadCaseFile(const std::string& name) {
    return readRecords(std::string(TOLVEK_TEST_DIR) + "/" + name, "", true);
}

std::string VectorCaseName(const ::testing::TestParamInfo<Vector>& vectorInfo) {
    return TestNameOf(vectorInfo.param.where);
}

std::string TestNameOf(std::string_view text) {
    std::string name(text);
    std::ranges::replace_if(
        name, [](char byte) { return !std::isalnum(static_cast<unsigned char>(byte)); }, '_');
    return name;
}

std::string HexToBytes(const std::string& hex) {
    if (hex.size() % 2 != 0) {
        throw std::runtime_error("odd hex length: " + hex);
    }
    std::string bytes;
    for (std::size_t index = 0; index < hex.size(); index += 2) {
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(index, 2), nullptr, 16)));
    }
    return bytes;
}

std::string PatternBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t index = 0; index < size; ++index) {
        bytes[index] = static_cast<char>(index % 251);
    }
    return bytes;
}

std::string BytesToHex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += kDigits[value >> 4];
        hex += kDigits[value & 0xF];
    }
    return hex;
}

std::vector<Vector> ReadVectorFile(const std::string& fileName) {
    std::vector<Vector> vectors;
    for (Case& record : readRecords(fileName, "Out", false)) {
        std::string input = HexToBytes(record.get("In"));
        if (record.has("Repeat")) {
            input = cycled(input, input.size() * std::stoul(record.get("Repeat")));
        }
        if (record.has("Length")) {
            input = cycled(input, std::stoul(record.get("Length")));
        }
        vectors.push_back({record.section, std::move(input), record.get("Out"),
                           std::move(record.fields), record.where});
    }
    return vectors;
}

std::vector<Vector> ReadAllVectorFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(VectorDirectory())) {
        if (entry.path().extension() == ".vec") {
            names.push_back(entry.path().string());
        }
    }
    std::sort(names.begin(), names.end());
    std::vector<Vector> all;
    for (const std::string& name : names) {
        std::vector<Vector> vectors = ReadVectorFile(name);
        all.insert(all.end(), vectors.begin(), vectors.end());
    }
    return all;
}

}  // namespace tolvek::testing
