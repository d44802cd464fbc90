// The framework's hash classes under test, and a memory stream for whole-stream hashing.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/DigestHashMD4.h"
#include "framework/DigestHashSapphire.h"
#include "framework/DigestHashSnefru.h"
#include "framework/DigestHashSquare.h"
#include "framework/DigestHashPanama.h"
#include "framework/DigestHashWhirlpool.h"
#include "tests/support/VectorFile.h"

namespace tolvek::testing {

// A class of a framework family that keeps every block it would compress, in order;
// over-aligned, so that its release goes through the aligned deallocation.
template <class Family>
class alignas(64) BlockRecorder final : public Family {
public:
    static constexpr std::string_view kClassName = "THash_BlockRecorder";

    framework::HashClassRef ClassType() const override {
        return framework::ClassOf<BlockRecorder>;
    }

    std::string blocks;

private:
    void ProcessBlock(const std::uint8_t* block) override {
        blocks.append(reinterpret_cast<const char*>(block), Family::kBlockLength);
    }
};

// The Whirlpool family with Whirlpool-0's tables, to record its blocks.
class Whirlpool0Tables : public framework::THashBaseWhirlpool {
    void InitState() override {
        startWith(framework::data::kWhirlpool0Circulant, framework::data::kWhirlpool0RoundConstants);
    }
};

// The classes the list entries use.
inline constexpr framework::HashClassRef kHashClasses[] = {
    framework::ClassOf<framework::THash_MD5>,        framework::ClassOf<framework::THash_RipeMD256>,
    framework::ClassOf<framework::THash_RipeMD320>,  framework::ClassOf<framework::THash_Sapphire>,
    framework::ClassOf<framework::THash_Snefru128>,  framework::ClassOf<framework::THash_Snefru256>,
    framework::ClassOf<framework::THash_Square>,     framework::ClassOf<framework::THash_Panama>,
    framework::ClassOf<framework::THash_Whirlpool>,  framework::ClassOf<framework::THash_Whirlpool1>,
    framework::ClassOf<framework::THash_Whirlpool2003>,
};

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

// The digest of `message` fed to `hash` from its start in one HashData call.
inline std::string DigestOf(framework::TDigestHash& hash, const std::string& message,
                            framework::FormatClassRef format = nullptr) {
    hash.BeginHash();
    hash.HashData(message.data(), static_cast<std::int32_t>(message.size()));
    hash.EndHash();
    return hash.DigestText(format);
}

// The same from a new object of the class.
inline std::string DigestOf(framework::HashClassRef hashClass, const std::string& message,
                            framework::FormatClassRef format = nullptr) {
    return DigestOf(*hashClass->Create(), message, format);
}

}  // namespace tolvek::testing
