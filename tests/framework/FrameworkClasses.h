// The framework's hash classes under test: the vector sections each computes, and a memory
// stream for whole-stream hashing.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "framework/DigestHashMD4.h"
#include "framework/DigestHashSapphire.h"
#include "framework/DigestHashSnefru.h"
#include "framework/DigestHashSquare.h"
#include "framework/DigestHashPanama.h"
#include "framework/DigestHashWhirlpool.h"
#include "tests/support/VectorFile.h"

namespace tolvek::testing {

// The vector sections of tests/vectors the framework computes, by the class that computes them.
// A new hash class adds its row here; the vector and invariant tests then cover it.
inline const std::map<std::string, framework::HashClassRef>& FrameworkSections() {
    static const std::map<std::string, framework::HashClassRef> sections = {
        {"MD5", framework::ClassOf<framework::THash_MD5>},
        {"RIPEMD-256", framework::ClassOf<framework::THash_RipeMD256>},
        {"RIPEMD-320", framework::ClassOf<framework::THash_RipeMD320>},
        {"Sapphire", framework::ClassOf<framework::THash_Sapphire>},
        {"Snefru-128", framework::ClassOf<framework::THash_Snefru128>},
        {"Snefru-256", framework::ClassOf<framework::THash_Snefru256>},
        {"Square", framework::ClassOf<framework::THash_Square>},
        {"Panama", framework::ClassOf<framework::THash_Panama>},
        {"Whirlpool-0", framework::ClassOf<framework::THash_Whirlpool>},
        {"Whirlpool-T", framework::ClassOf<framework::THash_Whirlpool1>},
        {"whirlpool", framework::ClassOf<framework::THash_Whirlpool2003>},
    };
    return sections;
}

// Bytes held in memory as a stream.
class MemoryStream final : public framework::ByteStream {
public:
    explicit MemoryStream(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::int64_t Position() const override { return m_position; }
    void SetPosition(std::int64_t position) override { m_position = position; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(m_bytes.size()); }
    void ReadExactly(std::span<std::uint8_t> buffer) override {
        if (m_position + static_cast<std::int64_t>(buffer.size()) > Size()) {
            throw framework::EStreamReadError("Stream read error");
        }
        std::memcpy(buffer.data(), m_bytes.data() + m_position, buffer.size());
        m_position += static_cast<std::int64_t>(buffer.size());
    }

private:
    std::string m_bytes;
    std::int64_t m_position = 0;
};

// The digest of `message` fed to a new object of the class in one HashData call.
inline std::string DigestOf(framework::HashClassRef hashClass, const std::string& message,
                            framework::FormatClassRef format = nullptr) {
    const std::unique_ptr<framework::TDigestHash> hash = hashClass->Create();
    hash->BeginHash();
    hash->HashData(message.data(), static_cast<std::int32_t>(message.size()));
    hash->EndHash();
    return hash->DigestText(format);
}

}  // namespace tolvek::testing
