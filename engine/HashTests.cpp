#include "engine/HashTests.h"

#include <array>

namespace tolvek::engine {

namespace {

constexpr std::int32_t kDefaultPasses = 3;
constexpr std::int32_t kNoPasses = kDefaultPasses;  // types that take no passes

constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kAlphanumeric =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::string_view kDigits80 =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890";
constexpr std::string_view kSha448Bits = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
constexpr std::string_view kSha896Bits =
    "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopq"
    "r"
    "smnopqrstnopqrstu";
constexpr std::string_view kSha448BitsTwice =
    "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopqabcdbcdecdefdefgefghfghighijhijkijkljk"
    "lmklmnlmnomnopnopq";

// Published answers: RFC 1319/1320/1321, FIPS 180-4, the RIPEMD and Tiger designers' sets,
// GOST R 34.11-94's examples with the test parameters, and HAVAL with the 0x80 padding byte.
// clang-format off
constexpr std::array kVectors = {
    SelfTestVector{HashTypeMD2, "", kNoPasses, "8350e5a3e24c153df2275c9f80692773"},
    SelfTestVector{HashTypeMD2, "a", kNoPasses, "32ec01ec4a6dac72c0ab96fb34c0b5d1"},
    SelfTestVector{HashTypeMD2, "abc", kNoPasses, "da853b0d3f88d99b30283a69e6ded6bb"},
    SelfTestVector{HashTypeMD2, "message digest", kNoPasses, "ab4f496bfb2a530b219ff33031fe06b0"},
    SelfTestVector{HashTypeMD2, kAlphabet, kNoPasses, "4e8ddff3650292ab5a4108c3aa47940b"},
    SelfTestVector{HashTypeMD2, kAlphanumeric, kNoPasses, "da33def2a42df13975352846c30338cd"},
    SelfTestVector{HashTypeMD2, kDigits80, kNoPasses, "d5976f79d83d3a0dc9806c3c66f3efd8"},
    SelfTestVector{HashTypeMD4, "", kNoPasses, "31d6cfe0d16ae931b73c59d7e0c089c0"},
    SelfTestVector{HashTypeMD4, "a", kNoPasses, "bde52cb31de33e46245e05fbdbd6fb24"},
    SelfTestVector{HashTypeMD4, "abc", kNoPasses, "a448017aaf21d8525fc10ae87aa6729d"},
    SelfTestVector{HashTypeMD4, "message digest", kNoPasses, "d9130a8164549fe818874806e1c7014b"},
    SelfTestVector{HashTypeMD4, kAlphabet, kNoPasses, "d79e1c308aa5bbcdeea8ed63df412da9"},
    SelfTestVector{HashTypeMD4, kAlphanumeric, kNoPasses, "043f8582f241db351ce627e153e7f0e4"},
    SelfTestVector{HashTypeMD5, "", kNoPasses, "d41d8cd98f00b204e9800998ecf8427e"},
    SelfTestVector{HashTypeMD5, "a", kNoPasses, "0cc175b9c0f1b6a831c399e269772661"},
    SelfTestVector{HashTypeMD5, "abc", kNoPasses, "900150983cd24fb0d6963f7d28e17f72"},
    SelfTestVector{HashTypeMD5, "message digest", kNoPasses, "f96b697d7cb7938d525a2f31aaf161d0"},
    SelfTestVector{HashTypeMD5, kAlphabet, kNoPasses, "c3fcd3d76192e4007dfb496cca67e13b"},
    SelfTestVector{HashTypeMD5, kAlphanumeric, kNoPasses, "d174ab98d277d9f5a5611c2c9f419d9f"},
    SelfTestVector{HashTypeMD5, kDigits80, kNoPasses, "57edf4a22be3c955ac49da2e2107b67a"},
    SelfTestVector{HashTypeCRC32MsbFirst, "checksum", kNoPasses, "7fbeb02e"},
    SelfTestVector{HashTypeCRC32, "checksum", kNoPasses, "9adf6fde"},
    SelfTestVector{HashTypeAdler32, "resume", kNoPasses, "09150292"},
    SelfTestVector{HashTypeGOST, "This is message, length=32 bytes", kNoPasses,
                   "b1c466d37519b82e8319819ff32595e047a28cb6f83eff1c6916a815a637fffa"},
    SelfTestVector{HashTypeGOST, "Suppose the original message has length = 50 bytes", kNoPasses,
                   "471aba57a60a770d3a76130635c1fbea4ef14de51f78b4ae57dd893b62f55208"},
    SelfTestVector{HashTypeHAVAL128, "", 3, "1bdc556b29ad02ec09af8c66477f2a87"},
    SelfTestVector{HashTypeHAVAL160, "a", 3, "5e1610fced1d3adb0bb18e92ac2b11f0bd99d8ed"},
    SelfTestVector{HashTypeHAVAL192, "HAVAL", 4, "74aa31182ff09bcce453a7f71b5a7c5e80872fa90cd93ae4"},
    SelfTestVector{HashTypeHAVAL224, "0123456789", 4,
                   "144cb2de11f05df7c356282a3b485796da653f6b702868c7dcf4ae76"},
    SelfTestVector{HashTypeHAVAL256, kAlphabet, 5,
                   "1a1dc8099bdaa7f35b4da4e805f1a28fee909d8dee920198185cbcaed8a10a8d"},
    SelfTestVector{HashTypeHAVAL256, kAlphanumeric, 5,
                   "c5647fc6c1877fff96742f27e9266b6874894f41a08f5913033d9d532aeddb39"},
    SelfTestVector{HashTypeSHA1, "abc", kNoPasses, "a9993e364706816aba3e25717850c26c9cd0d89d"},
    SelfTestVector{HashTypeSHA1, kSha448Bits, kNoPasses, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
    SelfTestVector{HashTypeSHA256, "abc", kNoPasses,
                   "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    SelfTestVector{HashTypeSHA256, kSha448Bits, kNoPasses,
                   "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    SelfTestVector{HashTypeSHA384, kSha896Bits, kNoPasses,
                   "09330c33f71147e83d192fc782cd1b4753111b173b3b05d22fa08086e3b0f712"
                   "fcc7c71a557e2db966c3e9fa91746039"},
    SelfTestVector{HashTypeSHA512, "abc", kNoPasses,
                   "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
                   "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
    SelfTestVector{HashTypeSHA512, kSha896Bits, kNoPasses,
                   "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018"
                   "501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd26545e96e55b874be909"},
    SelfTestVector{HashTypeTiger192, "", 3, "24f0130c63ac933216166e76b1bb925ff373de2d49584e7a"},
    SelfTestVector{HashTypeTiger192, "abc", 3, "f258c1e88414ab2a527ab541ffc5b8bf935f7b951c132951"},
    SelfTestVector{HashTypeTiger192,
                   "ABCDEFGHIJKLMNOPQRSTUVWXYZ=abcdefghijklmnopqrstuvwxyz+0123456789", 3,
                   "467db80863ebce488df1cd1261655de957896565975f9197"},
    SelfTestVector{HashTypeTiger192,
                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+-"
                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+-", 3,
                   "00b83eb4e53440c576ac6aaee0a7485825fd15e70a59ffe4"},
    SelfTestVector{HashTypeRIPEMD128, "", kNoPasses, "cdf26213a150dc3ecb610f18f6b38b46"},
    SelfTestVector{HashTypeRIPEMD128, "abc", kNoPasses, "c14a12199c66e4ba84636b0f69144c77"},
    SelfTestVector{HashTypeRIPEMD128, "message digest", kNoPasses, "9e327b3d6e523062afc1132d7df9d1b8"},
    SelfTestVector{HashTypeRIPEMD128, kSha448BitsTwice, kNoPasses, "e91806709fd9928ad92be015aeebc562"},
    SelfTestVector{HashTypeRIPEMD128, kDigits80, kNoPasses, "3f45ef194732c2dbb2c4a2c769795fa3"},
    SelfTestVector{HashTypeRIPEMD160, "", kNoPasses, "9c1185a5c5e9fc54612808977ee8f548b2258d31"},
    SelfTestVector{HashTypeRIPEMD160, "abc", kNoPasses, "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc"},
    SelfTestVector{HashTypeRIPEMD160, "message digest", kNoPasses,
                   "5d0689ef49d2fae572b881b123a85ffa21595f36"},
    SelfTestVector{HashTypeRIPEMD160, kSha448BitsTwice, kNoPasses,
                   "69a155bddf855b0973a0791d5b7a3326fb83e163"},
    SelfTestVector{HashTypeRIPEMD160, kDigits80, kNoPasses,
                   "9b752e45573d4b39f4dbd3323cab82bf63326bfb"},
};
// clang-format on

// Tiger-128 and Tiger-160 have no vectors of their own: they run Tiger-192's.
HashType vectorTypeOf(HashType type) {
    return type == HashTypeTiger128 || type == HashTypeTiger160 ? HashTypeTiger192 : type;
}

// A vector with a pass count other than the default sets it between init and update.
bool testWithPasses(const SelfTestVector& vector) {
    HashContext context;
    if (HashInit(&context, vector.type) != kHashOk) {
        return false;
    }
    context.Passes = vector.passes;
    HashUpdate(&context, vector.input.data(), static_cast<std::uint32_t>(vector.input.size()));
    std::string digest;
    return HashFinal(&context, digest) == kHashOk && digest == vector.expected;
}

bool passes(const SelfTestVector& vector) {
    if (vector.passes != kDefaultPasses) {
        return testWithPasses(vector);
    }
    return TestHashString(vector.type, std::string(vector.input), std::string(vector.expected));
}

}  // namespace

std::span<const SelfTestVector> SelfTestVectors() { return kVectors; }

bool TestHashString(HashType type, const std::string& input, const std::string& expected) {
    std::string digest;
    return HashString(type, input, digest) == kHashOk && digest == expected;
}

HashResult TestHashTypeWith(HashType type, std::span<const SelfTestVector> vectors) {
    if (type < kFirstHashType || type > kLastHashType) {
        return kHashUnknownType;
    }
    const HashType vectorType = vectorTypeOf(type);
    for (const SelfTestVector& vector : vectors) {
        if (vector.type == vectorType && !passes(vector)) {
            return kHashTestFailed;
        }
    }
    return kHashOk;
}

HashResult TestAllHashTypesWith(std::span<const SelfTestVector> vectors,
                                const std::function<void(HashType)>& onTypeTested) {
    std::array<std::int32_t, kHashTypeCount> types{};
    // The capacity is given in bytes, as the test always has; the engine clamps it to 21.
    const int count = ListHashTypes(types.data(), static_cast<int>(sizeof types));
    for (int index = 0; index < count; ++index) {
        const auto type = static_cast<HashType>(types[static_cast<std::size_t>(index)]);
        if (onTypeTested) {
            onTypeTested(type);
        }
        if (const HashResult result = TestHashTypeWith(type, vectors); result != kHashOk) {
            return result;
        }
    }
    return kHashOk;
}

HashResult TestHashType(HashType type) { return TestHashTypeWith(type, kVectors); }

HashResult TestAllHashTypes() { return TestAllHashTypesWith(kVectors, {}); }

}  // namespace tolvek::engine
