#include "cli/HashCommand.h"

#include <ostream>
#include <sstream>

#include "app/checks/ChecksumList.h"
#include "app/checks/ListCheck.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "cli/FileTree.h"
#include "cli/Messages.h"

namespace tolvek::cli {

namespace {

using hashing::AlgorithmEntry;
using hashing::DigestOutcome;

// The digest lines of one input: "digest  name" for one algorithm, "MD5 (name) = digest" for
// several or with --tag; names escaped as sha256sum escapes them, unless lines end with NUL. A
// checksum shown with the length alone is printed as its tool prints it ("930766865 9 name",
// no name for standard input).
class DigestPrinter {
public:
    DigestPrinter(std::span<const AlgorithmEntry* const> entries, const ListOptions& options,
                  std::ostream& output)
        : m_entries(entries), m_options(options), m_output(output) {}

    void print(std::size_t index, const hashing::Digest& digest, const std::string& name) {
        const checks::NameEscaping escaping =
            m_options.zero ? checks::NameEscaping::Raw : checks::NameEscaping::Escaped;
        if (m_entries.size() == 1 && !m_options.tag && hashing::PrintedWithLength(*m_entries[0])) {
            m_output << hashing::ShownText(*m_entries[0], digest)
                     << (name == "-" ? "" : " " + name);
        } else if (m_entries.size() == 1 && !m_options.tag) {
            const checks::GnuMode mode =
                m_options.binary ? checks::GnuMode::Binary : checks::GnuMode::Text;
            m_output << checks::FormatGnuLine(digest, name, mode, escaping);
        } else {
            m_output << checks::FormatBsdLine(checks::TagOf(*m_entries[index]), digest, name,
                                              escaping);
        }
        m_output << (m_options.zero ? '\0' : '\n');
    }

private:
    std::span<const AlgorithmEntry* const> m_entries;
    const ListOptions& m_options;
    std::ostream& m_output;
};

// Prints one file's digests, or says why it has none; false when it has none.
bool printDigests(const hashing::FileDigests& digests, const std::string& name,
                  DigestPrinter& printer, std::ostream& errors) {
    for (std::size_t index = 0; index < digests.outcomes.size(); ++index) {
        const DigestOutcome& outcome = digests.outcomes[index];
        if (!outcome.ok) {
            // One read: a file that failed, failed for every algorithm alike.
            errors << FileError(name, digests.systemError, outcome.failure);
            return false;
        }
        printer.print(index, outcome.digest, name);
    }
    return true;
}

}  // namespace

int HashFiles(const FileRun& run, std::ostream& output) {
    DigestPrinter printer(run.entries, run.request.lists, output);
    bool failed = false;
    DigestSequence sequence(run, [&](const std::string& name, const hashing::FileDigests& digests) {
        failed = !printDigests(digests, name, printer, run.errors) || failed;
    });
    std::ostringstream walkNotes;
    const auto passNotes = [&] {
        if (walkNotes.tellp() > 0) {
            sequence.addNote(walkNotes.str());
            walkNotes.str("");
        }
    };
    const TreeOptions tree{run.request.lists.recursive, run.request.lists.followLinks};
    const bool walked = VisitFiles(
        run.request.files, tree,
        [&](const std::string& name, bool named) {
            passNotes();
            return sequence.add(name, named);
        },
        walkNotes);
    passNotes();
    if (!sequence.finish()) {
        return kExitInterrupted;
    }
    return failed || !walked ? kExitFailure : kExitOk;
}

int HashText(std::span<const AlgorithmEntry* const> entries, const std::string& text,
             std::ostream& output, std::ostream& errors) {
    int exitCode = kExitOk;
    for (const AlgorithmEntry* entry : entries) {
        const DigestOutcome outcome = hashing::HashText(entry->stringRoute, text);
        if (!outcome.ok) {
            errors << "tolvek-cli: " << outcome.failure << "\n";
            exitCode = kExitFailure;
        } else if (entries.size() == 1) {
            output << (hashing::PrintedWithLength(*entry) ? hashing::ShownText(*entry, outcome.digest)
                                                          : hashing::HexText(outcome.digest))
                   << "\n";
        } else {
            output << hashing::AsciiUpper(entry->id) << " (\"" << text
                   << "\") = " << hashing::HexText(outcome.digest) << "\n";
        }
    }
    return exitCode;
}

}  // namespace tolvek::cli
