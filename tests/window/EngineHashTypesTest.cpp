// EngineHashTypes against the entry table: the self-test's types are the ones the engine
// entries use.
#include <gtest/gtest.h>

#include <set>

#include "app/window/MainWindow.h"
#include "app/hashing/Providers.h"

namespace tolvek::window {
namespace {

TEST(EngineHashTypes, NameEachEngineTypeOnce) {
    std::set<engine::HashType> types(EngineHashTypes.begin(), EngineHashTypes.end());
    EXPECT_EQ(types.size(), 21U);
    EXPECT_EQ(*types.begin(), engine::kFirstHashType);
    EXPECT_EQ(*types.rbegin(), engine::kLastHashType);
}

// The engine serves an entry only with the type EngineHashTypes gives its position, and never
// past position 20. From position 18 on, no route is the engine's: the checksum entries hash
// strings with the same checksums as files, so one caption computes one function.
TEST(EngineHashTypes, EngineRoutesAgreeWithTheTable) {
    const auto entries = AlgorithmEntries();
    for (std::size_t position = 0; position < entries.size(); ++position) {
        const AlgorithmEntry& entry = entries[position];
        for (const hashing::Provider* route : {&entry.fileRoute, &entry.stringRoute}) {
            const auto* engineRoute = dynamic_cast<const hashing::EngineProvider*>(route);
            if (engineRoute == nullptr) {
                continue;
            }
            ASSERT_LT(position, 18U) << entry.caption;
            EXPECT_EQ(engineRoute->type(), EngineHashTypes[position]) << entry.caption;
        }
    }
}

}  // namespace
}  // namespace tolvek::window
