// tolvek-cli's digests of files, folders (-r), standard input and -s TEXT, written as the
// coreutils digest tools write them.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

#include "cli/DigestSequence.h"

namespace tolvek::cli {

// "digest  name" lines for one algorithm, "MD5 (name) = digest" lines for several or with
// --tag, each file read once; gives the exit code.
int HashFiles(const FileRun& run, std::ostream& output);

// The digests of `text`: the digest alone for one algorithm, else "MD5 ("text") = digest" lines.
int HashText(std::span<const hashing::AlgorithmEntry* const> entries, const std::string& text,
             std::ostream& output, std::ostream& errors);

}  // namespace tolvek::cli
