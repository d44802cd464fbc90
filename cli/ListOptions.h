// The options of tolvek-cli that check checksum lists and shape the lists it writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/hashing/DigestText.h"

namespace tolvek::cli {

struct ListOptions {
    bool check = false;          // -c: the files are lists to check
    bool quiet = false;          // no "name: OK" lines
    bool status = false;         // nothing on standard output, the exit status says it all
    bool strict = false;         // an improperly formatted line fails the check
    bool warn = false;           // say which lines are improperly formatted
    bool ignoreMissing = false;  // a listed file that does not exist is no failure
    bool tag = false;            // BSD lines also for one algorithm
    bool binary = false;         // "digest *name" lines
    bool text = false;           // -t: "digest  name" lines, as without it
    bool recursive = false;      // -r: the files of folders
    bool followLinks = false;    // -L: -r goes into symbolic links to folders
    bool zero = false;           // -z: lines end with NUL, names as they are
    bool audit = false;          // --audit LIST FOLDER
    bool update = false;         // --update: the audit rewrites the list
    bool untagged = false;       // "digest  name" lines also for several algorithms
    bool noNames = false;        // the digests alone, a line each
    bool raw = false;            // the digest's bytes alone, of one input and one algorithm
    // How digests are written (of these the last one given counts; hex by default).
    bool base64 = false;         // base64, as cksum --base64
    bool upper = false;          // upper-case hex
    bool integrity = false;      // --sri: "sha384-<base64>", for HTML's integrity attribute
    bool contentDigest = false;  // HTTP's Content-Digest value, "sha-256=:<base64>:"
};

// The digest form the options ask for.
hashing::DigestForm DigestFormOf(const ListOptions& options);

// Takes `argument` into `options` when it is one of their flags (single-letter ones may be
// joined, as in "-rL"); false for any other argument.
bool ReadListOption(std::string_view argument, ListOptions& options);

// Coreutils' message for an option of the other mode: one that only checking lists takes
// given without -c, or one that only writing them takes given with it; nothing when the
// options fit together.
std::optional<std::string_view> MisplacedListOption(const ListOptions& options);

// The help lines of these options.
extern const std::string_view kListOptionsHelp;

}  // namespace tolvek::cli
