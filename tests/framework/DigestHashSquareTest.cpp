// The Square-based hash beyond its vectors: the derived S-box against the published one, and
// the padding byte.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "framework/DigestDataSquare.h"
#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

// The entries of a published table file: hex values, '#' lines skipped.
std::vector<unsigned> readTable(const std::string& fileName) {
    std::ifstream file(testing::VectorDirectory() + "/" + fileName);
    EXPECT_TRUE(file) << fileName;
    std::vector<unsigned> values;
    std::string line;
    while (std::getline(file, line)) {
        if (line.starts_with('#')) {
            continue;
        }
        std::istringstream tokens(line);
        std::string token;
        while (tokens >> token) {
            values.push_back(static_cast<unsigned>(std::stoul(token, nullptr, 16)));
        }
    }
    return values;
}

TEST(SquareTables, DerivedSBoxIsThePublishedOne) {
    const std::vector<unsigned> published = readTable("square_se.txt");
    ASSERT_EQ(published.size(), data::kSquareSe.size());
    for (std::size_t index = 0; index < published.size(); ++index) {
        EXPECT_EQ(data::kSquareSe[index], published[index]) << index;
    }
}

TEST(THash_Square, PadsWith0x80UnlessAnotherByteIsSet) {
    THash_Square hash;
    EXPECT_EQ(hash.PaddingByte(), 0);
    const std::string standard = testing::DigestOf(ClassOf<THash_Square>, "abc");
    hash.BeginHash();
    hash.HashData("abc", 3);
    hash.EndHash();
    EXPECT_EQ(hash.DigestText(nullptr), standard);
    EXPECT_EQ(hash.PaddingByte(), 0x80);

    hash.SetPaddingByte(0x01);
    hash.BeginHash();
    hash.HashData("abc", 3);
    hash.EndHash();
    EXPECT_NE(hash.DigestText(nullptr), standard);
    EXPECT_EQ(hash.PaddingByte(), 0x01);
}

}  // namespace
}  // namespace tolvek::framework
