// Every framework vector of tests/vectors, and the invariants every hash class keeps however its
// message is fed.
#include <gtest/gtest.h>

#include <vector>

#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

using testing::DigestOf;
using testing::FrameworkSections;
using testing::PatternBytes;

std::vector<testing::Vector> frameworkVectors() {
    std::vector<testing::Vector> selected;
    for (testing::Vector& vector : testing::ReadAllVectorFiles()) {
        if (FrameworkSections().contains(vector.algorithm)) {
            selected.push_back(std::move(vector));
        }
    }
    return selected;
}

std::string asciiLower(std::string text) {
    for (char& character : text) {
        if (character >= 'A' && character <= 'Z') {
            character = static_cast<char>(character - 'A' + 'a');
        }
    }
    return text;
}

class FrameworkVectorTest : public ::testing::TestWithParam<testing::Vector> {};

TEST_P(FrameworkVectorTest, MatchesPublishedDigest) {
    const testing::Vector& vector = GetParam();
    const HashClassRef hashClass = FrameworkSections().at(vector.algorithm);
    EXPECT_EQ(testing::BytesToHex(DigestOf(hashClass, vector.input)), vector.expected);
    // The main window's route: the stream in chunks, upper-case hex lowered.
    testing::MemoryStream stream(vector.input);
    EXPECT_EQ(asciiLower(hashClass->HashStream(stream, -1, ClassOf<TFormat_HEX>, nullptr)),
              vector.expected);
}

INSTANTIATE_TEST_SUITE_P(Vectors, FrameworkVectorTest, ::testing::ValuesIn(frameworkVectors()),
                         testing::VectorCaseName);

TEST(FrameworkVectorFiles, EverySectionHasVectors) {
    const std::vector<testing::Vector> vectors = frameworkVectors();
    for (const auto& [section, hashClass] : FrameworkSections()) {
        const bool found = std::any_of(vectors.begin(), vectors.end(),
                                       [&name = section](const auto& vector) {
                                           return vector.algorithm == name;
        });
        EXPECT_TRUE(found) << "no vectors for " << section;
    }
}

// --- Invariants of every class ----------------------------------------------------------------

class FrameworkInvariantTest : public ::testing::TestWithParam<HashClassRef> {
protected:
    HashClassRef hashClass() const { return GetParam(); }

    // The digest of `message` fed in pieces of `piece` bytes (the last one shorter).
    std::string digestInPieces(const std::string& message, std::size_t piece) const {
        const std::unique_ptr<TDigestHash> hash = hashClass()->Create();
        hash->BeginHash();
        for (std::size_t start = 0; start < message.size(); start += piece) {
            const std::size_t count = std::min(piece, message.size() - start);
            hash->HashData(message.data() + start, static_cast<std::int32_t>(count));
        }
        hash->EndHash();
        return hash->DigestText(nullptr);
    }
};

TEST_P(FrameworkInvariantTest, SplitAtEveryPairOfOffsets) {
    const std::string message =
        PatternBytes(2 * static_cast<std::size_t>(hashClass()->BlockLength()) + 9);
    const std::string whole = DigestOf(hashClass(), message);
    const std::unique_ptr<TDigestHash> hash = hashClass()->Create();
    for (std::size_t first = 0; first <= message.size(); ++first) {
        for (std::size_t second = first; second <= message.size(); ++second) {
            hash->BeginHash();
            hash->HashData(message.data(), static_cast<std::int32_t>(first));
            hash->HashData(message.data() + first, static_cast<std::int32_t>(second - first));
            hash->HashData(message.data() + second,
                           static_cast<std::int32_t>(message.size() - second));
            hash->EndHash();
            ASSERT_EQ(hash->DigestText(nullptr), whole) << first << ", " << second;
        }
    }
}

TEST_P(FrameworkInvariantTest, PiecesOfAnySizeGiveTheWholeDigest) {
    const std::string message = PatternBytes(10000);
    const std::string whole = DigestOf(hashClass(), message);
    for (const std::size_t piece : {1, 3, 63, 64, 65, 4096}) {
        EXPECT_EQ(digestInPieces(message, piece), whole) << piece;
    }
}

TEST_P(FrameworkInvariantTest, LengthsAtBlockEdges) {
    // Around one and two blocks, and where the padding byte leaves 8 bytes or fewer.
    const int block = hashClass()->BlockLength();
    std::vector<int> lengths = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    for (const int edge : {block, 2 * block}) {
        lengths.insert(lengths.end(), {edge - 9, edge - 8, edge - 1, edge, edge + 1});
    }
    std::erase_if(lengths, [](int length) { return length < 0; });
    for (const int length : lengths) {
        const std::string message = PatternBytes(static_cast<std::size_t>(length));
        EXPECT_EQ(digestInPieces(message, 1), DigestOf(hashClass(), message)) << length;
    }
}

TEST_P(FrameworkInvariantTest, MisalignedMessage) {
    const std::string message = PatternBytes(1000);
    const std::string whole = DigestOf(hashClass(), message);
    for (std::size_t offset = 1; offset < 8; ++offset) {
        const std::string shifted = std::string(offset, '\x5a') + message;
        const std::unique_ptr<TDigestHash> hash = hashClass()->Create();
        hash->BeginHash();
        hash->HashData(shifted.data() + offset, static_cast<std::int32_t>(message.size()));
        hash->EndHash();
        EXPECT_EQ(hash->DigestText(nullptr), whole) << offset;
    }
}

TEST_P(FrameworkInvariantTest, ObjectIsReusedAfterEndHash) {
    const std::string message = PatternBytes(300);
    const std::unique_ptr<TDigestHash> hash = hashClass()->Create();
    for (int run = 0; run < 2; ++run) {
        hash->BeginHash();
        hash->HashData(message.data(), static_cast<std::int32_t>(message.size()));
        hash->EndHash();
        EXPECT_EQ(hash->DigestText(nullptr), DigestOf(hashClass(), message)) << run;
    }
    // A computation abandoned half way leaves nothing in the next one.
    hash->BeginHash();
    hash->HashData(message.data(), 100);
    hash->BeginHash();
    hash->EndHash();
    EXPECT_EQ(hash->DigestText(nullptr), DigestOf(hashClass(), ""));
}

TEST_P(FrameworkInvariantTest, DigestTextOfEveryFormat) {
    const std::unique_ptr<TDigestHash> hash = hashClass()->Create();
    hash->BeginHash();
    hash->EndHash();
    const std::string raw = hash->DigestText(nullptr);
    ASSERT_EQ(raw.size(), static_cast<std::size_t>(hashClass()->DigestLength()));
    EXPECT_EQ(raw, std::string(reinterpret_cast<const char*>(hash->DigestBytes()), raw.size()));
    EXPECT_EQ(hash->DigestText(ClassOf<TFormat_Copy>), raw);
    EXPECT_EQ(hash->DigestText(ClassOf<TFormat_HEX>),
              ClassOf<TFormat_HEX>->EncodeBytes(raw.data(), static_cast<std::int32_t>(raw.size())));
}

std::vector<HashClassRef> frameworkClasses() {
    std::vector<HashClassRef> classes;
    for (const auto& [section, hashClass] : FrameworkSections()) {
        classes.push_back(hashClass);
    }
    return classes;
}

INSTANTIATE_TEST_SUITE_P(Classes, FrameworkInvariantTest, ::testing::ValuesIn(frameworkClasses()),
                         [](const ::testing::TestParamInfo<HashClassRef>& classInfo) {
                             return ShortClassName(classInfo.param);
                         });

}  // namespace
}  // namespace tolvek::framework
