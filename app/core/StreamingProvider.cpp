#include "app/core/StreamingProvider.h"

#include <istream>
#include <vector>

#include "engine/HashEngine.h"
#include "platform/ReadOnlyFile.h"

namespace tolvek::app {

namespace {

constexpr std::size_t kChunk = 1024 * 1024;

DigestOutcome failure(engine::HashResult code) {
    std::string message;
    engine::HashErrorText(code, message);
    return {false, std::move(message)};
}

std::span<const std::uint8_t> bytesOf(const char* data, std::size_t size) {
    return {reinterpret_cast<const std::uint8_t*>(data), size};
}

}  // namespace

DigestOutcome DigestFile(const std::string& fileName, digest::Digester& digester) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(fileName);
    if (!file) {
        return failure(engine::kHashOpenFailed);
    }
    const std::optional<std::int64_t> size = file->size();
    if (!size) {
        return failure(engine::kHashOpenFailed);
    }
    // A size of 0 (files under /proc and /sys) means: read to the end.
    const bool toEnd = *size == 0;
    std::uint64_t remaining = static_cast<std::uint64_t>(*size);
    std::vector<std::uint8_t> buffer(kChunk);
    while (toEnd || remaining > 0) {
        const std::size_t wanted = toEnd ? kChunk : static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kChunk));
        const std::optional<std::size_t> count = file->read({buffer.data(), wanted});
        if (!count) {
            return failure(engine::kHashReadFailed);
        }
        if (*count == 0) {
            if (toEnd) {
                break;
            }
            return failure(engine::kHashReadFailed);
        }
        digester.update({buffer.data(), *count});
        remaining -= toEnd ? 0 : *count;
    }
    return digester.finish();
}

DigestOutcome DigestStream(std::istream& input, digest::Digester& digester) {
    std::vector<char> buffer(kChunk);
    while (input) {
        input.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        digester.update(bytesOf(buffer.data(), static_cast<std::size_t>(input.gcount())));
    }
    if (input.bad()) {
        return failure(engine::kHashReadFailed);
    }
    return digester.finish();
}

DigestOutcome DigestText(const std::string& text, digest::Digester& digester) {
    digester.update(bytesOf(text.data(), text.size()));
    return digester.finish();
}

}  // namespace tolvek::app
