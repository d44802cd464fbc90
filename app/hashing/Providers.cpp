#include "app/hashing/Providers.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"

namespace tolvek::hashing {

namespace {

DigestOutcome engineFailure(engine::HashResult code) {
    return {false, {}, EngineMessage(code)};
}

// The digest size of each hash type, 257 first, in bits (the engine's table of types).
constexpr std::array<std::size_t, engine::kHashTypeCount> kEngineDigestBits = {
    128, 128, 128, 32, 32, 32, 256, 128, 160, 192, 224, 256,
    160, 256, 384, 512, 128, 160, 192, 128, 160,
};

// Hands `bytes` to `absorb` in pieces no longer than `longest`, the most one call of the
// underlying interface takes.
template <class Absorb>
void inPieces(std::span<const std::uint8_t> bytes, std::size_t longest, Absorb absorb) {
    while (!bytes.empty()) {
        const std::size_t count = std::min(bytes.size(), longest);
        absorb(bytes.first(count));
        bytes = bytes.subspan(count);
    }
}

class EngineDigester final : public Digester {
public:
    explicit EngineDigester(engine::HashType type) : m_result(engine::HashInit(&m_context, type)) {}

    ~EngineDigester() override {
        // HashFinal is what releases the state block of an unfinished computation.
        if (m_context.AlgorithmState != nullptr) {
            std::string unused;
            engine::HashFinal(&m_context, unused);
        }
    }

    void update(std::span<const std::uint8_t> bytes) override {
        constexpr std::size_t kLongestUpdate = std::size_t{1} << 31;
        inPieces(bytes, kLongestUpdate, [&](std::span<const std::uint8_t> piece) {
            if (m_result == engine::kHashOk) {
                m_result = static_cast<engine::HashResult>(engine::HashUpdate(
                    &m_context, piece.data(), static_cast<std::uint32_t>(piece.size())));
            }
        });
    }

    DigestOutcome finish() override {
        if (m_result != engine::kHashOk) {
            return engineFailure(m_result);
        }
        std::string text;
        if (const engine::HashResult code = engine::HashFinal(&m_context, text);
            code != engine::kHashOk) {
            return engineFailure(code);
        }
        // Every digest leaves the engine as hex text.
        return {true, ReadHex(text).value_or(Digest{}), {}};
    }

private:
    engine::HashContext m_context;
    engine::HashResult m_result;
};

class FrameworkDigester final : public Digester {
public:
    explicit FrameworkDigester(framework::HashClassRef hashClass) {
        guarded([&] {
            m_hash = hashClass->Create();
            m_hash->BeginHash();
        });
    }

    void update(std::span<const std::uint8_t> bytes) override {
        constexpr auto kLongestHashData =
            static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
        inPieces(bytes, kLongestHashData, [&](std::span<const std::uint8_t> piece) {
            guarded([&] {
                m_hash->HashData(piece.data(), static_cast<std::int32_t>(piece.size()));
            });
        });
    }

    DigestOutcome finish() override {
        guarded([&] { m_hash->EndHash(); });
        if (m_failure) {
            return {false, {}, std::move(*m_failure)};
        }
        const std::uint8_t* bytes = m_hash->DigestBytes();
        return {true, Digest(bytes, bytes + m_hash->DigestLength()), {}};
    }

private:
    // Runs `step` unless an earlier one failed; a failure's message is what finish() gives.
    template <class Step>
    void guarded(Step step) {
        if (m_failure) {
            return;
        }
        try {
            step();
        } catch (const framework::EDigestException& error) {
            m_failure = error.what();
        }
    }

    std::unique_ptr<framework::TDigestHash> m_hash;
    std::optional<std::string> m_failure;
};

std::size_t checksumBytes(engine::FileChecksum kind) {
    return kind == engine::FileChecksum::Crc32 ? 4 : 2;
}

class ChecksumDigester final : public Digester, public PieceHashing {
public:
    explicit ChecksumDigester(engine::FileChecksum kind) : m_run(kind), m_bytes(checksumBytes(kind)) {}

    void update(std::span<const std::uint8_t> bytes) override { m_run.update(bytes); }
    PieceHashing* pieces() override { return m_run.joinsPieces() ? this : nullptr; }
    std::uint64_t hashPiece(std::span<const std::uint8_t> bytes) const override {
        return m_run.piece(bytes);
    }
    void joinPiece(std::uint64_t value, std::uint64_t length) override {
        m_run.join(static_cast<std::uint32_t>(value), length);
    }
    DigestOutcome finish() override {
        Digest digest(m_bytes);
        std::uint32_t value = m_run.value();
        for (auto byte = digest.rbegin(); byte != digest.rend(); ++byte, value >>= 8) {
            *byte = static_cast<std::uint8_t>(value);
        }
        return {true, std::move(digest), {}};
    }

private:
    engine::ChecksumRun m_run;
    std::size_t m_bytes;
};

// A blob id of the object format `Blob`, from the length told first or the content held.
template <class Blob>
class GitBlobDigester final : public Digester {
public:
    void expectSize(std::uint64_t bytes) override { m_blob.emplace(bytes); }

    void update(std::span<const std::uint8_t> bytes) override {
        if (m_blob) {
            m_blob->update(bytes);
        } else if (m_held.size() + bytes.size() <= GitBlobProvider::kMostHeldBytes) {
            m_held.insert(m_held.end(), bytes.begin(), bytes.end());
        } else {
            m_tooLong = true;
        }
    }

    DigestOutcome finish() override {
        if (m_tooLong) {
            return {false, {}, "a git blob id needs the length first: name a file instead"};
        }
        if (!m_blob) {
            m_blob.emplace(m_held.size());
            m_blob->update(m_held);
        }
        Digest digest(Blob::kDigestSize);
        if (!m_blob->finish(std::span<std::uint8_t, Blob::kDigestSize>(digest))) {
            return engineFailure(engine::kHashReadFailed);
        }
        return {true, std::move(digest), {}};
    }

private:
    std::optional<Blob> m_blob;
    std::vector<std::uint8_t> m_held;
    bool m_tooLong = false;
};

}  // namespace

std::unique_ptr<Digester> GitBlobProvider::start() const {
    if (m_format == Format::Sha1) {
        return std::make_unique<GitBlobDigester<engine::GitBlobSha1>>();
    }
    return std::make_unique<GitBlobDigester<engine::GitBlobSha256>>();
}

std::size_t GitBlobProvider::digestBytes() const {
    return m_format == Format::Sha1 ? engine::GitBlobSha1::kDigestSize
                                    : engine::GitBlobSha256::kDigestSize;
}

std::unique_ptr<Digester> EngineProvider::start() const {
    return std::make_unique<EngineDigester>(m_type);
}

std::size_t EngineProvider::digestBytes() const {
    return kEngineDigestBits[m_type - engine::kFirstHashType] / 8;
}

std::unique_ptr<Digester> FrameworkProvider::start() const {
    return std::make_unique<FrameworkDigester>(m_hashClass);
}

std::size_t FrameworkProvider::digestBytes() const {
    return static_cast<std::size_t>(m_hashClass->DigestLength());
}

std::unique_ptr<Digester> ChecksumProvider::start() const {
    return std::make_unique<ChecksumDigester>(m_kind);
}

std::size_t ChecksumProvider::digestBytes() const {
    return checksumBytes(m_kind);
}

}  // namespace tolvek::hashing
