// The hash engine as a provider of list entries: one hash type, default passes.
#pragma once

#include "app/core/AlgorithmTable.h"
#include "engine/HashEngine.h"

namespace tolvek::app {

class EngineProvider final : public Provider {
public:
    explicit constexpr EngineProvider(engine::HashType type) : m_type(type) {}

    engine::HashType type() const { return m_type; }

    DigestOutcome hashFile(const std::string& fileName) const override;
    DigestOutcome hashText(const std::string& text) const override;
    DigestOutcome hashStream(std::istream& input) const override;

private:
    engine::HashType m_type;
};

}  // namespace tolvek::app
