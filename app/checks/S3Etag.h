// S3 multipart ETags, "<hex>-<parts>": the MD5 of the MD5s of a file's parts, which depends on
// the part size the uploading tool chose, so the sizes tools commonly use are tried.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::checks {

struct S3Etag {
    hashing::Digest digest;  // the MD5 of the parts' MD5s
    std::uint64_t parts = 0;
};

// "<32 hex digits>-<parts>", in quotes or not; nothing for any other text.
std::optional<S3Etag> ReadS3Etag(std::string_view text);

// The part sizes tools commonly upload with: 5, 8, 15, 16, 64 and 100 MiB. A stream's ETag is
// tried at these alone: a tool uploading a stream cannot have chosen its part size from a size
// it did not know.
std::span<const std::uint64_t> CommonEtagPartSizes();

// The part sizes that cut `fileSize` bytes into etag.parts parts: the common ones, and the
// smallest whole MiB that does, in that order, each once.
std::vector<std::uint64_t> EtagPartSizes(std::uint64_t fileSize, std::uint64_t parts);

// The ETag of a message cut into parts of `partBytes`: the 16 bytes of the MD5 of the parts'
// MD5s, then the part count as 8 bytes big-endian (EtagDigest's form).
std::unique_ptr<hashing::Provider> MakeEtagProvider(std::uint64_t partBytes);

hashing::Digest EtagDigest(const S3Etag& etag);

}  // namespace tolvek::checks
