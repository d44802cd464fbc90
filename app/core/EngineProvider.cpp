#include "app/core/EngineProvider.h"

#include <memory>

namespace tolvek::app {

namespace {

DigestOutcome outcomeOf(std::int64_t code, std::string digest) {
    if (code == engine::kHashOk) {
        return {true, std::move(digest)};
    }
    std::string message;
    engine::HashErrorText(static_cast<engine::HashResult>(code), message);
    return {false, std::move(message)};
}

constexpr std::size_t kStreamChunk = 256 * 1024;

}  // namespace

DigestOutcome EngineProvider::hashFile(const std::string& fileName) const {
    std::string digest;
    const std::int64_t code = engine::HashFileByName(m_type, fileName, digest);
    return outcomeOf(code, std::move(digest));
}

DigestOutcome EngineProvider::hashText(const std::string& text) const {
    std::string digest;
    const engine::HashResult code = engine::HashString(m_type, text, digest);
    return outcomeOf(code, std::move(digest));
}

DigestOutcome EngineProvider::hashStream(std::istream& input) const {
    engine::HashContext context;
    if (const engine::HashResult code = engine::HashInit(&context, m_type); code != engine::kHashOk) {
        return outcomeOf(code, {});
    }
    const auto buffer = std::make_unique_for_overwrite<char[]>(kStreamChunk);
    while (input) {
        input.read(buffer.get(), kStreamChunk);
        engine::HashUpdate(&context, buffer.get(), static_cast<std::uint32_t>(input.gcount()));
    }
    std::string digest;
    const engine::HashResult code = engine::HashFinal(&context, digest);
    if (input.bad()) {
        return outcomeOf(engine::kHashReadFailed, {});
    }
    return outcomeOf(code, std::move(digest));
}

}  // namespace tolvek::app
