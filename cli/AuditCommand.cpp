#include "cli/AuditCommand.h"

#include <array>
#include <filesystem>
#include <ostream>

#include "app/checks/Audit.h"
#include "app/checks/ChecksumList.h"
#include "app/checks/FolderWalk.h"
#include "cli/Messages.h"
#include "platform/AtomicFile.h"

namespace tolvek::cli {

namespace {

using checks::AuditClass;
using checks::AuditFinding;
using hashing::AlgorithmEntry;

std::string findingText(const AuditFinding& finding) {
    switch (finding.kind) {
        case AuditClass::Changed:
            return "changed";
        case AuditClass::Moved:
            return "moved from " + checks::NameForMessage(finding.oldName);
        case AuditClass::New:
            return "new";
        case AuditClass::Missing:
            return "missing";
        default:
            return {};
    }
}

void report(const std::vector<AuditFinding>& findings, const FileRun& run, std::ostream& output) {
    for (const AuditFinding& finding : findings) {
        if (finding.kind == AuditClass::Unreadable) {
            run.errors << FileError(finding.name, finding.file->systemError, finding.file->failure);
        } else if (finding.kind != AuditClass::Unchanged) {
            output << checks::NameForMessage(finding.name) << ": " << findingText(finding) << "\n";
        }
    }
    const checks::AuditCounts counts = checks::CountAudit(findings);
    output << counts.unchanged << " unchanged, " << counts.changed << " changed, " << counts.moved
           << " moved, " << counts.added << " new, " << counts.missing << " missing";
    if (counts.unreadable > 0) {
        output << ", " << counts.unreadable << " unreadable";
    }
    output << "\n";
}

// Writes the list anew, the old one kept beside it as LIST~; false after saying why.
bool updateList(const std::vector<AuditFinding>& findings, const std::string& listPath,
                const AlgorithmEntry& algorithm, std::ostream& errors) {
    const bool named = checks::AlgorithmOfListName(listPath) == &algorithm;
    const std::string list =
        checks::UpdatedList(findings, listPath, named ? "" : checks::TagOf(algorithm));
    std::error_code error;
    std::filesystem::copy_file(listPath, listPath + "~",
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error || !platform::WriteFileAtomically(listPath, list)) {
        errors << MessagePrefix() << QuotedName(listPath) << ": could not be updated"
               << (error ? " (" + error.message() + ")" : "") << "\n";
        return false;
    }
    return true;
}

// The folder's files but the list and its old copy, hashed in the walk's order; false when
// interrupted.
bool hashFolder(const FileRun& run, std::vector<checks::CurrentFile>& files) {
    const std::string& listPath = run.request.files[0];
    DigestSequence sequence(run, [&](const std::string& name, const hashing::FileDigests& digests) {
        const hashing::DigestOutcome& outcome = digests.outcomes.front();
        files.push_back({name, outcome.ok ? outcome.digest : hashing::Digest{},
                         digests.systemError, outcome.failure});
    });
    checks::FolderVisit visit;
    visit.file = [&](const std::string& name) {
        return checks::IsListOrItsCopy(name, listPath) || sequence.add(name, false);
    };
    visit.skipped = [&](const std::string& name, checks::Skipped why, int systemError) {
        if (why == checks::Skipped::Unreadable) {
            sequence.addNote(FileError(name, systemError, "could not be read"));
        }
    };
    return checks::WalkFolder(run.request.files[1], visit, run.context.interrupt) &&
           sequence.finish();
}

}  // namespace

int AuditFolder(const FileRun& run, const AlgorithmEntry* forced, std::ostream& output) {
    const std::string& listPath = run.request.files[0];
    const std::optional<checks::ListItems> items = checks::ReadListFile(listPath, forced);
    if (!items) {
        run.errors << MessagePrefix() << QuotedName(listPath) << ": not a readable list\n";
        return kExitFailure;
    }
    const AlgorithmEntry* algorithm = checks::AuditAlgorithm(*items, forced);
    if (algorithm == nullptr) {
        run.errors << MessagePrefix() << QuotedName(listPath)
                   << ": its lines tell no one algorithm; name it with -a\n";
        return kExitFailure;
    }
    const std::array<const AlgorithmEntry*, 1> entries{algorithm};
    const FileRun hashRun{run.request, entries, run.input, run.errors, run.context};
    std::vector<checks::CurrentFile> files;
    if (!hashFolder(hashRun, files)) {
        return kExitInterrupted;
    }
    const std::vector<AuditFinding> findings = checks::ClassifyAudit(items->items, files);
    report(findings, run, output);
    if (run.request.lists.update && !updateList(findings, listPath, *algorithm, run.errors)) {
        return kExitFailure;
    }
    return checks::CountAudit(findings).allUnchanged() ? kExitOk : kExitFailure;
}

}  // namespace tolvek::cli
