// The shared entry table: positions, names and lookups.
#include <gtest/gtest.h>

#include <set>

#include "app/core/AlgorithmTable.h"
#include "app/core/AsciiText.h"
#include "app/core/EngineProvider.h"
#include "app/core/MainWindow.h"

namespace tolvek::app {
namespace {

TEST(AlgorithmTable, PositionsAreTheListOrder) {
    int expected = 0;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        EXPECT_EQ(entry.position, expected) << entry.caption;
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
    }
    // A caption finds its entry unless it is another entry's id, which wins.
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        const std::string caption = AsciiLower(entry.caption);
        const bool isAnotherId = caption != entry.id && names.contains(caption);
        EXPECT_EQ(FindAlgorithm(entry.caption) == &entry, !isAnotherId) << entry.caption;
    }
    EXPECT_EQ(FindAlgorithm("Whirlpool")->caption, "Whirlpool (2003)");
    EXPECT_EQ(FindAlgorithm("sha"), nullptr);
    EXPECT_EQ(FindAlgorithm(""), nullptr);
}

TEST(AlgorithmTable, EngineHashTypesNameEachEngineTypeOnce) {
    std::set<engine::HashType> types(EngineHashTypes.begin(), EngineHashTypes.end());
    EXPECT_EQ(types.size(), 21U);
    EXPECT_EQ(*types.begin(), engine::kFirstHashType);
    EXPECT_EQ(*types.rbegin(), engine::kLastHashType);
}

// The engine serves an entry only with the type EngineHashTypes gives its position, and never
// past position 20. From position 18 on, no route is the engine's: the checksum entries hash
// strings with the same checksums as files, so one caption computes one function.
TEST(AlgorithmTable, EngineRoutesAgreeWithEngineHashTypes) {
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        for (const Provider* route : {&entry.fileRoute, &entry.stringRoute}) {
            const auto* engineRoute = dynamic_cast<const EngineProvider*>(route);
            if (engineRoute == nullptr) {
                continue;
            }
            ASSERT_LT(entry.position, 18) << entry.caption;
            EXPECT_EQ(engineRoute->type(),
                      EngineHashTypes[static_cast<std::size_t>(entry.position)])
                << entry.caption;
        }
    }
}

}  // namespace
}  // namespace tolvek::app
