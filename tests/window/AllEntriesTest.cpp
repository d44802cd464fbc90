// Every entry of the algorithm list, through the main window's file and string actions over
// the real providers, against published digests of "abc".
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

#include "app/window/MainWindow.h"
#include "app/hashing/DigestSize.h"
#include "app/hashing/Hashing.h"
#include "tests/window/FakeWindowSystem.h"
#include "tests/window/ManualBackground.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::window::testing {
namespace {

// The digest of the three bytes "abc" as each caption shows it. Sources, as collected in the
// project's reference vectors: MD2/MD4/MD5 RFC 1319/1320/1321; SHA FIPS 180-4; HAVAL with the
// engine's padding byte 0x80 and 3 passes (the 0x01 twins match php and mhash); GOST R 34.11-94
// with the test parameters (nettle, rhash, libgcrypt); Tiger in 64-bit word form (mhash), the
// 128- and 160-bit entries as its prefixes; RIPEMD designers' set; CRC-32, CRC-16/XMODEM and
// CRC-16/ARC from crcmod, zlib and Digest::CRC; Panama from the Crypto++ test vectors;
// Whirlpool-0, Whirlpool-T and the final Whirlpool from the NESSIE sets; SHA-224, SHA-512/256
// and SHA-3 from the NIST examples; CRC-32C and CRC-64/XZ from crcmod with the CRC catalogue's
// parameters; Tiger in byte form from the NESSIE set; Snefru 8 passes (rhash, mhash); Square-MMO
// computed with the Crypto++ Square cipher; Sapphire from the construction's own known answer
// (no outside program implements it); BLAKE2b and BLAKE2s from RFC 7693 appendices A and B;
// BLAKE3 from b3sum; XXH64, XXH3-64 and XXH3-128 from xxhsum (XXH3-128 high half first);
// CRC-64/NVME from crcmod with the catalogue's parameters; XXH32 from xxhsum -H0; ED2K (the MD4
// of a short message) from RFC 1320 and rhash; QuickXorHash and the content hash from rclone;
// SM3 from GB/T 32905-2016 appendix A; GOST R 34.11-94 CryptoPro and Streebog from rhash;
// SHAKE from python hashlib. BLAKE2sp, BLAKE2bp and KangarooTwelve have no published digest of
// "abc": their rows' known answers (the designers' and RFC 9861's) stand in.
// clang-format off
const std::map<std::string_view, std::string_view> kDigestOfAbc = {
    {"MD2", "da853b0d3f88d99b30283a69e6ded6bb"},
    {"MD4", "a448017aaf21d8525fc10ae87aa6729d"},
    {"MD5", "900150983cd24fb0d6963f7d28e17f72"},
    {"SHA1", "a9993e364706816aba3e25717850c26c9cd0d89d"},
    {"SHA256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"SHA384", "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
    {"SHA512", "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
    {"HAVAL128", "c79c31129c3fe87e506b46c6913c52ac"},
    {"HAVAL160", "7ecb3f08166ce78fbbbe0c2154798daef0ef91c6"},
    {"HAVAL192", "7cd9154b744671ebc61afc53f323e57c6dda9e6f07e8e054"},
    {"HAVAL 224", "7bd97c1d5edf5ddafde197fc18aa8c6ad422e43112acb7dff34f914b"},
    {"HAVAL256", "7886bc5279322cb55e2c9021f9619e182dd38f3d9f0072a59f7973f6e64010d9"},
    {"GOST R 34.11-94", "f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d"},
    {"TIGER128", "f258c1e88414ab2a527ab541ffc5b8bf"},
    {"TIGER160", "f258c1e88414ab2a527ab541ffc5b8bf935f7b95"},
    {"TIGER192", "f258c1e88414ab2a527ab541ffc5b8bf935f7b951c132951"},
    {"RIPE-MD128", "c14a12199c66e4ba84636b0f69144c77"},
    {"RIPE-MD160", "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc"},
    {"CRC32", "352441c2"},
    {"CRC16", "9dd6"},
    {"ARC-CRC", "9738"},
    {"Sapphire", "4acf17d911781571f053ce82e2f70cce5470f410b717b9a699063814b6df1f327c766773fc59830b99a4a34ea2fb8a373ac206d593d97ebc7b58324ed0b7f649"},
    {"Panama", "a2a70386b81fb918be17f00ff3e3b376a0462c4dc2eec7f2c63202c8874c037d"},
    {"Whirlpool", "54ee18b0bbd4dd38a211699f2829793156e5842df502a2a25995c6c541f28cc050ff57d4af772dee7cedcc4c34c3b8ec06446c6657f2f36c2c06464399879b86"},
    {"Whirlpool 1", "8afc0527dcc0a19623860ef2369d0e25de8ebe2abaa40f598afaf6b07c002ed73e4fc0fc220fd4f54f74b5d6b07aa57764c3dbdcc2cdd919d89fa8155a34b841"},
    {"Square", "931b73d1a404f6f18880068056f6fc12"},
    {"Snefru 128 Bit", "553d0648928299a0f22a275a02c83b10"},
    {"Snefru 256 Bit", "7d033205647a2af3dc8339f6cb25643c33ebc622d32979c4b612b02c4903031b"},
    {"RIPE MD 256 bit", "afbd6e228b9d8cbbcef5ca2d03e6dba10ac0bc7dcbe4680e1e42d2e975459b65"},
    {"RIPE MD 320 bit", "de4c01b3054f8930a79d09ae738e92301e5a17085beffdc1b8d116713e74f82fa942d64cdbc4682d"},
    {"SHA224", "23097d223405d8228642a477bda255b32aadbce4bda0b3f7e36c9da7"},
    {"SHA512/256", "53048e2681941ef99b2e29b76b4c7dabe4c2d0c634fc6d46e0e2f13107e7af23"},
    {"SHA3-224", "e642824c3f8cf24ad09234ee7d3c766fc9a3a5168d0c94ad73b46fdf"},
    {"SHA3-256", "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532"},
    {"SHA3-384", "ec01498288516fc926459f58e2c6ad8df9b473cb0fc08c2596da7cf0e49be4b298d88cea927ac7f539f1edf228376d25"},
    {"SHA3-512", "b751850b1a57168a5693cd924b6b096e08f621827444f70d884f5d0240d2712e10e116e9192af3c91a7ec57647e3934057340b4cf408d5a56592f8274eec53f0"},
    {"CRC-32C", "364b3fb7"},
    {"CRC-64", "2cd8094a1a277627"},
    {"Whirlpool (2003)", "4e2448a4c6f486bb16b6562c73b4020bf3043e3a731bce721ae1b303d97e6d4c7181eebdb6c57e277d0e34957114cbd6c797fc9d95d8b582d225292076d4eef5"},
    {"Tiger (standard)", "2aab1484e8c158f2bfb8c5ff41b57a525129131c957b5f93"},
    {"BLAKE2b-512", "ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d17d87c5392aab792dc252d5de4533cc9518d38aa8dbf1925ab92386edd4009923"},
    {"BLAKE2s-256", "508c5e8c327c14e2e1a72ba34eeb452f37458b209ed63a294d999b4c86675982"},
    {"BLAKE3", "6437b3ac38465133ffb63b75273a8db548c558465d79db03fd359c6cd5bd9d85"},
    {"XXH64", "44bc2cf5ad770999"},
    {"XXH3-64", "78af5f94892f3950"},
    {"XXH3-128", "06b05ab6733a618578af5f94892f3950"},
    {"CRC-64/NVME", "05e5cabb3fc1faeb"},
    {"XXH32", "32d153ff"},
    {"ED2K", "a448017aaf21d8525fc10ae87aa6729d"},
    {"QuickXorHash", "6110c31800000000000000000300000000000000"},
    {"SM3", "66c7f0f462eeedd9d1f2d46bdc10e4e24167c4875cf2f7a2297da02b8f4ba8e0"},
    {"GOST R 34.11-94 CryptoPro", "b285056dbf18d7392d7677369524dd14747459ed8143997e163b2986f92fd42c"},
    {"Streebog-256", "4e2919cf137ed41ec4fb6270c61826cc4fffb660341e0af3688cd0626d23b481"},
    {"Streebog-512", "28156e28317da7c98f4fe2bed6b542d0dab85bb224445fcedaf75d46e26d7eb8d5997f3e0915dd6b7f0aab08d9c8beb0d8c64bae2ab8b3c8c6bc53b3bf0db728"},
    {"SHAKE128", "5881092dd818bf5cf8a3ddb793fbcba74097d5c526a6d35f97b83351940f2cc8"},
    {"SHAKE256", "483366601360a8771c6863080cc4114d8db44530f8f1e1ee4f94ea37e78b5739d5a15bef186a5386c75744c0527e1faa9f8726e462a12a4feb06bd8801e751e4"},
    {"Dropbox content hash", "4f8b42c22dd3729b519ba6f68d2da7cc5b2d606d05daed5ad5128cc03e6c6358"},
};

// The published input and digest the test uses for an entry: "abc" and the table above, else
// the known answer the entry's row carries.
std::optional<hashing::KnownAnswer> publishedAnswer(const AlgorithmEntry& entry) {
    if (const auto found = kDigestOfAbc.find(entry.caption); found != kDigestOfAbc.end()) {
        return hashing::KnownAnswer{"abc", found->second};
    }
    return entry.stringRoute.knownAnswer();
}
// clang-format on

class AllEntriesTest : public ::testing::TestWithParam<const AlgorithmEntry*> {
protected:
    AllEntriesTest() : window(windows, {jobs, ui}, [] { return engine::kHashOk; }) {
        windows.exeFolder = folder.path();
        windows.selectPosition(Control::AlgorithmList,
                               static_cast<int>(GetParam() - AlgorithmEntries().data()));
    }

    tolvek::testing::TempFolder folder;
    FakeWindowSystem windows;
    ManualUiThread ui;
    ManualFileJobs jobs;
    MainWindow window;
};

// Each entry present in the table runs; an entry without a published digest here fails.
TEST_P(AllEntriesTest, FileAndStringGiveThePublishedDigest) {
    const AlgorithmEntry& entry = *GetParam();
    const auto expected = publishedAnswer(entry);
    ASSERT_TRUE(expected) << "no published digest for " << entry.caption;

    windows.openFileAnswers.emplace_back(folder.write("input.txt", std::string(expected->input)));
    window.HashFileAction(Control::HashFileButton);
    jobs.run();
    ui.drain();
    EXPECT_EQ(windows.text(Control::DigestField), expected->digest) << "file route";

    windows.stringInputAnswers.push_back({ModalResult::Ok, std::string(expected->input)});
    window.HashStringAction(Control::HashStringButton);
    EXPECT_EQ(windows.text(Control::DigestField), expected->digest) << "string route";
    EXPECT_EQ(2 * hashing::DigestBytes(entry), expected->digest.size());
}

// With another entry of the same length selected, the entry's digest in CompareField is found
// to be the entry's, and Yes selects it. (An entry whose digest of the input another entry
// gives too, as ED2K and MD4 for a message under a chunk, cannot be told apart.)
TEST_P(AllEntriesTest, ItsDigestIsFoundWhileAnotherOfItsLengthIsSelected) {
    const AlgorithmEntry& entry = *GetParam();
    const hashing::KnownAnswer published = *publishedAnswer(entry);
    const auto sameLength = [&](const AlgorithmEntry& other) {
        return &other != &entry && hashing::DigestBytes(other) == hashing::DigestBytes(entry);
    };
    const auto other = std::ranges::find_if(AlgorithmEntries(), sameLength);
    if (other == AlgorithmEntries().end()) {
        GTEST_SKIP() << "no other entry gives digests of this length";
    }
    for (const AlgorithmEntry& twin : AlgorithmEntries()) {
        if (sameLength(twin) &&
            hashing::HashText(twin.stringRoute, published.input).text == published.digest) {
            GTEST_SKIP() << twin.caption << " gives the same digest of this input";
        }
    }
    windows.selectPosition(Control::AlgorithmList,
                           static_cast<int>(&*other - AlgorithmEntries().data()));
    windows.openFileAnswers.emplace_back(folder.write("input.txt", std::string(published.input)));
    window.HashFileAction(Control::HashFileButton);
    jobs.run();
    ui.drain();
    windows.texts[Control::CompareField] = std::string(published.digest);
    window.CompareAction();
    jobs.run();
    ui.drain();

    ASSERT_EQ(windows.questions.size(), 1U);
    EXPECT_NE(
        windows.questions[0].box.text.find("It is the " + std::string(entry.caption) + " hash"),
        std::string::npos)
        << windows.questions[0].box.text;
    windows.questions[0].answered(true);
    EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList),
              GetParam() - AlgorithmEntries().data());
    EXPECT_EQ(windows.text(Control::DigestField), published.digest);
}

std::vector<const AlgorithmEntry*> presentEntries() {
    std::vector<const AlgorithmEntry*> present;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        present.push_back(&entry);
    }
    return present;
}

INSTANTIATE_TEST_SUITE_P(Entries, AllEntriesTest, ::testing::ValuesIn(presentEntries()),
                         [](const ::testing::TestParamInfo<const AlgorithmEntry*>& entryInfo) {
                             return tolvek::testing::TestNameOf(entryInfo.param->id);
                         });

}  // namespace
}  // namespace tolvek::window::testing
