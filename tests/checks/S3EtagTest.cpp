// S3 multipart ETags: read from text, the part sizes tried, and the digest of the parts. The
// expected ETags are python hashlib's MD5 of the parts' MD5s.
#include <gtest/gtest.h>

#include "app/checks/S3Etag.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"

namespace tolvek::checks {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

TEST(S3Etag, ReadFromText) {
    const struct Case {
        std::string_view text;
        std::uint64_t parts;  // 0: not an ETag
    } cases[] = {
        {"61e3716e3a7767581863b67c4e785584-3", 3},
        {"\"61e3716e3a7767581863b67c4e785584-12\"", 12},
        {"61e3716e3a7767581863b67c4e785584", 0},
        {"61e3716e3a7767581863b67c4e78558-3", 0},
        {"61e3716e3a7767581863b67c4e785584-0", 0},
        {"61e3716e3a7767581863b67c4e785584-3x", 0},
        {"61e3716e3a7767581863b67c4e78558g-3", 0},
    };
    for (const Case& test : cases) {
        const std::optional<S3Etag> etag = ReadS3Etag(test.text);
        EXPECT_EQ(etag ? etag->parts : 0, test.parts) << test.text;
    }
}

// Only the sizes that give the ETag's count of parts are tried, the computed one last.
TEST(S3Etag, PartSizesThatGiveTheCount) {
    EXPECT_EQ(EtagPartSizes(17 * kMiB + 1, 3), (std::vector<std::uint64_t>{8 * kMiB, 6 * kMiB}));
    EXPECT_EQ(EtagPartSizes(16 * kMiB, 2), (std::vector<std::uint64_t>{8 * kMiB, 15 * kMiB}));
    EXPECT_EQ(EtagPartSizes(100, 1),
              (std::vector<std::uint64_t>{5 * kMiB, 8 * kMiB, 15 * kMiB, 16 * kMiB, 64 * kMiB,
                                          100 * kMiB, kMiB}));
    EXPECT_TRUE(EtagPartSizes(10 * kMiB, 50).empty());
}

// Parts cut at the part size, the last one shorter or whole, an empty message one empty part.
TEST(S3Etag, DigestOfTheParts) {
    const struct Case {
        std::string_view message;
        std::uint64_t partBytes;
        std::string_view etag;
    } cases[] = {
        {"0123456789", 4, "61e3716e3a7767581863b67c4e785584-3"},
        {"0123456789", 5, "9a6dbec798b1bfe66cc7659d2bb41720-2"},
        {"0123456789", 10, "8e938564cd1410f0ec1c1781466a6738-1"},
        {"", 4, "59adb24ef3cdbe0297f05b395827453f-1"},
    };
    for (const Case& test : cases) {
        const hashing::DigestOutcome outcome =
            hashing::HashText(*MakeEtagProvider(test.partBytes), test.message);
        EXPECT_EQ(outcome.digest, EtagDigest(*ReadS3Etag(test.etag))) << test.etag;
    }
}

}  // namespace
}  // namespace tolvek::checks
