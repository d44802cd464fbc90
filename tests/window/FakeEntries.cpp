#include "tests/window/FakeEntries.h"

#include "app/hashing/DigestText.h"

namespace tolvek::window::testing {

namespace {

class FakeDigester final : public hashing::Digester {
public:
    explicit FakeDigester(const FakeProvider& provider) : m_provider(provider) {}

    void update(std::span<const std::uint8_t> bytes) override {
        m_bytes.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    DigestOutcome finish() override {
        m_provider.record(std::move(m_bytes));
        return m_provider.answer;
    }

private:
    const FakeProvider& m_provider;
    std::string m_bytes;
};

bool shownAsNumber(int position) {
    return position >= 18 && position <= 20;
}

std::string positionHex(int position) {
    return hashing::HexText(hashing::Digest{static_cast<std::uint8_t>(position)});
}

}  // namespace

DigestOutcome Answer(std::string_view hex) {
    return {true, *hashing::ReadHex(hex), {}};
}

DigestOutcome Failure(std::string message) {
    return {false, {}, std::move(message)};
}

std::string FileDigest(int position) {
    return "f11e" + positionHex(position);
}

std::string TextDigest(int position) {
    return "7e47" + positionHex(position);
}

std::unique_ptr<hashing::Digester> FakeProvider::start() const {
    return std::make_unique<FakeDigester>(*this);
}

std::vector<std::string> FakeProvider::requests() const {
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

void FakeProvider::record(std::string bytes) const {
    const std::lock_guard lock(m_mutex);
    m_requests.push_back(std::move(bytes));
}

FakeEntries::FakeEntries() {
    for (int position = 0; position < kCount; ++position) {
        const std::size_t slot = index(position);
        m_captions[slot] = "Entry" + std::to_string(position);
        m_fileRoutes[slot].answer = Answer(FileDigest(position));
        m_stringRoutes[slot].answer = Answer(TextDigest(position));
        m_entries.push_back({{.isDefault = position == 3}, m_captions[slot], m_captions[slot], "",
                             m_fileRoutes[slot], m_stringRoutes[slot],
                             shownAsNumber(position) ? hashing::ShownAs::Number
                                                     : hashing::ShownAs::Hex});
    }
}

}  // namespace tolvek::window::testing
