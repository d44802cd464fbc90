// Every entry's string route, and ASCII case mapping (the hash actions' other steps, failures
// and compares included, are tests/window/hash_steps.cases').
#include <gtest/gtest.h>

#include "app/hashing/AsciiText.h"
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

TEST(AsciiText, CaseMappingTouchesOnlyAsciiLetters) {
    EXPECT_EQ(hashing::AsciiUpper("az AZ 09 @[`{ \xEA\xE7\xF1"), "AZ AZ 09 @[`{ \xEA\xE7\xF1");
    EXPECT_EQ(hashing::AsciiLower("az AZ 09 @[`{ \xCA\xC7\xD1"), "az az 09 @[`{ \xCA\xC7\xD1");
}

}  // namespace
}  // namespace tolvek::window::testing
