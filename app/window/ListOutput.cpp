#include "app/window/ListOutput.h"

#include <algorithm>

namespace tolvek::window {

namespace fs = std::filesystem;

std::vector<AlgorithmLines> LinesByAlgorithm(const std::vector<KeptLine>& kept) {
    std::vector<AlgorithmLines> groups;
    for (const KeptLine& line : kept) {
        auto group = std::ranges::find(groups, line.entry, &AlgorithmLines::entry);
        if (group == groups.end()) {
            group = groups.insert(groups.end(), {line.entry, {}});
        }
        group->lines.push_back(&line);
    }
    return groups;
}

std::string NameInFolder(const std::string& path, const fs::path& folder, bool& absolute) {
    const fs::path file = fs::absolute(path).lexically_normal();
    const fs::path relative = file.lexically_relative(fs::absolute(folder).lexically_normal());
    const bool below = !relative.empty() && *relative.begin() != "..";
    absolute = !below;
    return below ? relative.string() : file.string();
}

fs::path ListNameFor(const fs::path& chosen, const hashing::AlgorithmEntry& entry) {
    fs::path name = chosen;
    return name.replace_extension(std::string(entry.id));
}

namespace {

// A CSV field, quoted when it holds a comma, a quote or a line end (RFC 4180).
std::string csvField(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char byte : field) {
        quoted += byte == '"' ? std::string("\"\"") : std::string(1, byte);
    }
    return quoted + "\"";
}

}  // namespace

std::string ReportText(const std::vector<ReportRow>& rows, const std::string& summary) {
    std::string text;
    for (const ReportRow& row : rows) {
        const std::string& digest = row.digest.empty() ? row.expected : row.digest;
        text.append(row.status.empty() ? "-" : row.status)
            .append("  ")
            .append(row.algorithm)
            .append("  ")
            .append(digest.empty() ? "-" : digest)
            .append("  ")
            .append(row.name)
            .append("\n");
    }
    return text + summary + "\n";
}

std::string ReportCsv(const std::vector<ReportRow>& rows) {
    std::string csv = "file,algorithm,expected,digest,status\r\n";
    for (const ReportRow& row : rows) {
        csv.append(csvField(row.name))
            .append(",")
            .append(csvField(row.algorithm))
            .append(",")
            .append(row.expected)
            .append(",")
            .append(row.digest)
            .append(",")
            .append(csvField(row.status))
            .append("\r\n");
    }
    return csv;
}

}  // namespace tolvek::window
