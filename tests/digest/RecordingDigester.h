// What the reader's tests feed and compare: a digester that keeps every byte, patterned file
// contents, and a file's contents as the standard library reads them.
#pragma once

#include <fstream>
#include <mutex>
#include <sstream>
#include <string>

#include "app/digest/Digester.h"

namespace tolvek::digest {

// Keeps every byte it is given.
class RecordingDigester final : public Digester {
public:
    void update(std::span<const std::uint8_t> bytes) override {
        const std::lock_guard lock(m_mutex);
        m_bytes.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    DigestOutcome finish() override { return {true, bytes()}; }

    std::string bytes() const {
        const std::lock_guard lock(m_mutex);
        return m_bytes;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_bytes;
};

inline std::string patternOf(std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t index = 0; index < length; ++index) {
        bytes[index] = static_cast<char>(index * 7 % 253);
    }
    return bytes;
}

inline std::string contentsOf(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

}  // namespace tolvek::digest
