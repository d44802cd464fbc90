// Every entry's digesters against the entry's whole-call route: the engine's one-call
// functions, the framework's class-level HashFile and the checksums' ChecksumFile, over files
// and strings of block-edge lengths, each fed whole, through the file reader and in a random
// split.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "app/hashing/AsciiText.h"
#include "app/hashing/FileReader.h"
#include "app/hashing/Hashing.h"
#include "app/hashing/Providers.h"
#include "tests/support/VectorFile.h"
#include "tests/support/TempFolder.h"

namespace tolvek::hashing {
namespace {

// Lengths around the blocks of every entry (16, 32, 48, 64 and 128 bytes), and past one and two
// read chunks, so that the reader's pipelined path and its last partial chunk are covered.
const std::size_t kLengths[] = {0,   1,   2,   3,   7,   8,   15,  16,  17,   31,
                                32,  33,  47,  48,  49,  63,  64,  65,  111,  112,
                                127, 128, 129, 255, 256, 257, 1000, kReadChunk + 1,
                                2 * kReadChunk + 13};

DigestOutcome engineOutcome(engine::HashResult code, std::string digest) {
    if (code == engine::kHashOk) {
        return {true, std::move(digest)};
    }
    engine::HashErrorText(code, digest);
    return {false, std::move(digest)};
}

// The provider's own whole-call route over a file holding `bytes`; a provider without one (the
// streaming hashes) is fed the whole message in one update.
DigestOutcome wholeCall(const Provider& provider, const std::string& bytes,
                        const std::string& fileName, bool asFile) {
    if (const auto* engineRoute = dynamic_cast<const EngineProvider*>(&provider)) {
        std::string digest;
        const auto code = asFile ? static_cast<engine::HashResult>(engine::HashFileByName(
                                       engineRoute->type(), fileName, digest))
                                 : engine::HashString(engineRoute->type(), bytes, digest);
        return engineOutcome(code, std::move(digest));
    }
    if (const auto* frameworkRoute = dynamic_cast<const FrameworkProvider*>(&provider)) {
        return {true, AsciiLower(frameworkRoute->hashClass()->HashFile(
                          fileName, framework::ClassOf<framework::TFormat_HEX>, nullptr))};
    }
    if (const auto* checksumRoute = dynamic_cast<const ChecksumProvider*>(&provider)) {
        std::uint32_t value = 0;
        const engine::HashResult code = engine::ChecksumFile(checksumRoute->kind(), fileName, value);
        std::ostringstream hex;
        hex << std::hex << value;
        return engineOutcome(code, hex.str());
    }
    const std::unique_ptr<Digester> digester = provider.start();
    digester->update({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    return digester->finish();
}

DigestOutcome splitAt(const Provider& provider, const std::string& bytes, std::size_t first,
                      std::size_t second) {
    const std::unique_ptr<Digester> digester = provider.start();
    const std::span<const std::uint8_t> all(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            bytes.size());
    digester->update(all.first(first));
    digester->update(all.subspan(first, second - first));
    digester->update(all.subspan(second));
    return digester->finish();
}

void expectSame(const DigestOutcome& actual, const DigestOutcome& expected, const char* how) {
    EXPECT_EQ(actual.ok, expected.ok) << how;
    EXPECT_EQ(actual.text, expected.text) << how;
}

class DigesterTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(DigesterTest, IncrementalDigestsEqualTheWholeCallRoute) {
    const AlgorithmEntry& entry = AlgorithmEntries()[GetParam()];
    tolvek::testing::TempFolder folder;
    std::mt19937 random(static_cast<unsigned>(GetParam()));
    for (const std::size_t length : kLengths) {
        SCOPED_TRACE(std::string(entry.caption) + ", " + std::to_string(length) + " bytes");
        const std::string bytes = tolvek::testing::PatternBytes(length);
        const std::string fileName = folder.write("message", bytes);
        std::uniform_int_distribution<std::size_t> cut(0, length);
        std::size_t first = cut(random);
        std::size_t second = cut(random);
        if (first > second) {
            std::swap(first, second);
        }

        const DigestOutcome fileExpected = wholeCall(entry.fileRoute, bytes, fileName, true);
        EXPECT_TRUE(fileExpected.ok) << fileExpected.text;
        expectSame(HashFile(entry.fileRoute, fileName), fileExpected, "file through the reader");
        expectSame(splitAt(entry.fileRoute, bytes, first, second), fileExpected, "file, split");

        const DigestOutcome textExpected = wholeCall(entry.stringRoute, bytes, fileName, false);
        expectSame(HashText(entry.stringRoute, bytes), textExpected, "text");
        expectSame(splitAt(entry.stringRoute, bytes, first, second), textExpected, "text, split");
        // One caption, one function.
        expectSame(textExpected, fileExpected, "text against file");
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, DigesterTest,
                         ::testing::Range<std::size_t>(0, AlgorithmEntries().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& position) {
                             return tolvek::testing::TestNameOf(AlgorithmEntries()[position.param].id);
                         });

}  // namespace
}  // namespace tolvek::hashing
