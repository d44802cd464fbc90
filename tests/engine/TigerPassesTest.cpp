// Tiger's pass count, read from the context: what the published vectors (3 and 4 passes, in
// tests/vectors/tiger.vec) leave open.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/HashEngine.h"

namespace tolvek::engine {
namespace {

constexpr HashType kTigerTypes[] = {HashTypeTiger128, HashTypeTiger160, HashTypeTiger192};

std::string digestWithPasses(HashType type, const std::string& message, std::int32_t passes) {
    HashContext context;
    EXPECT_EQ(HashInit(&context, type), kHashOk);
    context.Passes = passes;
    EXPECT_EQ(HashUpdate(&context, message.data(), static_cast<std::uint32_t>(message.size())),
              kHashOk);
    std::string digest;
    EXPECT_EQ(HashFinal(&context, digest), kHashOk);
    return digest;
}

// Messages of one, two and three blocks after padding.
const std::string kMessages[] = {std::string(), std::string(60, 'x'), std::string(130, 'y')};

TEST(TigerPasses, ZeroRunsAsOnePass) {
    for (const HashType type : kTigerTypes) {
        for (const std::string& message : kMessages) {
            EXPECT_EQ(digestWithPasses(type, message, 0), digestWithPasses(type, message, 1))
                << type;
        }
    }
}

// No count is raised to three or capped: each further pass changes the digest.
TEST(TigerPasses, EveryPassCounts) {
    for (const std::string& message : kMessages) {
        std::set<std::string> digests;
        for (std::int32_t passes = 1; passes <= 6; ++passes) {
            digests.insert(digestWithPasses(HashTypeTiger192, message, passes));
        }
        EXPECT_EQ(digests.size(), 6u);
    }
}

}  // namespace
}  // namespace tolvek::engine
