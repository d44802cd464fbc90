// Every entry's string route (the hash actions' other steps, failures included, are
// tests/window/hash_steps.cases').
#include <gtest/gtest.h>

#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

using HashStringActionTest = MainWindowTest;

// Every entry hashes strings through its own string route: the framework entries (21 to 29)
// no longer refuse strings, and the checksum entries (18 to 20) compute the same function as
// for files.
TEST_F(HashStringActionTest, EveryEntryHashesStringsThroughItsStringRoute) {
    for (int position = 0; position < FakeEntries::kCount; ++position) {
        selectAlgorithm(position);
        hashTextFromWindow("abc");
        EXPECT_EQ(digestField(), TextDigest(position));
        EXPECT_EQ(entries.stringRoute(position).requests(), std::vector<std::string>{"abc"});
    }
}

}  // namespace
}  // namespace tolvek::window::testing
