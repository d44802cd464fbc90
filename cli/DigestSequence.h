// The files of one tolvek-cli run hashed one after another with the run's algorithms, each
// file's digests handed back in order on the calling thread; a file that takes a while shows its
// progress on a terminal.
#pragma once

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/FileSequence.h"
#include "app/hashing/Hashing.h"
#include "cli/Cli.h"
#include "cli/Options.h"

namespace tolvek::cli {

// What hashing files needs of a run.
struct FileRun {
    const Request& request;
    std::span<const hashing::AlgorithmEntry* const> entries;
    std::istream& input;
    std::ostream& errors;
    const CliContext& context;
};

class DigestSequence {
public:
    using OnDigests = std::function<void(const std::string& name, const hashing::FileDigests&)>;

    DigestSequence(const FileRun& run, OnDigests onDigests);

    // `named`: the user named it, so that a FIFO or a device is read, and "-" is standard input.
    // False once the run was interrupted.
    bool add(const std::string& name, bool named);
    // Each of `names`, named by the user; false once the run was interrupted.
    bool addNamed(const std::vector<std::string>& names);
    // A note of the walk, kept in its place among the digests.
    void addNote(std::string note);
    // False when the run was interrupted.
    bool finish() { return m_sequence.finish(); }

private:
    struct File;

    bool automaticProgress() const;
    bool showsProgress() const;

    const FileRun& m_run;
    std::vector<const hashing::Provider*> m_routes;
    OnDigests m_onDigests;
    hashing::FileSequence m_sequence;
};

}  // namespace tolvek::cli
