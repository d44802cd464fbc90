// A digester that keeps every byte it is fed, for the reader's tests, with the helpers that make
// and read their files.
#pragma once

#include <mutex>
#include <string>

#include "app/hashing/Digester.h"
#include "platform/ReadBuffer.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/VectorFile.h"

namespace tolvek::hashing {

using testing::FileContents;
using testing::PatternBytes;

// Keeps every byte it is given, and counts the pieces that do not start on a page boundary,
// where the reader's buffers start.
class RecordingDigester final : public Digester {
public:
    void update(std::span<const std::uint8_t> bytes) override {
        const std::lock_guard lock(m_mutex);
        m_bytes.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        m_misaligned += reinterpret_cast<std::uintptr_t>(bytes.data()) % platform::kReadAlignment != 0;
    }
    DigestOutcome finish() override {
        const std::string kept = bytes();
        return {true, Digest(kept.begin(), kept.end()), {}};
    }

    std::string bytes() const {
        const std::lock_guard lock(m_mutex);
        return m_bytes;
    }
    std::size_t misalignedPieces() const {
        const std::lock_guard lock(m_mutex);
        return m_misaligned;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_bytes;
    std::size_t m_misaligned = 0;
};

}  // namespace tolvek::hashing
