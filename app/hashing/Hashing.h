// Whole-file, text and stream hashing for list entries, written once over their digesters.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/FileReader.h"
#include "engine/HashEngine.h"

namespace tolvek::hashing {

// The digests of one file for several providers, in the providers' order, from one read. A file
// that could not be hashed gives every provider the same failure: "Could not open file" or
// "Could not read file". A cancelled read gives no outcomes.
struct FileDigests {
    bool cancelled = false;
    std::vector<DigestOutcome> outcomes;
    // The system's error number behind a failure (ENOENT, EACCES, EISDIR ...), 0 for none.
    int systemError = 0;
};

FileDigests HashFileWith(const std::string& fileName, std::span<const Provider* const> providers,
                         const ReadControl& control = {});

// The same from a file already opened, which may be fed again for other providers.
FileDigests HashContentWith(FileContent& content, std::span<const Provider* const> providers,
                            const ReadControl& control = {});

DigestOutcome HashFile(const Provider& provider, const std::string& fileName);

// The engine's message for a result code ("Could not open file"): the failure texts every route
// shares.
std::string EngineMessage(engine::HashResult code);

// The digest of the bytes of `text`.
DigestOutcome HashText(const Provider& provider, std::string_view text);

// The digests of everything `input` holds, for several providers; a failing stream gives each
// "Could not read file".
std::vector<DigestOutcome> HashStreamWith(std::istream& input,
                                          std::span<const Provider* const> providers);

}  // namespace tolvek::hashing
