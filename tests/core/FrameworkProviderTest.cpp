// The framework route of the list entries: lower-case digests, failures as the engine's
// messages, and the same MD5 as the engine's.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <streambuf>

#include "app/core/AlgorithmTable.h"
#include "engine/HashEngine.h"
#include "tests/support/TempFolder.h"

namespace tolvek::app {
namespace {

// Published digests of "abc": RFC 1321 A.5, and the RIPEMD designers' test set.
constexpr char kMd5OfAbc[] = "900150983cd24fb0d6963f7d28e17f72";
constexpr char kRipemd256OfAbc[] =
    "afbd6e228b9d8cbbcef5ca2d03e6dba10ac0bc7dcbe4680e1e42d2e975459b65";
constexpr char kRipemd320OfAbc[] =
    "de4c01b3054f8930a79d09ae738e92301e5a17085beffdc1b8d116713e74f82fa942d64cdbc4682d";
// The Sapphire and Square hashes' known answers, and the 8-pass Snefru 2.5a values.
constexpr char kSapphireOfAbc[] =
    "4acf17d911781571f053ce82e2f70cce5470f410b717b9a699063814b6df1f32"
    "7c766773fc59830b99a4a34ea2fb8a373ac206d593d97ebc7b58324ed0b7f649";
constexpr char kSquareOfAbc[] = "931b73d1a404f6f18880068056f6fc12";
constexpr char kSnefru128OfAbc[] = "553d0648928299a0f22a275a02c83b10";
constexpr char kSnefru256OfAbc[] =
    "7d033205647a2af3dc8339f6cb25643c33ebc622d32979c4b612b02c4903031b";
// Panama: Crypto++'s PanamaHash<LittleEndian>; Whirlpool-0 and -T: the NESSIE sets.
constexpr char kPanamaOfAbc[] = "a2a70386b81fb918be17f00ff3e3b376a0462c4dc2eec7f2c63202c8874c037d";
constexpr char kWhirlpool0OfAbc[] =
    "54ee18b0bbd4dd38a211699f2829793156e5842df502a2a25995c6c541f28cc0"
    "50ff57d4af772dee7cedcc4c34c3b8ec06446c6657f2f36c2c06464399879b86";
constexpr char kWhirlpoolTOfAbc[] =
    "8afc0527dcc0a19623860ef2369d0e25de8ebe2abaa40f598afaf6b07c002ed7"
    "3e4fc0fc220fd4f54f74b5d6b07aa57764c3dbdcc2cdd919d89fa8155a34b841";

const Provider& fileRoute(std::string_view name) {
    return FindAlgorithm(name)->fileRoute;
}

TEST(FrameworkRoute, EntriesGiveLowerCaseDigestsOfFilesTextsAndStreams) {
    testing::TempFolder folder;
    const std::string abc = folder.write("abc", "abc");
    const std::string empty = folder.write("empty", "");
    struct Case {
        std::string_view caption;
        std::string_view expected;
    };
    for (const Case test :
         {Case{"MD5", kMd5OfAbc}, Case{"RIPE MD 256 bit", kRipemd256OfAbc},
          Case{"RIPE MD 320 bit", kRipemd320OfAbc}, Case{"Sapphire", kSapphireOfAbc},
          Case{"Square", kSquareOfAbc}, Case{"Snefru 128 Bit", kSnefru128OfAbc},
          Case{"Snefru 256 Bit", kSnefru256OfAbc}, Case{"Panama", kPanamaOfAbc},
          Case{"Whirlpool", kWhirlpool0OfAbc}, Case{"Whirlpool 1", kWhirlpoolTOfAbc}}) {
        const AlgorithmEntry& entry = *FindAlgorithm(test.caption);
        std::istringstream input("abc");
        EXPECT_EQ(entry.fileRoute.hashFile(abc).text, test.expected);
        EXPECT_EQ(entry.fileRoute.hashStream(input).text, test.expected);
        EXPECT_EQ(entry.fileRoute.hashText("abc").text, test.expected) << test.caption;
        EXPECT_TRUE(entry.fileRoute.hashFile(empty).ok) << test.caption;
    }
    EXPECT_EQ(fileRoute("md5").hashFile(empty).text, "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(FrameworkRoute, FailuresAreMessagesNotDigests) {
    testing::TempFolder folder;
    for (const std::string& name : {folder.file("missing"), folder.path().string()}) {
        const DigestOutcome outcome = fileRoute("ripemd320").hashFile(name);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.text, "Could not open file") << name;
    }

    // A stream whose every read fails.
    struct FailingBuffer final : std::streambuf {
        int_type underflow() override { throw std::ios_base::failure("device gone"); }
    } failing;
    std::istream input(&failing);
    const DigestOutcome outcome = fileRoute("md5").hashStream(input);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.text, "Could not read file");
}

// Both providers of "MD5" must agree; runs once the engine has its MD5.
TEST(FrameworkRoute, EngineAndFrameworkMd5Agree) {
    engine::HashContext probe;
    if (engine::HashInit(&probe, engine::HashTypeMD5) != engine::kHashOk) {
        GTEST_SKIP() << "the engine has no MD5 in this build";
    }
    std::string digest;
    engine::HashFinal(&probe, digest);

    std::mt19937 random(20240611);
    const AlgorithmEntry& md5 = *FindAlgorithm("md5");
    for (int round = 0; round < 200; ++round) {
        std::string message(random() % 300, '\0');
        for (char& byte : message) {
            byte = static_cast<char>(random());
        }
        EXPECT_EQ(md5.fileRoute.hashText(message).text, md5.stringRoute.hashText(message).text)
            << message.size();
    }
}

}  // namespace
}  // namespace tolvek::app
