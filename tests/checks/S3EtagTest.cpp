// S3 multipart ETags: read from text, the part sizes tried, and the digest of the parts
// (tests/checks/s3_etags.cases).
#include <gtest/gtest.h>

#include "app/checks/S3Etag.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"
#include "tests/support/VectorFile.h"

namespace tolvek::checks {
namespace {

std::vector<testing::Case> casesOf(const std::string& section) {
    return testing::ReadCaseFile("checks/s3_etags.cases", section);
}

TEST(S3Etag, ReadFromText) {
    for (const testing::Case& test : casesOf("Read")) {
        const std::optional<S3Etag> etag = ReadS3Etag(test.get("Text"));
        EXPECT_EQ(etag ? std::to_string(etag->parts) : "", test.get("Parts")) << test.where;
    }
}

TEST(S3Etag, PartSizesThatGiveTheCount) {
    for (const testing::Case& test : casesOf("Part sizes")) {
        std::vector<std::string> tried;
        for (const std::uint64_t size :
             EtagPartSizes(std::stoull(test.get("Size")), std::stoull(test.get("Parts")))) {
            tried.push_back(std::to_string(size));
        }
        EXPECT_EQ(tried, testing::SplitField(test.get("Tried"), ' ')) << test.where;
    }
}

TEST(S3Etag, DigestOfTheParts) {
    for (const testing::Case& test : casesOf("Digest")) {
        const hashing::DigestOutcome outcome = hashing::HashText(
            *MakeEtagProvider(std::stoull(test.get("PartBytes"))), test.get("Message"));
        EXPECT_EQ(outcome.digest, EtagDigest(*ReadS3Etag(test.get("Etag")))) << test.where;
    }
}

}  // namespace
}  // namespace tolvek::checks
