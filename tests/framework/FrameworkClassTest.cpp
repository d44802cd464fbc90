// What every hash class keeps as an object: it is used again after EndHash or half way, and
// gives its digest in every format. Each class's vectors, split any way, run through its list
// entry (tests/hashing).
#include <gtest/gtest.h>

#include <vector>

#include "tests/framework/FrameworkClasses.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

using testing::DigestOf;
using testing::PatternBytes;

// --- Invariants of every class ----------------------------------------------------------------

class FrameworkInvariantTest : public ::testing::TestWithParam<HashClassRef> {
protected:
    HashClassRef hashClass() const { return GetParam(); }

};

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

INSTANTIATE_TEST_SUITE_P(Classes, FrameworkInvariantTest, ::testing::ValuesIn(testing::kHashClasses),
                         [](const ::testing::TestParamInfo<HashClassRef>& classInfo) {
                             return ShortClassName(classInfo.param);
                         });

}  // namespace
}  // namespace tolvek::framework
