#include "app/core/ChecksumProvider.h"

#include <array>
#include <charconv>
#include <memory>

namespace tolvek::app {

namespace {

std::string hexNumber(std::uint32_t value) {
    std::array<char, 8> digits;
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16).ptr;
    return {digits.data(), end};
}

DigestOutcome failure(engine::HashResult code) {
    std::string message;
    engine::HashErrorText(code, message);
    return {false, std::move(message)};
}

constexpr std::size_t kStreamChunk = 256 * 1024;

}  // namespace

DigestOutcome ChecksumProvider::hashFile(const std::string& fileName) const {
    std::uint32_t value = 0;  // an empty file leaves it: its checksum is 0
    const engine::HashResult code = engine::ChecksumFile(m_kind, fileName, value);
    if (code != engine::kHashOk) {
        return failure(code);
    }
    return {true, hexNumber(value)};
}

DigestOutcome ChecksumProvider::hashText(const std::string& text) const {
    engine::ChecksumRun run(m_kind);
    run.update({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    return {true, hexNumber(run.value())};
}

DigestOutcome ChecksumProvider::hashStream(std::istream& input) const {
    engine::ChecksumRun run(m_kind);
    const auto buffer = std::make_unique_for_overwrite<char[]>(kStreamChunk);
    while (input) {
        input.read(buffer.get(), kStreamChunk);
        run.update({reinterpret_cast<const std::uint8_t*>(buffer.get()),
                    static_cast<std::size_t>(input.gcount())});
    }
    if (input.bad()) {
        return failure(engine::kHashReadFailed);
    }
    return {true, hexNumber(run.value())};
}

}  // namespace tolvek::app
