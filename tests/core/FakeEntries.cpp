#include "tests/core/FakeEntries.h"

#include <gtest/gtest.h>

namespace tolvek::app::testing {

DigestOutcome FakeProvider::hashFile(const std::string& fileName) const {
    requests.push_back(fileName);
    return answer;
}

DigestOutcome FakeProvider::hashText(const std::string& text) const {
    requests.push_back(text);
    return answer;
}

DigestOutcome FakeProvider::hashStream(std::istream&) const {
    ADD_FAILURE() << "the main window never hashes a stream";
    return answer;
}

FakeEntries::FakeEntries() {
    for (int position = 0; position < kCount; ++position) {
        const std::size_t slot = index(position);
        m_captions[slot] = "Entry" + std::to_string(position);
        m_fileRoutes[slot].answer = {true, "file" + std::to_string(position)};
        m_stringRoutes[slot].answer = {true, "text" + std::to_string(position)};
        m_entries.push_back({m_captions[slot], m_captions[slot], "", position, m_fileRoutes[slot],
                             m_stringRoutes[slot]});
    }
}

}  // namespace tolvek::app::testing
