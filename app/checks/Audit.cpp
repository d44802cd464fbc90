#include "app/checks/Audit.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace tolvek::checks {

namespace {

namespace fs = std::filesystem;

std::string placeOf(const std::string& name) {
    return fs::absolute(fs::path(name)).lexically_normal().string();
}

struct Listed {
    const CheckItem* item;
    bool found = false;
};

}  // namespace

bool SamePlace(const std::string& name, const std::string& path) {
    return placeOf(name) == placeOf(path);
}

const hashing::AlgorithmEntry* AuditAlgorithm(const ListItems& items,
                                              const hashing::AlgorithmEntry* forced) {
    const hashing::AlgorithmEntry* algorithm = forced != nullptr ? forced : items.listAlgorithm;
    if (algorithm == nullptr && !items.items.empty() &&
        items.items.front().candidates.size() == 1) {
        algorithm = items.items.front().candidates.front();
    }
    const bool everyLine = std::ranges::all_of(items.items, [&](const CheckItem& item) {
        return std::ranges::find(item.candidates, algorithm) != item.candidates.end();
    });
    return everyLine ? algorithm : nullptr;
}

bool IsListOrItsCopy(const std::string& name, const std::string& listPath) {
    return SamePlace(name, listPath) || SamePlace(name, listPath + "~");
}

std::vector<AuditFinding> ClassifyAudit(const std::vector<CheckItem>& baseline,
                                        const std::vector<CurrentFile>& current) {
    std::vector<Listed> listed;
    listed.reserve(baseline.size());
    std::map<std::string, std::size_t> byPlace;
    for (const CheckItem& item : baseline) {
        byPlace.emplace(placeOf(item.path), listed.size());
        listed.push_back({&item});
    }
    std::vector<AuditFinding> findings;
    std::vector<std::size_t> unplaced;  // findings of files at no listed place
    for (const CurrentFile& file : current) {
        AuditFinding finding{AuditClass::New, file.name, {}, file.digest, &file};
        const auto place = byPlace.find(placeOf(file.name));
        const CheckItem* before = place != byPlace.end() ? listed[place->second].item : nullptr;
        if (before != nullptr) {
            listed[place->second].found = true;
            finding.kind =
                file.digest == before->expected ? AuditClass::Unchanged : AuditClass::Changed;
        } else {
            unplaced.push_back(findings.size());
        }
        if (file.digest.empty()) {
            // What cannot be read now keeps the digest the list gave it, if any.
            finding.kind = AuditClass::Unreadable;
            finding.digest = before != nullptr ? before->expected : hashing::Digest{};
        }
        findings.push_back(std::move(finding));
    }
    std::multimap<hashing::Digest, std::size_t> left;  // listed files not found in their place
    for (std::size_t index = 0; index < listed.size(); ++index) {
        if (!listed[index].found) {
            left.emplace(listed[index].item->expected, index);
        }
    }
    for (const std::size_t index : unplaced) {
        AuditFinding& finding = findings[index];
        const auto origin = left.find(finding.digest);
        if (finding.kind != AuditClass::New || origin == left.end()) {
            continue;
        }
        finding.kind = AuditClass::Moved;
        finding.oldName = listed[origin->second].item->name;
        listed[origin->second].found = true;
        left.erase(origin);
    }
    for (const Listed& entry : listed) {
        if (!entry.found) {
            const CheckItem& item = *entry.item;
            findings.push_back({AuditClass::Missing, item.name, {}, item.expected, nullptr, &item});
        }
    }
    return findings;
}

void AuditCounts::add(AuditClass kind) {
    switch (kind) {
        case AuditClass::Unchanged:
            ++unchanged;
            break;
        case AuditClass::Changed:
            ++changed;
            break;
        case AuditClass::Moved:
            ++moved;
            break;
        case AuditClass::New:
            ++added;
            break;
        case AuditClass::Missing:
            ++missing;
            break;
        case AuditClass::Unreadable:
            ++unreadable;
            break;
    }
}

AuditCounts CountAudit(const std::vector<AuditFinding>& findings) {
    AuditCounts counts;
    for (const AuditFinding& finding : findings) {
        counts.add(finding.kind);
    }
    return counts;
}

std::string UpdatedList(const std::vector<AuditFinding>& findings, const std::string& listPath,
                        const std::string& tag) {
    const fs::path folder = fs::absolute(fs::path(listPath)).parent_path();
    std::string list;
    for (const AuditFinding& finding : findings) {
        if (finding.kind == AuditClass::Missing || finding.digest.empty()) {
            continue;
        }
        const std::string name =
            fs::absolute(fs::path(finding.name)).lexically_normal().lexically_relative(folder);
        list += tag.empty() ? FormatGnuLine(finding.digest, name)
                            : FormatBsdLine(tag, finding.digest, name);
        list += '\n';
    }
    return list;
}

}  // namespace tolvek::checks
