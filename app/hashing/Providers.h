// The four kinds of provider behind the list entries: the hash engine's context for one hash
// type, a class of the class hash framework, a whole-file checksum register, and one of the
// engine's streaming hashes.
#pragma once

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/StreamingDigester.h"
#include "engine/CRC_.h"
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
        return std::make_unique<StreamingDigester<Hash>>();
    }
    std::size_t digestBytes() const override { return Hash::kDigestSize; }
    std::optional<KnownAnswer> knownAnswer() const override {
        return KnownAnswer{Hash::kKnownInput, Hash::kKnownDigest};
    }
};

}  // namespace tolvek::hashing
