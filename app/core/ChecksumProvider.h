// A whole-file checksum as the provider of a list entry, on the file and the string route alike,
// shown as a number in lower-case hex without leading zeros (the "%x" form).
#pragma once

#include "app/core/AlgorithmTable.h"
#include "engine/CRC_.h"

namespace tolvek::app {

class ChecksumProvider final : public Provider {
public:
    explicit constexpr ChecksumProvider(engine::FileChecksum kind) : m_kind(kind) {}

    DigestOutcome hashFile(const std::string& fileName) const override;
    DigestOutcome hashText(const std::string& text) const override;
    DigestOutcome hashStream(std::istream& input) const override;

private:
    engine::FileChecksum m_kind;
};

}  // namespace tolvek::app
