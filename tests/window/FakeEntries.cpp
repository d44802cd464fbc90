#include "tests/window/FakeEntries.h"

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

bool showsFailedFileAsEmptyText(int position) {
    return position >= 18 && position <= 20;
}

}  // namespace

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
        m_fileRoutes[slot].answer = {true, "file" + std::to_string(position)};
        m_stringRoutes[slot].answer = {true, "text" + std::to_string(position)};
        m_entries.push_back({m_captions[slot], m_captions[slot], "", m_fileRoutes[slot],
                             m_stringRoutes[slot],
                             showsFailedFileAsEmptyText(position)
                                 ? hashing::FileFailureShown::EmptyText
                                 : hashing::FileFailureShown::Message});
    }
}

}  // namespace tolvek::window::testing
