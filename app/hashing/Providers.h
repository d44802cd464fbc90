// The kinds of provider behind the list entries: the hash engine's context for one hash type, a
// class of the class hash framework, a whole-file checksum register, one of the engine's
// streaming hashes, such a checksum with the message's length beside it, and a git blob id.
#pragma once

#include <string>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/StreamingDigester.h"
#include "engine/CRC_.h"
#include "engine/CompositeHashes.h"
#include "engine/HashEngine.h"
#include "framework/DigestHash.h"

namespace tolvek::hashing {

// HashInit / HashUpdate / HashFinal for one hash type, with the type's default passes; the
// engine's digest text is read back into bytes.
class EngineProvider final : public Provider {
public:
    explicit constexpr EngineProvider(engine::HashType type) : m_type(type) {}

    std::unique_ptr<Digester> start() const override;
    std::size_t digestBytes() const override;

private:
    engine::HashType m_type;
};

// An object of the class, used with its defaults: BeginHash, HashData and EndHash, and the
// digest's bytes. The framework's own failures give their message.
class FrameworkProvider final : public Provider {
public:
    explicit constexpr FrameworkProvider(framework::HashClassRef hashClass,
                                         std::optional<KnownAnswer> knownAnswer = std::nullopt)
        : m_hashClass(hashClass), m_knownAnswer(knownAnswer) {}

    // The provider of `Class`, with the known answer the class carries, if it has one.
    template <class Class>
    static constexpr FrameworkProvider of() {
        if constexpr (requires { Class::kKnownDigest; }) {
            return FrameworkProvider(framework::ClassOf<Class>,
                                     KnownAnswer{Class::kKnownInput, Class::kKnownDigest});
        } else {
            return FrameworkProvider(framework::ClassOf<Class>);
        }
    }

    std::unique_ptr<Digester> start() const override;
    std::size_t digestBytes() const override;
    std::optional<KnownAnswer> knownAnswer() const override { return m_knownAnswer; }

private:
    framework::HashClassRef m_hashClass;
    std::optional<KnownAnswer> m_knownAnswer;
};

// A whole-file checksum register, its value as a big-endian number of the register's width: 0
// for no bytes.
class ChecksumProvider final : public Provider {
public:
    explicit constexpr ChecksumProvider(engine::FileChecksum kind) : m_kind(kind) {}

    std::unique_ptr<Digester> start() const override;
    std::size_t digestBytes() const override;

private:
    engine::FileChecksum m_kind;
};

template <engine::StreamingHash Hash>
class StreamingProvider final : public Provider {
public:
    std::unique_ptr<Digester> start() const override {
        return StartStreaming<Hash>();
    }
    std::size_t digestBytes() const override { return Hash::kDigestSize; }
    std::optional<KnownAnswer> knownAnswer() const override {
        return KnownAnswer{Hash::kKnownInput, Hash::kKnownDigest};
    }
};

// A checksum that its tool prints beside the message's length (cksum, sum): the digest is the
// checksum's bytes and then the length, 8 bytes big-endian, so that both are compared.
template <engine::StreamingHash Hash>
class WithLengthProvider final : public Provider {
public:
    static constexpr std::size_t kLengthBytes = 8;

    WithLengthProvider()
        : m_knownDigest(std::string(Hash::kKnownDigest) +
                        HexText(LengthBytes(Hash::kKnownInput.size()))) {}

    std::unique_ptr<Digester> start() const override { return std::make_unique<Counting>(); }
    std::size_t digestBytes() const override { return Hash::kDigestSize + kLengthBytes; }
    std::optional<KnownAnswer> knownAnswer() const override {
        return KnownAnswer{Hash::kKnownInput, m_knownDigest};
    }

private:
    class Counting final : public Digester {
    public:
        void update(std::span<const std::uint8_t> bytes) override {
            m_hash.update(bytes);
            m_length += bytes.size();
        }
        DigestOutcome finish() override {
            Digest digest(Hash::kDigestSize);
            m_hash.finish(std::span<std::uint8_t, Hash::kDigestSize>(digest));
            const auto length = LengthBytes(m_length);
            digest.insert(digest.end(), length.begin(), length.end());
            return {true, std::move(digest), {}};
        }

    private:
        Hash m_hash;
        std::uint64_t m_length = 0;
    };

    static std::array<std::uint8_t, kLengthBytes> LengthBytes(std::uint64_t length) {
        std::array<std::uint8_t, kLengthBytes> bytes;
        for (std::size_t index = 0; index < kLengthBytes; ++index) {
            bytes[kLengthBytes - 1 - index] = static_cast<std::uint8_t>(length >> (8 * index));
        }
        return bytes;
    }

    std::string m_knownDigest;
};

// Git's blob ids in the SHA-1 and SHA-256 object formats. The id hashes the content's length
// before the content, so a route that cannot tell the length first (standard input, a file
// whose size reads 0) has the content held in memory, up to kMostHeldBytes.
class GitBlobProvider final : public Provider {
public:
    enum class Format { Sha1, Sha256 };
    static constexpr std::size_t kMostHeldBytes = std::size_t{64} << 20;

    explicit constexpr GitBlobProvider(Format format) : m_format(format) {}

    std::unique_ptr<Digester> start() const override;
    std::size_t digestBytes() const override;
    // git hash-object of "abc", in either object format.
    std::optional<KnownAnswer> knownAnswer() const override {
        return KnownAnswer{"abc", m_format == Format::Sha1
                                      ? "f2ba8f84ab5c1bce84a7b441cb1959cfc7093b7f"
                                      : "c1cf6e465077930e88dc5136641d402f72a229ddd996f627d60e9639eaba35a6"};
    }

private:
    Format m_format;
};

}  // namespace tolvek::hashing
