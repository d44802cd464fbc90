// Digests written as text and read back, the entries found by name, and a stream that fails.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <streambuf>

#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"
#include "tests/support/VectorFile.h"

namespace tolvek::hashing {
namespace {

Digest bytesOf(std::string_view hex) {
    return *ReadHex(hex);
}

// The window's forms of entries' digests, and text read back (tests/hashing/digest_text.cases).
TEST(DigestText, ShownAsTheEntryShowsIt) {
    for (const testing::Case& test : testing::ReadCaseFile("hashing/digest_text.cases", "Shown")) {
        const AlgorithmEntry& entry = *FindAlgorithm(test.get("Id"));
        const DigestOutcome outcome = HashText(entry.stringRoute, test.get("Text"));
        EXPECT_EQ(ShownText(entry, outcome.digest), test.get("Shown")) << test.where;
        EXPECT_EQ(HexText(outcome.digest).size(), 2 * entry.digestBytes()) << test.where;
    }
}

TEST(DigestText, ReadBack) {
    for (const testing::Case& test : testing::ReadCaseFile("hashing/digest_text.cases", "Read")) {
        const std::optional<Digest> read =
            test.has("Base64") ? ReadBase64(test.get("Base64")) : ReadHex(test.get("Hex"));
        ASSERT_EQ(read.has_value(), test.has("Bytes")) << test.where;
        if (read) {
            EXPECT_EQ(HexText(*read), test.get("Bytes")) << test.where;
        }
    }
    EXPECT_EQ(NumberText(bytesOf("000a0b")), "a0b");
    EXPECT_EQ(NumberText(bytesOf("0000")), "0");
}

TEST(DigestText, FormsWrittenAndNamesReadBack) {
    const std::map<std::string, DigestForm> forms = {{"Base64", DigestForm::Base64},
                                                     {"UpperHex", DigestForm::UpperHex},
                                                     {"Integrity", DigestForm::Integrity},
                                                     {"ContentDigest", DigestForm::ContentDigest}};
    for (const testing::Case& test : testing::ReadCaseFile("hashing/digest_text.cases", "Forms")) {
        SCOPED_TRACE(test.where);
        const AlgorithmEntry& entry = *FindAlgorithm(test.get("Id"));
        const Digest digest = HashText(entry.stringRoute, test.get("Text")).digest;
        const std::optional<std::string> written =
            DigestInForm(entry, digest, forms.at(test.get("Form")));
        ASSERT_EQ(written.has_value(), test.has("Written"));
        if (!written) {
            continue;
        }
        EXPECT_EQ(*written, test.get("Written"));
        const std::optional<NamedDigestText> named = SplitNamedDigest(*written);
        const bool web = test.get("Form") == "Integrity" || test.get("Form") == "ContentDigest";
        ASSERT_EQ(named.has_value(), web);
        if (named) {
            EXPECT_TRUE(named->algorithm == entry.integrityName ||
                        named->algorithm == entry.httpName);
            EXPECT_EQ(ReadBase64(named->digest), digest);
        }
    }
    EXPECT_EQ(SplitNamedDigest("XXH3_78af5f94892f3950")->algorithm, "XXH3");
}

TEST(EntryTable, NamesAreUniqueAndFoundIgnoringCase) {
    std::set<std::string_view> names;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        EXPECT_TRUE(names.insert(entry.id).second) << entry.id;
        EXPECT_EQ(FindAlgorithm(AsciiUpper(entry.id)), &entry);
        // A caption that is another entry's id ("Whirlpool") names that entry: ids go first.
        const AlgorithmEntry* const byId = FindAlgorithm(AsciiLower(entry.caption));
        const bool captionIsAnId = byId != nullptr && byId->id == AsciiLower(entry.caption);
        EXPECT_EQ(FindAlgorithm(entry.caption), captionIsAnId ? byId : &entry) << entry.caption;
    }
    EXPECT_EQ(FindAlgorithm("Whirlpool")->caption, "Whirlpool (2003)");
    EXPECT_EQ(FindAlgorithm("sha"), nullptr);
    EXPECT_EQ(EntryAt(AlgorithmEntries(), -1), nullptr);
    EXPECT_EQ(EntryAt(AlgorithmEntries(), static_cast<int>(AlgorithmEntries().size())), nullptr);
    EXPECT_EQ(DefaultEntry().id, "sha1");
}

TEST(Hashing, AFailingStreamIsAReadFailureForEveryRoute) {
    struct FailingBuffer final : std::streambuf {
        int_type underflow() override { throw std::ios_base::failure("device gone"); }
    } failing;
    std::istream input(&failing);
    const Provider* const providers[] = {&FindAlgorithm("sha1")->fileRoute,
                                         &FindAlgorithm("md5")->fileRoute,
                                         &FindAlgorithm("crc32")->fileRoute};
    for (const DigestOutcome& outcome : HashStreamWith(input, providers)) {
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.failure, "Could not read file");
    }
}

}  // namespace
}  // namespace tolvek::hashing
