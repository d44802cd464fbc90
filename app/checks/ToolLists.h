// The lists of other tools that a line alone does not explain: hashdeep's CSV, whose header
// names its columns, and BagIt manifests, whose names are percent-encoded.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/checks/ChecksumList.h"

namespace tolvek::checks {

// Whether `line` is the first line of a hashdeep list ("%%%% HASHDEEP-1.0").
bool StartsHashdeepList(std::string_view line);

// The lines of a hashdeep list after its first: "%%%% size,md5,sha256,filename" names the
// columns, "##" lines are comments, and each other line is "size,digest...,name" (the name is
// the rest of the line, commas and all). A line checks the longest digest of an accepted length,
// named by its column ("sha256"), and the size.
class HashdeepColumns {
public:
    ChecksumLine read(std::string_view line, DigestLengths lengths);

private:
    ChecksumLine readFiles(std::string_view line, DigestLengths lengths) const;

    std::vector<std::string> m_columns;  // "size", "md5", ..., "filename"
};

// Whether `fileName` is a BagIt manifest, "manifest-ALG.txt" or "tagmanifest-ALG.txt"; and
// then ALG.
std::optional<std::string_view> BagItAlgorithm(std::string_view fileName);

// A BagIt name with its "%0A", "%0D" and "%25" decoded; nothing for another "%".
std::optional<std::string> PercentDecodedName(std::string_view name);

}  // namespace tolvek::checks
