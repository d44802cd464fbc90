#include "engine/MessageLanes.h"

#include <algorithm>

#include "engine/Backends.h"
#include "engine/Blake3.h"
#include "engine/EngineUtils.h"
#include "engine/MD.h"
#include "engine/SHA.h"
#include "engine/ShaBuffering.h"
#include "engine/ShaConstants.h"

namespace tolvek::engine {

void Md5MessagesPortable(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    for (const MessageBytes message : messages) {
        MdContext context;
        MdInit(context);
        // MdUpdate counts in 32 bits.
        constexpr std::size_t kLongestUpdate = std::size_t{1} << 30;
        for (std::size_t done = 0; done < message.size(); done += kLongestUpdate) {
            const std::size_t count = std::min(kLongestUpdate, message.size() - done);
            MdUpdate(context, message.data() + done, static_cast<std::uint32_t>(count),
                     Md5Transform);
        }
        MdPad(context, Md5Transform);
        for (const std::uint32_t word : context.State) {
            StoreLe32(digests, word);
            digests += 4;
        }
    }
}

void Sha1MessagesPortable(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    for (const MessageBytes message : messages) {
        Sha1Stream stream;
        stream.update(message);
        stream.finish(std::span<std::uint8_t, kSha1DigestBytes>(digests, kSha1DigestBytes));
        digests += kSha1DigestBytes;
    }
}

namespace {

template <std::size_t DigestBytes>
void Sha512FamilyOneByOne(std::span<const MessageBytes> messages, std::uint8_t* digests,
                          const Sha64State& initialValues) {
    for (const MessageBytes message : messages) {
        Sha512Context context;
        sha::Start(context, initialValues);
        sha::Absorb(context, message.data(), static_cast<std::int64_t>(message.size()),
                    Sha512Compress);
        sha::Pad(context, Sha512Compress);
        sha::StoreLeadingBytes(context.State, std::span<std::uint8_t>(digests, DigestBytes));
        digests += DigestBytes;
    }
}

}  // namespace

void Sha384MessagesPortable(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    Sha512FamilyOneByOne<kSha384DigestBytes>(messages, digests, kSha384InitialValues);
}

void Sha512MessagesPortable(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    Sha512FamilyOneByOne<kSha512DigestBytes>(messages, digests, kSha512InitialValues);
}

void Sha512_256MessagesPortable(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    Sha512FamilyOneByOne<kSha512_256DigestBytes>(messages, digests, kSha512_256InitialValues);
}

void Blake3MessagesPortable(std::span<const MessageBytes> messages, std::uint8_t* digests) {
    for (const MessageBytes message : messages) {
        Blake3 stream;
        stream.update(message);
        stream.finish(std::span<std::uint8_t>(digests, kBlake3DigestBytes));
        digests += kBlake3DigestBytes;
    }
}

}  // namespace tolvek::engine
