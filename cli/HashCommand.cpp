#include "cli/HashCommand.h"

#include <ostream>
#include <sstream>

#include "app/checks/ChecksumList.h"
#include "app/checks/ListCheck.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "cli/FileTree.h"
#include "cli/ListInput.h"
#include "cli/Messages.h"

namespace tolvek::cli {

namespace {

using hashing::AlgorithmEntry;
using hashing::DigestOutcome;

// The digest lines of one input: "digest  name" for one algorithm (or with --untagged, --sri or
// --content-digest), "MD5 (name) = digest" for several or with --tag, the digest alone with
// --no-names, its bytes alone with --raw; names escaped as sha256sum escapes them, unless lines
// end with NUL. A checksum shown with the length is printed as its tool prints it ("930766865 9
// name", no name for standard input).
class DigestPrinter {
public:
    DigestPrinter(std::span<const AlgorithmEntry* const> entries, const ListOptions& options,
                  std::ostream& output)
        : m_entries(entries), m_options(options), m_output(output) {}

    void print(std::size_t index, const hashing::Digest& digest, const std::string& name) {
        if (m_options.raw) {
            m_output.write(reinterpret_cast<const char*>(digest.data()),
                           static_cast<std::streamsize>(digest.size()));
            return;
        }
        const AlgorithmEntry& entry = *m_entries[index];
        const std::string text = DigestTextOf(entry, digest, m_options);
        const checks::NameEscaping escaping =
            m_options.zero ? checks::NameEscaping::Raw : checks::NameEscaping::Escaped;
        const hashing::DigestForm form = DigestFormOf(m_options);
        const bool webForm = form == hashing::DigestForm::Integrity ||
                             form == hashing::DigestForm::ContentDigest;
        const bool alone = m_entries.size() == 1 && !m_options.tag;
        if (alone && form == hashing::DigestForm::Hex && hashing::PrintedWithLength(entry)) {
            const bool named = !m_options.noNames && name != "-";
            m_output << hashing::ShownText(entry, digest) << (named ? " " + name : "");
        } else if (m_options.noNames) {
            m_output << text;
        } else if (m_options.untagged || webForm || alone) {
            const checks::GnuMode mode =
                m_options.binary ? checks::GnuMode::Binary : checks::GnuMode::Text;
            m_output << checks::GnuLineWith(text, name, mode, escaping);
        } else {
            m_output << checks::BsdLineWith(checks::TagOf(entry), text, name, escaping);
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

// Visits the names of --files0-from or --files-from one at a time, as they arrive; false when a
// name or the file of names was wrong, or a folder could not be read.
bool visitNamesFrom(const FileRun& run,
                    const std::function<bool(const std::vector<std::string>&)>& visitNames,
                    DigestSequence& sequence) {
    const std::string& source = *run.request.namesFrom;
    ListInput names(source, run.input);
    bool good = true;
    const auto refuse = [&](const std::string& why) {
        sequence.addNote(MessagePrefix() + why + "\n");
        good = false;
    };
    std::string name;
    while (!run.context.interrupt.stop_requested() && names.systemError() == 0 &&
           names.nextLine(name, run.request.namesEnd)) {
        if (name.empty()) {
            // A blank line is nothing in a list of lines; an empty name between NULs is wrong.
            if (run.request.namesEnd == '\0') {
                refuse(QuotedName(source) + ": invalid zero-length file name");
            }
        } else if (source == "-" && name == "-") {
            refuse("when reading file names from standard input, no file name of '-' allowed");
        } else {
            good = visitNames({name}) && good;
        }
    }
    if (names.systemError() != 0) {
        sequence.addNote(FileError(source, names.systemError(), ""));
        return false;
    }
    return good;
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
    const auto visitNames = [&](const std::vector<std::string>& names) {
        return VisitFiles(
            names, tree,
            [&](const std::string& name, bool named) {
                passNotes();
                return sequence.add(name, named);
            },
            walkNotes);
    };
    const bool walked = run.request.namesFrom ? visitNamesFrom(run, visitNames, sequence)
                                              : visitNames(run.request.files);
    passNotes();
    if (!sequence.finish()) {
        return kExitInterrupted;
    }
    return failed || !walked ? kExitFailure : kExitOk;
}

int HashText(std::span<const AlgorithmEntry* const> entries, const std::string& text,
             const ListOptions& options, std::ostream& output, std::ostream& errors) {
    int exitCode = kExitOk;
    for (const AlgorithmEntry* entry : entries) {
        const DigestOutcome outcome = hashing::HashText(entry->stringRoute, text);
        if (!outcome.ok) {
            errors << MessagePrefix() << outcome.failure << "\n";
            exitCode = kExitFailure;
        } else if (options.raw) {
            output.write(reinterpret_cast<const char*>(outcome.digest.data()),
                         static_cast<std::streamsize>(outcome.digest.size()));
        } else if (entries.size() == 1 || options.noNames) {
            const bool toolForm = entries.size() == 1 && hashing::PrintedWithLength(*entry) &&
                                  DigestFormOf(options) == hashing::DigestForm::Hex;
            output << (toolForm ? hashing::ShownText(*entry, outcome.digest)
                                : DigestTextOf(*entry, outcome.digest, options))
                   << "\n";
        } else {
            output << hashing::AsciiUpper(entry->id) << " (\"" << text
                   << "\") = " << DigestTextOf(*entry, outcome.digest, options) << "\n";
        }
    }
    return exitCode;
}

std::string DigestTextOf(const AlgorithmEntry& entry, const hashing::Digest& digest,
                         const ListOptions& options) {
    return hashing::DigestInForm(entry, digest, DigestFormOf(options)).value_or("");
}

std::optional<std::string> FormConflict(std::span<const AlgorithmEntry* const> entries,
                                        const Request& request) {
    const hashing::DigestForm form = DigestFormOf(request.lists);
    for (const AlgorithmEntry* entry : entries) {
        if (!hashing::DigestInForm(*entry, {}, form)) {
            const bool integrity = form == hashing::DigestForm::Integrity;
            return checks::TagOf(*entry) + " has no name in " +
                   (integrity ? "integrity strings (sha256, sha384 and sha512 have)"
                              : "Content-Digest (sha-256 and sha-512 have)");
        }
    }
    const bool oneInput = request.text || (request.files.size() == 1 && !request.lists.recursive);
    if (request.lists.raw && (!oneInput || entries.size() > 1)) {
        return "--raw writes the digest of one input by one algorithm";
    }
    return std::nullopt;
}

}  // namespace tolvek::cli
