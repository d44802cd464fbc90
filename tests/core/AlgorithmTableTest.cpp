// The shared entry table: positions, names and lookups.
#include <gtest/gtest.h>

#include <set>

#include "app/core/AlgorithmTable.h"

namespace tolvek::app {
namespace {

TEST(AlgorithmTable, PositionsAreTheListOrder) {
    int expected = 0;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        EXPECT_GE(entry.position, expected) << entry.caption;
        expected = entry.position + 1;
        EXPECT_EQ(AlgorithmAt(entry.position), &entry);
    }
    EXPECT_EQ(AlgorithmAt(-1), nullptr);
    EXPECT_EQ(AlgorithmAt(expected), nullptr);
}

TEST(AlgorithmTable, NamesAreUniqueAndFoundIgnoringCase) {
    std::set<std::string> names;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        EXPECT_TRUE(names.insert(std::string(entry.id)).second) << entry.id;
        std::string upper(entry.id);
        for (char& character : upper) {
            character = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
        }
        EXPECT_EQ(FindAlgorithm(upper), &entry);
        EXPECT_EQ(FindAlgorithm(entry.caption), &entry);
    }
    EXPECT_EQ(FindAlgorithm("sha"), nullptr);
    EXPECT_EQ(FindAlgorithm(""), nullptr);
}

}  // namespace
}  // namespace tolvek::app
