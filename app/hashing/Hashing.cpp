#include "app/hashing/Hashing.h"

#include <istream>
#include <memory>

#include "engine/HashEngine.h"
#include "platform/ReadBuffer.h"

namespace tolvek::hashing {

namespace {

std::vector<std::unique_ptr<Digester>> startAll(std::span<const Provider* const> providers) {
    std::vector<std::unique_ptr<Digester>> digesters;
    digesters.reserve(providers.size());
    for (const Provider* provider : providers) {
        digesters.push_back(provider->start());
    }
    return digesters;
}

std::vector<DigestOutcome> finishAll(std::span<const std::unique_ptr<Digester>> digesters) {
    std::vector<DigestOutcome> outcomes;
    outcomes.reserve(digesters.size());
    for (const std::unique_ptr<Digester>& digester : digesters) {
        outcomes.push_back(digester->finish());
    }
    return outcomes;
}

// Each provider's digest: the one the content keeps, else its digester's.
std::vector<DigestOutcome> finishAll(const FileContent& content,
                                     std::span<const Provider* const> providers,
                                     std::span<const std::unique_ptr<Digester>> digesters) {
    std::vector<DigestOutcome> outcomes;
    outcomes.reserve(digesters.size());
    for (std::size_t index = 0; index < providers.size(); ++index) {
        const Digest* kept = content.keptDigest(*providers[index]);
        outcomes.push_back(kept != nullptr ? DigestOutcome{true, *kept, {}}
                                           : digesters[index]->finish());
    }
    return outcomes;
}

// The same failure for every provider, with the engine's message for `code`.
std::vector<DigestOutcome> failedAll(std::size_t count, engine::HashResult code) {
    return std::vector<DigestOutcome>(count, DigestOutcome{false, {}, EngineMessage(code)});
}

}  // namespace

FileDigests HashFileWith(const std::string& fileName, std::span<const Provider* const> providers,
                         const ReadControl& control) {
    FileContent content = FileContent::Open(fileName, control);
    return HashContentWith(content, providers, control);
}

FileDigests HashContentWith(FileContent& content, std::span<const Provider* const> providers,
                            const ReadControl& control) {
    // A provider whose digest the content keeps gets no digester and no bytes.
    std::vector<std::unique_ptr<Digester>> digesters(providers.size());
    std::vector<Digester*> targets;
    for (std::size_t index = 0; index < providers.size(); ++index) {
        if (content.keptDigest(*providers[index]) == nullptr) {
            digesters[index] = providers[index]->start();
            targets.push_back(digesters[index].get());
        }
    }
    switch (content.feed(targets, control)) {
        case ReadStatus::Complete:
            return {false, finishAll(content, providers, digesters)};
        case ReadStatus::OpenFailed:
            return {false, failedAll(providers.size(), engine::kHashOpenFailed),
                    content.systemError()};
        case ReadStatus::ReadFailed:
            return {false, failedAll(providers.size(), engine::kHashReadFailed),
                    content.systemError()};
        case ReadStatus::Cancelled:
            break;
    }
    return {true, {}};
}

std::string EngineMessage(engine::HashResult code) {
    std::string message;
    engine::HashErrorText(code, message);
    return message;
}

DigestOutcome HashFile(const Provider& provider, const std::string& fileName) {
    const Provider* const providers[] = {&provider};
    return HashFileWith(fileName, providers).outcomes.front();
}

DigestOutcome HashText(const Provider& provider, std::string_view text) {
    const std::unique_ptr<Digester> digester = provider.start();
    digester->expectSize(text.size());
    digester->update({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    return digester->finish();
}

std::vector<DigestOutcome> HashStreamWith(std::istream& input,
                                          std::span<const Provider* const> providers) {
    const std::vector<std::unique_ptr<Digester>> digesters = startAll(providers);
    const platform::ReadBuffer buffer(kReadChunk);
    while (input) {
        input.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(kReadChunk));
        const auto bytes = buffer.bytes().first(static_cast<std::size_t>(input.gcount()));
        for (const std::unique_ptr<Digester>& digester : digesters) {
            digester->update(bytes);
        }
    }
    if (input.bad()) {
        return failedAll(providers.size(), engine::kHashReadFailed);
    }
    return finishAll(digesters);
}

}  // namespace tolvek::hashing
