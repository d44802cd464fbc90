// A class of the class hash framework as a provider of list entries, used through its class
// reference with its defaults.
#pragma once

#include "app/core/AlgorithmTable.h"
#include "framework/DigestHash.h"

namespace tolvek::app {

// Gives the class's TFormat_HEX text in lower case. A file that cannot be opened or read gives
// the engine route's messages, "Could not open file" and "Could not read file".
class FrameworkProvider final : public Provider {
public:
    explicit constexpr FrameworkProvider(framework::HashClassRef hashClass)
        : m_hashClass(hashClass) {}

    DigestOutcome hashFile(const std::string& fileName) const override;
    DigestOutcome hashText(const std::string& text) const override;
    DigestOutcome hashStream(std::istream& input) const override;

private:
    framework::HashClassRef m_hashClass;
};

}  // namespace tolvek::app
