// Thirty list entries over fake providers, so the main window's routing is tested apart from
// the algorithms.
#pragma once

#include <array>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::window::testing {

using hashing::AlgorithmEntry;
using hashing::DigestOutcome;

// A digest answer from its hex text, and a failure with its message.
DigestOutcome Answer(std::string_view hex);
DigestOutcome Failure(std::string message);

// What DigestField shows for entry p's file route: "f11e" and p in two hex digits ("f11e03"),
// and for its string route: "7e47" and p ("7e4703").
std::string FileDigest(int position);
std::string TextDigest(int position);

// Every computation ends with `answer`; each records the bytes it was given in `requests`.
class FakeProvider final : public hashing::Provider {
public:
    std::unique_ptr<hashing::Digester> start() const override;
    std::size_t digestBytes() const override { return answer.digest.size(); }

    // Thread-safe: a finished computation's bytes, in the order computations finished.
    std::vector<std::string> requests() const;
    void record(std::string bytes) const;

    DigestOutcome answer;

private:
    mutable std::mutex m_mutex;
    mutable std::vector<std::string> m_requests;
};

class FakeEntries {
public:
    static constexpr int kCount = 30;

    // Entry p answers files with FileDigest(p) and strings with TextDigest(p); the entries of
    // positions 18 to 20 are shown as numbers, like the whole-file checksums; position 3 is the
    // default.
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

}  // namespace tolvek::window::testing
