#include "cli/EntryOptions.h"

#include <ostream>

#include "cli/Cli.h"
#include "cli/Messages.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::cli {

namespace {

// A key longer than this is a file named by mistake rather than a key.
constexpr std::size_t kLongestKeyFile = std::size_t{1} << 16;

// The bytes of a key file, which may be a FIFO (`<(printf ...)`); nothing, after saying why, for
// one that cannot be read or is too long to be a key.
std::optional<hashing::Bytes> readKeyFile(const std::string& name, std::ostream& errors) {
    int failure = 0;
    std::optional<platform::ReadOnlyFile> file =
        platform::ReadOnlyFile::open(name, platform::FileKinds::WithStreams, &failure);
    hashing::Bytes key;
    std::array<std::uint8_t, 4096> buffer;
    const bool read =
        file && platform::ReadPieces(*file, buffer, std::nullopt, [&](auto piece) {
            if (key.size() <= kLongestKeyFile) {
                key.insert(key.end(), piece.begin(), piece.end());
            }
        });
    if (!read) {
        errors << FileError(name, file ? file->lastError() : failure, "cannot read the key file");
        return std::nullopt;
    }
    if (key.size() > kLongestKeyFile) {
        errors << "tolvek-cli: the key file '" << name << "' is longer than "
               << kLongestKeyFile << " bytes\n";
        return std::nullopt;
    }
    return key;
}

}  // namespace

std::optional<OptionedEntries> ApplyEntryOptions(
    const Request& request, std::span<const hashing::AlgorithmEntry* const> entries,
    std::ostream& errors, int& exitCode) {
    OptionedEntries optioned;
    hashing::EntryOptions options{request.lengthBits, {}, request.deriveKey, {}};
    exitCode = kExitFailure;
    if (request.keyFile && !(options.key = readKeyFile(*request.keyFile, errors))) {
        return std::nullopt;
    }
    if (request.hmacKeyFile && !(options.hmacKey = readKeyFile(*request.hmacKeyFile, errors))) {
        return std::nullopt;
    }
    exitCode = kExitUsage;
    for (const hashing::AlgorithmEntry* entry : entries) {
        if (!options.any()) {
            optioned.entries.push_back(entry);
            continue;
        }
        hashing::VariantOutcome outcome = hashing::MakeVariant(*entry, options);
        if (!outcome.variant) {
            errors << "tolvek-cli: " << outcome.refusal << "\n";
            return std::nullopt;
        }
        optioned.entries.push_back(&*outcome.variant->entry);
        optioned.variants.push_back(std::move(outcome.variant));
    }
    return optioned;
}

}  // namespace tolvek::cli
