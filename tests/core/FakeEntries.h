// Thirty list entries over fake providers, so the main window's routing is tested apart from
// the algorithms.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "app/core/AlgorithmTable.h"

namespace tolvek::app::testing {

// Answers every request with `answer` and records what it was asked to hash.
class FakeProvider final : public Provider {
public:
    DigestOutcome hashFile(const std::string& fileName) const override;
    DigestOutcome hashText(const std::string& text) const override;
    DigestOutcome hashStream(std::istream& input) const override;

    DigestOutcome answer;
    mutable std::vector<std::string> requests;
};

class FakeEntries {
public:
    static constexpr int kCount = 30;

    // Entry p answers files with "file<p>" and strings with "text<p>".
    FakeEntries();
    FakeEntries(const FakeEntries&) = delete;
    FakeEntries& operator=(const FakeEntries&) = delete;

    std::span<const AlgorithmEntry> table() const { return m_entries; }
    FakeProvider& fileRoute(int position) { return m_fileRoutes.at(index(position)); }
    FakeProvider& stringRoute(int position) { return m_stringRoutes.at(index(position)); }

private:
    static std::size_t index(int position) { return static_cast<std::size_t>(position); }

    std::array<FakeProvider, kCount> m_fileRoutes;
    std::array<FakeProvider, kCount> m_stringRoutes;
    std::array<std::string, kCount> m_captions;
    std::vector<AlgorithmEntry> m_entries;
};

}  // namespace tolvek::app::testing
