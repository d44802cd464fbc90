// The Square-based hash beyond its vectors: the derived S-box against the published one.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "framework/DigestDataSquare.h"
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

}  // namespace
}  // namespace tolvek::framework
