// tolvek-cli --match and --expect: files checked against one expected digest that the user
// pastes as it comes (separators, "0x", base64 or a whole list line).
#pragma once

#include <iosfwd>
#include <string>

#include "cli/DigestSequence.h"

namespace tolvek::cli {

// --match: for each file, the ids of the entries that give the expected digest, from one read of
// the file by every entry of its length.
int MatchFiles(const FileRun& run, const std::string& expectedText, std::ostream& output);

// --expect: "name: OK" or "name: FAILED" for each file, as sha256sum -c says it, with the run's
// one algorithm; a match of a checksum or broken hash adds a note on what it proves.
int ExpectInFiles(const FileRun& run, const std::string& expectedText, std::ostream& output);

}  // namespace tolvek::cli
