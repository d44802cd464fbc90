// tolvek-cli's digests of files, folders (-r), standard input and -s TEXT, written as the
// coreutils digest tools write them.
#pragma once

#include <iosfwd>
#include <span>
#include <optional>
#include <string>

#include "cli/DigestSequence.h"

namespace tolvek::cli {

// "digest  name" lines for one algorithm, "MD5 (name) = digest" lines for several or with
// --tag, each file read once; gives the exit code.
int HashFiles(const FileRun& run, std::ostream& output);

// The digests of `text`: the digest alone for one algorithm, else "MD5 ("text") = digest" lines.
int HashText(std::span<const hashing::AlgorithmEntry* const> entries, const std::string& text,
             const ListOptions& options, std::ostream& output, std::ostream& errors);

// A digest as the options ask to write it.
std::string DigestTextOf(const hashing::AlgorithmEntry& entry, const hashing::Digest& digest,
                         const ListOptions& options);

// Why the options cannot write these entries' digests (a web form that names none of them,
// --raw for more than one digest), or nothing.
std::optional<std::string> FormConflict(std::span<const hashing::AlgorithmEntry* const> entries,
                                        const Request& request);

}  // namespace tolvek::cli
