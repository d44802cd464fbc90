// List entries over the engine's streaming hashes: every route feeds one StreamingDigester.
#pragma once

#include <memory>

#include "app/core/AlgorithmTable.h"
#include "app/digest/StreamingDigester.h"

namespace tolvek::app {

// Feed a file, a stream or a text through `digester` and give its outcome; a file that cannot
// be opened or read gives the engine's message for it.
DigestOutcome DigestFile(const std::string& fileName, digest::Digester& digester);
DigestOutcome DigestStream(std::istream& input, digest::Digester& digester);
DigestOutcome DigestText(const std::string& text, digest::Digester& digester);

template <engine::StreamingHash Hash>
class StreamingProvider final : public Provider {
public:
    DigestOutcome hashFile(const std::string& fileName) const override {
        digest::StreamingDigester<Hash> digester;
        return DigestFile(fileName, digester);
    }
    DigestOutcome hashText(const std::string& text) const override {
        digest::StreamingDigester<Hash> digester;
        return DigestText(text, digester);
    }
    DigestOutcome hashStream(std::istream& input) const override {
        digest::StreamingDigester<Hash> digester;
        return DigestStream(input, digester);
    }
};

}  // namespace tolvek::app
