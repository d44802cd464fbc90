// MD5, SHA-1, SHA-384, SHA-512, SHA-512/256 and BLAKE3 of many messages at once, on every CPU
// path: each message gets the digest the engine's one-message hash gives it, whatever its length,
// its lane and the batch's size.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/Blake3.h"
#include "engine/EngineUtils.h"
#include "engine/HashEngine.h"
#include "engine/MessageLanes.h"
#include "engine/SHA.h"
#include "tests/support/CpuPaths.h"

namespace tolvek::engine {
namespace {

template <HashType Type>
std::string engineDigest(MessageBytes message) {
    HashContext context;
    HashInit(&context, Type);
    HashUpdate(&context, message.data(), static_cast<std::uint32_t>(message.size()));
    std::string digest;
    HashFinal(&context, digest);
    return digest;
}

template <class Stream>
std::string streamDigest(MessageBytes message) {
    Stream stream;
    stream.update(message);
    std::array<std::uint8_t, Stream::kDigestSize> digest;
    stream.finish(digest);
    std::string text;
    for (const std::uint8_t byte : digest) {
        text += HexDigits(2, byte);
    }
    return text;
}

struct ManyAtOnce {
    const char* name;
    ManyMessagesHash* hash;
    std::string (*oneAtATime)(MessageBytes);
    std::size_t digestBytes;
};

constexpr ManyAtOnce kHashes[] = {
    {"md5", Md5Messages, engineDigest<HashTypeMD5>, kMd5DigestBytes},
    {"sha1", Sha1Messages, engineDigest<HashTypeSHA1>, kSha1DigestBytes},
    {"sha384", Sha384Messages, engineDigest<HashTypeSHA384>, kSha384DigestBytes},
    {"sha512", Sha512Messages, engineDigest<HashTypeSHA512>, kSha512DigestBytes},
    {"sha512-256", Sha512_256Messages, streamDigest<Sha512_256>, kSha512_256DigestBytes},
    {"blake3", Blake3Messages, streamDigest<Blake3>, kBlake3DigestBytes},
};

std::vector<std::string> manyAtOnceDigests(const ManyAtOnce& hash,
                                           std::span<const MessageBytes> messages) {
    std::vector<std::uint8_t> digests(messages.size() * hash.digestBytes);
    hash.hash(messages, digests.data());
    std::vector<std::string> texts(messages.size());
    for (std::size_t index = 0; index < digests.size(); ++index) {
        texts[index / hash.digestBytes] += HexDigits(2, digests[index]);
    }
    return texts;
}

class MessageLanes : public testing::OnCpuPathTest<testing::CpuPath> {};

// Lengths on either side of one and two tail blocks, of the block edges and of BLAKE3's chunk
// edges, and long messages of several chunks whose lanes keep going while the others take new
// ones; each message starts at another alignment. Every run of consecutive messages, up to as many
// as there are lengths (more than the lanes), is one batch, so each length meets every lane and
// neighbours of every length, then all at once, so that lanes are refilled.
TEST_P(MessageLanes, EachMessageGetsItsOwnDigest) {
    static constexpr std::size_t lengths[] = {
        0,   1,   55,   56,   63,   64,   65,   111,   112,   119, 120, 127,  128,  129, 239,
        240, 256, 1000, 1023, 1024, 1025, 2048, 16384, 16441, 3,   200, 4097, 3073, 5121};
    // Every length comes round: messages take them seven apart.
    static_assert(std::size(lengths) % 7 != 0);
    std::vector<std::uint8_t> source(16441 + 2 * std::size(lengths));
    for (std::size_t index = 0; index < source.size(); ++index) {
        source[index] = static_cast<std::uint8_t>(index % 251);
    }
    std::vector<MessageBytes> messages;
    for (std::size_t index = 0; index < 2 * std::size(lengths); ++index) {
        messages.push_back(
            MessageBytes(source).subspan(index, lengths[(index * 7) % std::size(lengths)]));
    }
    for (const ManyAtOnce& hash : kHashes) {
        std::vector<std::string> expected;
        for (const MessageBytes message : messages) {
            expected.push_back(hash.oneAtATime(message));
        }
        const auto expectBatch = [&](std::size_t first, std::size_t count) {
            const std::vector<std::string> digests = manyAtOnceDigests(
                hash, std::span<const MessageBytes>(messages).subspan(first, count));
            for (std::size_t index = 0; index < count; ++index) {
                ASSERT_EQ(digests[index], expected[first + index])
                    << hash.name << " batch of " << count << " from " << first << ", length "
                    << messages[first + index].size();
            }
        };
        for (std::size_t count = 1; count <= std::size(lengths); ++count) {
            for (std::size_t first = 0; first + count <= messages.size(); ++first) {
                expectBatch(first, count);
            }
        }
        expectBatch(0, messages.size());
    }
}

INSTANTIATE_TEST_SUITE_P(ManyMessages, MessageLanes, ::testing::ValuesIn(testing::CpuPaths()),
                         [](const auto& pathInfo) { return pathInfo.param.name; });

}  // namespace
}  // namespace tolvek::engine
