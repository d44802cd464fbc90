#include "cli/VerifyCommands.h"

#include <filesystem>
#include <optional>
#include <ostream>

#include "app/checks/ChecksumList.h"
#include "app/checks/ExpectedDigest.h"
#include "app/checks/S3Etag.h"
#include "cli/Messages.h"

namespace tolvek::cli {

namespace {

using hashing::AlgorithmEntry;
using hashing::DigestOutcome;

// The expected digest read forgivingly at the digest lengths of `lengths`; nothing, after saying
// why, when the text holds none, or several different ones of the length found. `one` words the
// message for a single algorithm.
std::optional<hashing::Digest> expectedDigest(const std::string& text,
                                              checks::DigestLengths lengths, bool one,
                                              std::ostream& errors) {
    std::optional<checks::ExpectedDigest> expected = checks::ReadExpectedDigest(text, lengths);
    if (!expected) {
        errors << MessagePrefix() << "no digest of " << (one ? "this algorithm's" : "any")
               << " length in " << text << "\n";
    } else if (expected->ambiguous) {
        // Whichever of them is taken, the answer would be about one the user may not mean.
        errors << MessagePrefix() << "more than one digest of "
               << (one ? "this algorithm's" : "that") << " length in " << text << "\n";
    } else {
        return std::move(expected->digest);
    }
    return std::nullopt;
}

// What --match and --expect compare digests with: a digest's bytes, the numbers cksum or sum
// print, or either where the text reads as both ("29 41").
struct Expected {
    std::optional<hashing::Digest> digest;
    std::optional<hashing::PrintedNumbers> printed;

    bool matches(const AlgorithmEntry& entry, const hashing::Digest& computed) const {
        return (digest && computed == *digest) ||
               (printed && hashing::PrintsAs(entry, computed, *printed));
    }
};

// The expected digest in `text` at `lengths`, or the numbers of a cksum or sum line when
// `printedToo`; nothing, after saying why, when the text holds neither.
std::optional<Expected> expectedIn(const std::string& text, checks::DigestLengths lengths, bool one,
                                   bool printedToo, std::ostream& errors) {
    Expected expected{std::nullopt, printedToo ? hashing::ReadPrintedNumbers(text) : std::nullopt};
    if (!expected.printed) {
        expected.digest = expectedDigest(text, lengths, one, errors);
        return expected.digest ? std::optional(expected) : std::nullopt;
    }
    const std::optional<checks::ExpectedDigest> digest = checks::ReadExpectedDigest(text, lengths);
    if (digest && !digest->ambiguous) {
        expected.digest = digest->digest;
    }
    return expected;
}

// Says why a file has no digests; false when it has none.
bool readable(const std::string& name, const hashing::FileDigests& digests, std::ostream& errors) {
    const DigestOutcome& outcome = digests.outcomes.front();
    if (!outcome.ok) {
        errors << FileError(name, digests.systemError, outcome.failure);
    }
    return outcome.ok;
}

// The part sizes a file's or standard input's ETag is tried at; nothing, after saying why, for
// a name that is no file.
std::optional<std::vector<std::uint64_t>> etagPartSizes(const std::string& name,
                                                        const checks::S3Etag& etag,
                                                        std::ostream& errors) {
    if (name == "-") {
        const std::span<const std::uint64_t> common = checks::CommonEtagPartSizes();
        return std::vector<std::uint64_t>(common.begin(), common.end());
    }
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(name, error);
    if (error) {
        errors << FileError(name, error.value(), "an S3 ETag is checked for files only");
        return std::nullopt;
    }
    return checks::EtagPartSizes(size, etag.parts);
}

// The first part size that gave the ETag of a file or of standard input, all of them from one
// read, or nothing; false, after saying why, when it could not be read.
bool etagPartSize(const FileRun& run, const std::string& name, const checks::S3Etag& etag,
                  std::optional<std::uint64_t>& matched) {
    const std::optional<std::vector<std::uint64_t>> partSizes =
        etagPartSizes(name, etag, run.errors);
    if (!partSizes) {
        return false;
    }
    std::vector<std::unique_ptr<hashing::Provider>> owned;
    std::vector<const hashing::Provider*> providers;
    for (const std::uint64_t partSize : *partSizes) {
        owned.push_back(checks::MakeEtagProvider(partSize));
        providers.push_back(owned.back().get());
    }
    const hashing::FileDigests digests =
        name == "-" ? hashing::FileDigests{false, hashing::HashStreamWith(run.input, providers)}
                    : hashing::HashFileWith(name, providers);
    if (!providers.empty() && !readable(name, digests, run.errors)) {
        return false;
    }
    // The count of parts is in both digests: a size that cuts the stream otherwise differs.
    const hashing::Digest expected = checks::EtagDigest(etag);
    for (std::size_t index = 0; index < digests.outcomes.size() && !matched; ++index) {
        if (digests.outcomes[index].digest == expected) {
            matched = (*partSizes)[index];
        }
    }
    return true;
}

std::string partSizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
    return bytes % kMiB == 0 ? std::to_string(bytes / kMiB) + " MiB parts"
                             : std::to_string(bytes) + "-byte parts";
}

// --match and --expect with an S3 multipart ETag: each file's parts hashed at every common part
// size that gives the ETag's count of parts, and the one that matched said.
int checkEtag(const FileRun& run, const checks::S3Etag& etag, bool expect, std::ostream& output) {
    int exitCode = kExitOk;
    for (const std::string& name : run.request.files) {
        std::optional<std::uint64_t> matched;
        if (!etagPartSize(run, name, etag, matched)) {
            output << (expect ? checks::NameForMessage(name) + ": FAILED open or read\n" : "");
            exitCode = kExitFailure;
            continue;
        }
        const std::string found = matched ? "S3 ETag, " + partSizeText(*matched) : "";
        output << checks::NameForMessage(name) << ": "
               << (expect ? (matched ? "OK (" + found + ")" : "FAILED")
                          : (matched ? found : "no match"))
               << "\n";
        exitCode = matched ? exitCode : kExitFailure;
    }
    return exitCode;
}

}  // namespace

int MatchFiles(const FileRun& run, const std::string& expectedText, std::ostream& output) {
    if (const std::optional<checks::S3Etag> etag = checks::ReadS3Etag(expectedText)) {
        return checkEtag(run, *etag, false, output);
    }
    const std::vector<std::size_t> lengths = hashing::DigestLengthsOf(hashing::AlgorithmEntries());
    const std::optional<Expected> expected =
        expectedIn(expectedText, lengths, false, true, run.errors);
    if (!expected) {
        return kExitUsage;
    }
    std::vector<const AlgorithmEntry*> candidates;
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        const bool sameLength = expected->digest && entry.digestBytes() == expected->digest->size();
        if (sameLength || (expected->printed && hashing::PrintedWithLength(entry))) {
            candidates.push_back(&entry);
        }
    }
    const FileRun sameLength{run.request, candidates, run.input, run.errors, run.context};
    int exitCode = kExitOk;
    DigestSequence sequence(sameLength, [&](const std::string& name,
                                            const hashing::FileDigests& digests) {
        if (!readable(name, digests, run.errors)) {
            exitCode = kExitFailure;
            return;
        }
        std::string ids;
        for (std::size_t index = 0; index < candidates.size(); ++index) {
            if (expected->matches(*candidates[index], digests.outcomes[index].digest)) {
                ids.append(ids.empty() ? "" : " ").append(candidates[index]->id);
            }
        }
        output << checks::NameForMessage(name) << ": " << (ids.empty() ? "no match" : ids) << "\n";
        exitCode = ids.empty() ? kExitFailure : exitCode;
    });
    sequence.addNamed(run.request.files);
    return sequence.finish() ? exitCode : kExitInterrupted;
}

int ExpectInFiles(const FileRun& run, const std::string& expectedText, std::ostream& output) {
    if (const std::optional<checks::S3Etag> etag = checks::ReadS3Etag(expectedText)) {
        return checkEtag(run, *etag, true, output);
    }
    if (run.entries.size() != 1) {
        run.errors << MessagePrefix() << "--expect checks one algorithm\n";
        return kExitUsage;
    }
    const AlgorithmEntry& entry = *run.entries.front();
    const std::size_t length[] = {entry.digestBytes()};
    const std::optional<Expected> expected = expectedIn(
        expectedText, length, true, hashing::PrintedWithLength(entry), run.errors);
    if (!expected) {
        return kExitUsage;
    }
    int exitCode = kExitOk;
    bool matchedWeak = false;
    DigestSequence sequence(run, [&](const std::string& name, const hashing::FileDigests& digests) {
        const std::string shown = checks::NameForMessage(name);
        if (!readable(name, digests, run.errors)) {
            output << shown << ": FAILED open or read\n";
            exitCode = kExitFailure;
        } else if (expected->matches(entry, digests.outcomes.front().digest)) {
            output << shown << ": OK\n";
            matchedWeak = !entry.weakness.empty();
        } else {
            output << shown << ": FAILED\n";
            exitCode = kExitFailure;
        }
    });
    sequence.addNamed(run.request.files);
    if (!sequence.finish()) {
        return kExitInterrupted;
    }
    if (matchedWeak) {
        run.errors << MessagePrefix() << "note: " << entry.id << ": " << entry.weakness
                   << "; a match rules out accidental damage, not deliberate tampering\n";
    }
    return exitCode;
}

}  // namespace tolvek::cli
