// How every route shows its digest or its failure (the actions' other steps are
// tests/window/hash_steps.cases').
#include <gtest/gtest.h>

#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"

namespace tolvek::window::testing {
namespace {

using HashFileActionTest = MainWindowTest;
using HashStringActionTest = MainWindowTest;

// How each kind of route shows a failure in DigestField (tests/window/hash_failures.cases).
TEST_F(HashFileActionTest, FailureTextsByRoute) {
    for (const tolvek::testing::Case& failure :
         tolvek::testing::ReadCaseFile("window/hash_failures.cases")) {
        SCOPED_TRACE(failure.where);
        const int position = std::stoi(failure.get("Position"));
        entries.fileRoute(position).answer = Failure(failure.get("Failure"));
        entries.stringRoute(position).answer = Failure(failure.get("Failure"));
        selectAlgorithm(position);
        hashFileFromDialog(existingFile("file"));
        EXPECT_EQ(digestField(), failure.get("FileShows"));
        EXPECT_EQ(windows.text(Control::PathField), existingFile("file"));
        hashTextFromWindow("abc");
        EXPECT_EQ(digestField(), failure.get("StringShows"));
    }
}

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
