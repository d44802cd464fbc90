#include "app/hashing/EntryVariants.h"

#include <algorithm>
#include <string_view>

#include "engine/Blake2.h"
#include "engine/Blake3.h"
#include "engine/KangarooTwelve.h"
#include "engine/Keccak.h"
#include "app/hashing/StreamingDigester.h"

namespace tolvek::hashing {

namespace {

// The longest output an extendable-output function gives here: a digest is held in memory.
constexpr std::size_t kMostOutputBytes = std::size_t{1} << 20;

// One computation of a hash copied from a prototype that holds its key and mode, giving `bytes`
// output bytes.
template <class Hash>
class SizedDigester final : public Digester {
public:
    SizedDigester(const Hash& prototype, std::size_t bytes) : m_hash(prototype), m_bytes(bytes) {}

    void update(std::span<const std::uint8_t> bytes) override { UpdateOnEveryCore(m_hash, bytes); }

    DigestOutcome finish() override {
        Digest digest(m_bytes);
        m_hash.finish(std::span<std::uint8_t>(digest));
        return {true, std::move(digest), {}};
    }

private:
    Hash m_hash;
    std::size_t m_bytes;
};

template <class Hash>
class PrototypeProvider final : public Provider {
public:
    PrototypeProvider(Hash prototype, std::size_t bytes)
        : m_prototype(std::move(prototype)), m_bytes(bytes) {}

    std::unique_ptr<Digester> start() const override {
        return std::make_unique<SizedDigester<Hash>>(m_prototype, m_bytes);
    }
    std::size_t digestBytes() const override { return m_bytes; }

private:
    Hash m_prototype;
    std::size_t m_bytes;
};

ParameterisedProvider refused(std::string why) { return {nullptr, std::move(why)}; }

template <class Hash>
ParameterisedProvider provide(Hash prototype, std::size_t bytes) {
    return {std::make_unique<PrototypeProvider<Hash>>(std::move(prototype), bytes), {}};
}

// The output bytes that `bits` asks for, from 1 to `most`, `standard` when it asks nothing;
// nothing for another number of bits.
std::optional<std::size_t> outputBytes(const std::optional<std::size_t>& bits,
                                       std::size_t standard, std::size_t most) {
    if (!bits) {
        return standard;
    }
    if (*bits % 8 != 0 || *bits == 0 || *bits / 8 > most) {
        return std::nullopt;
    }
    return *bits / 8;
}

std::string lengthRule(std::size_t most) {
    return "--length takes a multiple of 8 bits from 8 to " + std::to_string(8 * most);
}

// BLAKE2b, BLAKE2s and their parallel modes: any whole number of bytes up to the full digest, a
// key up to as long.
template <class Hash>
class Blake2Parameters final : public Parameters {
public:
    ParameterisedProvider make(const EntryOptions& options) const override {
        if (options.context) {
            return refused("--derive-key is BLAKE3's; BLAKE2 takes --key-file");
        }
        const std::optional<std::size_t> bytes =
            outputBytes(options.lengthBits, Hash::kDigestSize, Hash::kDigestSize);
        if (!bytes) {
            return refused(lengthRule(Hash::kDigestSize));
        }
        const Bytes key = options.key.value_or(Bytes{});
        if (options.key && (key.empty() || key.size() > Hash::kMaxKeySize)) {
            return refused("its key is 1 to " + std::to_string(Hash::kMaxKeySize) +
                           " bytes; the key file holds " + std::to_string(key.size()));
        }
        return provide(Hash(key, *bytes), *bytes);
    }
};

// BLAKE3: any output length, a 32-byte key or a derivation context.
class Blake3Parameters final : public Parameters {
public:
    ParameterisedProvider make(const EntryOptions& options) const override {
        using engine::Blake3;
        const std::optional<std::size_t> bytes =
            outputBytes(options.lengthBits, Blake3::kDigestSize, kMostOutputBytes);
        if (!bytes) {
            return refused(lengthRule(kMostOutputBytes));
        }
        if (options.key && options.context) {
            return refused("--key-file and --derive-key are two modes; give one");
        }
        if (options.context) {
            return provide(Blake3::DeriveKey(*options.context), *bytes);
        }
        if (!options.key) {
            return provide(Blake3(), *bytes);
        }
        if (options.key->size() != Blake3::kKeySize) {
            return refused("its key is exactly 32 bytes; the key file holds " +
                           std::to_string(options.key->size()));
        }
        return provide(Blake3::Keyed(std::span<const std::uint8_t, Blake3::kKeySize>(
                           options.key->data(), Blake3::kKeySize)),
                       *bytes);
    }
};

// The SHAKEs and KangarooTwelve: any output length, no key.
template <class Hash>
class OutputLengthParameters final : public Parameters {
public:
    ParameterisedProvider make(const EntryOptions& options) const override {
        if (options.key || options.context) {
            return refused("it takes no key");
        }
        const std::optional<std::size_t> bytes =
            outputBytes(options.lengthBits, Hash::kDigestSize, kMostOutputBytes);
        if (!bytes) {
            return refused(lengthRule(kMostOutputBytes));
        }
        return provide(Hash(), *bytes);
    }
};

// RFC 2104: H((K' xor opad) || H((K' xor ipad) || message)), K' the key, or its hash when it is
// longer than a block, padded with zeros to a block.
class HmacDigester final : public Digester {
public:
    HmacDigester(const Provider& hash, std::size_t block, const Bytes& key)
        : m_hash(hash), m_blockKey(block, 0) {
        if (key.size() > block) {
            std::unique_ptr<Digester> keyHash = hash.start();
            keyHash->update(key);
            m_keyOutcome = keyHash->finish();
            std::ranges::copy(m_keyOutcome.digest, m_blockKey.begin());
        } else {
            m_keyOutcome.ok = true;
            std::ranges::copy(key, m_blockKey.begin());
        }
        m_inner = hash.start();
        m_inner->update(padded(0x36));
    }

    void update(std::span<const std::uint8_t> bytes) override { m_inner->update(bytes); }

    DigestOutcome finish() override {
        if (!m_keyOutcome.ok) {
            return m_keyOutcome;
        }
        const DigestOutcome inner = m_inner->finish();
        if (!inner.ok) {
            return inner;
        }
        const std::unique_ptr<Digester> outer = m_hash.start();
        outer->update(padded(0x5C));
        outer->update(inner.digest);
        return outer->finish();
    }

private:
    Bytes padded(std::uint8_t pad) const {
        Bytes bytes = m_blockKey;
        for (std::uint8_t& byte : bytes) {
            byte ^= pad;
        }
        return bytes;
    }

    const Provider& m_hash;
    Bytes m_blockKey;
    DigestOutcome m_keyOutcome;
    std::unique_ptr<Digester> m_inner;
};

class HmacProvider final : public Provider {
public:
    HmacProvider(const Provider& hash, std::size_t block, Bytes key)
        : m_hash(hash), m_block(block), m_key(std::move(key)) {}

    std::unique_ptr<Digester> start() const override {
        return std::make_unique<HmacDigester>(m_hash, m_block, m_key);
    }
    std::size_t digestBytes() const override { return m_hash.digestBytes(); }

private:
    const Provider& m_hash;
    std::size_t m_block;
    Bytes m_key;
};

// The ids of the entries that take parameters, for the message to an entry that does not.
std::string idsWithParameters() {
    std::string ids;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        if (entry.parameters != nullptr) {
            ids.append(ids.empty() ? "" : ", ").append(entry.id);
        }
    }
    return ids;
}

}  // namespace

template <class Hash>
const Parameters& ParametersOf() {
    if constexpr (std::is_same_v<Hash, engine::Blake3>) {
        static const Blake3Parameters parameters;
        return parameters;
    } else if constexpr (std::is_same_v<Hash, engine::Blake2b> ||
                         std::is_same_v<Hash, engine::Blake2s> ||
                         std::is_same_v<Hash, engine::Blake2bp> ||
                         std::is_same_v<Hash, engine::Blake2sp>) {
        static const Blake2Parameters<Hash> parameters;
        return parameters;
    } else {
        static const OutputLengthParameters<Hash> parameters;
        return parameters;
    }
}

template const Parameters& ParametersOf<engine::Blake2b>();
template const Parameters& ParametersOf<engine::Blake2s>();
template const Parameters& ParametersOf<engine::Blake2bp>();
template const Parameters& ParametersOf<engine::Blake2sp>();
template const Parameters& ParametersOf<engine::Blake3>();
template const Parameters& ParametersOf<engine::Shake128>();
template const Parameters& ParametersOf<engine::Shake256>();
template const Parameters& ParametersOf<engine::KangarooTwelve>();

VariantOutcome MakeVariant(const AlgorithmEntry& entry, const EntryOptions& options) {
    auto variant = std::make_unique<EntryVariant>();
    const auto refuse = [&entry](std::string_view why) {
        return VariantOutcome{nullptr, std::string(entry.id).append(": ").append(why)};
    };
    const Provider* hash = &entry.fileRoute;
    variant->tag = TagOf(entry);
    if (options.lengthBits || options.key || options.context) {
        if (entry.parameters == nullptr) {
            return refuse("its length is fixed and it takes no key; --length, --key-file and "
                          "--derive-key are for " + idsWithParameters());
        }
        ParameterisedProvider made = entry.parameters->make(options);
        if (!made.provider) {
            return refuse(made.refusal);
        }
        variant->parameterised = std::move(made.provider);
        hash = variant->parameterised.get();
        if (options.lengthBits) {
            variant->tag.append("-").append(std::to_string(*options.lengthBits));
        }
    }
    if (options.hmacKey) {
        if (entry.hmacBlock == 0) {
            return refuse("HMAC needs a hash that works in blocks, and this is not one");
        }
        variant->hmac = std::make_unique<HmacProvider>(*hash, entry.hmacBlock, *options.hmacKey);
        hash = variant->hmac.get();
        variant->tag.insert(0, "HMAC-");
    }
    EntryFacts facts = entry;
    facts.tag = variant->tag;
    // Many messages at once give the algorithm's plain digests, not the variant's.
    facts.manyMessages = nullptr;
    variant->entry.emplace(AlgorithmEntry{facts, entry.id, entry.caption, entry.description, *hash,
                                          *hash, entry.shownAs});
    return {std::move(variant), {}};
}

}  // namespace tolvek::hashing
