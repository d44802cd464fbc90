// tolvek-cli --audit LIST FOLDER: the folder's files against a list made of it before, a line
// for each file that is not unchanged and the count of each class; --update rewrites the list.
#pragma once

#include <iosfwd>

#include "cli/DigestSequence.h"

namespace tolvek::cli {

// `run.request.files` are the list and the folder; `forced` is -a's algorithm, or null. Gives
// the exit code: 0 only when every file is unchanged.
int AuditFolder(const FileRun& run, const hashing::AlgorithmEntry* forced, std::ostream& output);

}  // namespace tolvek::cli
