#include "app/core/FrameworkProvider.h"

#include <algorithm>
#include <istream>
#include <limits>

#include "app/core/AsciiText.h"
#include "engine/HashEngine.h"

namespace tolvek::app {

namespace {

constexpr std::size_t kStreamChunk = 256 * 1024;

DigestOutcome engineMessage(engine::HashResult code) {
    std::string message;
    engine::HashErrorText(code, message);
    return {false, std::move(message)};
}

// Runs `hashing`, which gives the TFormat_HEX digest; every failure becomes its message.
template <class Hashing>
DigestOutcome outcomeOf(Hashing hashing) {
    try {
        return {true, AsciiLower(hashing())};
    } catch (const framework::EFileOpenError&) {
        return engineMessage(engine::kHashOpenFailed);
    } catch (const framework::EStreamReadError&) {
        return engineMessage(engine::kHashReadFailed);
    } catch (const framework::EDigestException& error) {
        return {false, error.what()};
    }
}

// Feeds `size` bytes in pieces a single HashData call takes.
void absorb(framework::TDigestHash& hash, const char* bytes, std::size_t size) {
    constexpr auto kMostPerCall =
        static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    while (size > 0) {
        const std::size_t count = std::min(size, kMostPerCall);
        hash.HashData(bytes, static_cast<std::int32_t>(count));
        bytes += count;
        size -= count;
    }
}

}  // namespace

DigestOutcome FrameworkProvider::hashFile(const std::string& fileName) const {
    return outcomeOf([&] {
        return m_hashClass->HashFile(fileName, framework::ClassOf<framework::TFormat_HEX>, nullptr);
    });
}

DigestOutcome FrameworkProvider::hashText(const std::string& text) const {
    return outcomeOf([&] {
        const std::unique_ptr<framework::TDigestHash> hash = m_hashClass->Create();
        hash->BeginHash();
        absorb(*hash, text.data(), text.size());
        hash->EndHash();
        return hash->DigestText(framework::ClassOf<framework::TFormat_HEX>);
    });
}

DigestOutcome FrameworkProvider::hashStream(std::istream& input) const {
    return outcomeOf([&] {
        const std::unique_ptr<framework::TDigestHash> hash = m_hashClass->Create();
        hash->BeginHash();
        std::string chunk(kStreamChunk, '\0');
        while (input) {
            input.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            absorb(*hash, chunk.data(), static_cast<std::size_t>(input.gcount()));
        }
        if (input.bad()) {
            throw framework::EStreamReadError("Stream read error");
        }
        hash->EndHash();
        return hash->DigestText(framework::ClassOf<framework::TFormat_HEX>);
    });
}

}  // namespace tolvek::app
