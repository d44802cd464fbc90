// The engine's hashes that no list entry computes as they stand: keyed and any-length forms
// (sections "<id> keyed", "<id> xof", "blake3 derive-key"), other pass counts of HAVAL and Tiger
// and the engine's types that no entry uses (through the public context interface), each vector
// on every CPU path, whole and split in two at every tenth of its length. The checksums and blob
// ids (cksum, sum, git, crc32, crc16) run through their entries (tests/hashing).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

#include "engine/Blake2.h"
#include "engine/Blake3.h"
#include "engine/CRC1.h"
#include "engine/CompositeHashes.h"
#include "engine/CrcStreams.h"
#include "engine/EngineUtils.h"
#include "engine/HashEngine.h"
#include "engine/KangarooTwelve.h"
#include "engine/Keccak.h"
#include "tests/support/CpuPaths.h"

namespace tolvek::engine {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Pieces = std::vector<std::span<const std::uint8_t>>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes fieldBytes(const testing::Vector& vector, const std::string& name) {
    const auto field = vector.fields.find(name);
    return field == vector.fields.end() ? Bytes{} : bytesOf(testing::HexToBytes(field->second));
}

// The output length a vector asks for: its OutputLength field, else the length of Out.
std::size_t outputLength(const testing::Vector& vector) {
    const auto field = vector.fields.find("OutputLength");
    return field != vector.fields.end() ? std::stoul(field->second) : vector.expected.size() / 2;
}

// The hex of the output's last Out-length bytes (all of it unless OutputLength asks for more).
std::string tailHex(const Bytes& output, const testing::Vector& vector) {
    const std::size_t shown = vector.expected.size() / 2;
    return testing::BytesToHex(
        std::string(output.end() - static_cast<std::ptrdiff_t>(shown), output.end()));
}

template <class Hash>
std::string finishInto(Hash& hash, const Pieces& pieces, const testing::Vector& vector) {
    for (const auto piece : pieces) {
        hash.update(piece);
    }
    Bytes output(outputLength(vector));
    hash.finish(output);
    return tailHex(output, vector);
}

template <class Hash>
std::string keyed(const Pieces& pieces, const testing::Vector& vector) {
    Hash hash(fieldBytes(vector, "Key"), outputLength(vector));
    return finishInto(hash, pieces, vector);
}

template <class Hash>
std::string anyLength(const Pieces& pieces, const testing::Vector& vector) {
    Hash hash;
    return finishInto(hash, pieces, vector);
}

std::string k12(const Pieces& pieces, const testing::Vector& vector) {
    KangarooTwelve hash(fieldBytes(vector, "Custom"));
    return finishInto(hash, pieces, vector);
}

std::string blake3Keyed(const Pieces& pieces, const testing::Vector& vector) {
    const Bytes key = fieldBytes(vector, "Key");
    Blake3 hash = Blake3::Keyed(std::span<const std::uint8_t, Blake3::kKeySize>(key));
    return finishInto(hash, pieces, vector);
}

std::string blake3DeriveKey(const Pieces& pieces, const testing::Vector& vector) {
    const Bytes context = fieldBytes(vector, "Context");
    Blake3 hash =
        Blake3::DeriveKey({reinterpret_cast<const char*>(context.data()), context.size()});
    return finishInto(hash, pieces, vector);
}

// CRC-32/BZIP2 in the register the engine's CRC32MsbFirst type keeps, as a number.
std::string crc32Bzip2(const Pieces& pieces, const testing::Vector&) {
    Crc32Register crc;
    Crc32Init(crc);
    for (const auto piece : pieces) {
        Crc32UpdateMsbFirst(crc, piece.data(), static_cast<std::uint32_t>(piece.size()));
    }
    return HexDigits(8, ~crc);
}

using Compute = std::function<std::string(const Pieces&, const testing::Vector&)>;

// Through the engine's context with the vector's pass count.
template <HashType kType>
std::string engineContext(const Pieces& pieces, const testing::Vector& vector) {
    HashContext context;
    EXPECT_EQ(HashInit(&context, kType), kHashOk);
    if (const auto passes = vector.fields.find("Passes"); passes != vector.fields.end()) {
        context.Passes = std::stoi(passes->second);
    }
    for (const auto piece : pieces) {
        EXPECT_EQ(HashUpdate(&context, piece.data(), static_cast<std::uint32_t>(piece.size())),
                  kHashOk);
    }
    std::string digest;
    EXPECT_EQ(HashFinal(&context, digest), kHashOk);
    return digest;
}

struct Section {
    Compute compute;
    // An entry's own section, whose three-pass vectors the entry reads (tests/hashing).
    bool otherPassesOnly = false;
};

const std::map<std::string, Section>& parameterSections() {
    static const std::map<std::string, Section> sections = {
        {"blake2b keyed", {keyed<Blake2b>}},      {"blake2s keyed", {keyed<Blake2s>}},
        {"blake2bp keyed", {keyed<Blake2bp>}},    {"blake2sp keyed", {keyed<Blake2sp>}},
        {"blake3 keyed", {blake3Keyed}},          {"blake3 derive-key", {blake3DeriveKey}},
        {"blake3 xof", {anyLength<Blake3>}},      {"shake128 xof", {anyLength<Shake128>}},
        {"shake256 xof", {anyLength<Shake256>}},  {"k12 xof", {k12}},
        {"haval128", {engineContext<HashTypeHAVAL128>, true}},
        {"haval160", {engineContext<HashTypeHAVAL160>, true}},
        {"haval192", {engineContext<HashTypeHAVAL192>, true}},
        {"haval224", {engineContext<HashTypeHAVAL224>, true}},
        {"haval256", {engineContext<HashTypeHAVAL256>, true}},
        {"tiger192", {engineContext<HashTypeTiger192>, true}},
        {"engine crc32-bzip2", {crc32Bzip2}},
        {"engine crc32-bzip2 bytes reversed", {engineContext<HashTypeCRC32MsbFirst>}},
        {"engine crc32 bytes reversed", {engineContext<HashTypeCRC32>}},
        {"engine adler32", {engineContext<HashTypeAdler32>}},
    };
    return sections;
}

bool readHere(const testing::Vector& vector) {
    const auto section = parameterSections().find(vector.algorithm);
    const auto passes = vector.fields.find("Passes");
    return section != parameterSections().end() &&
           (!section->second.otherPassesOnly ||
            (passes != vector.fields.end() && passes->second != "3"));
}

std::vector<testing::Vector> parameterVectors() {
    std::vector<testing::Vector> selected;
    for (testing::Vector& vector : testing::ReadAllVectorFiles()) {
        if (readHere(vector)) {
            selected.push_back(std::move(vector));
        }
    }
    return selected;
}

class ParameterVectorTest : public testing::OnCpuPathTest<testing::VectorOnPath> {};

TEST_P(ParameterVectorTest, MatchesPublishedDigestWholeAndSplit) {
    const testing::Vector& vector = std::get<0>(GetParam());
    const Compute& compute = parameterSections().at(vector.algorithm).compute;
    const Bytes input = bytesOf(vector.input);
    const std::span<const std::uint8_t> message(input);
    EXPECT_EQ(compute({message}, vector), vector.expected);
    for (std::size_t tenth = 1; tenth < 10; ++tenth) {
        const std::size_t split = input.size() * tenth / 10;
        EXPECT_EQ(compute({message.first(split), message.subspan(split)}, vector), vector.expected)
            << "split at " << split;
    }
}

INSTANTIATE_TEST_SUITE_P(Vectors, ParameterVectorTest,
                         ::testing::Combine(::testing::ValuesIn(parameterVectors()),
                                            ::testing::ValuesIn(testing::CpuPaths())),
                         testing::VectorOnPathName);

TEST(ParameterVectorFiles, EverySectionHasVectors) {
    const std::vector<testing::Vector> vectors = parameterVectors();
    for (const auto& entry : parameterSections()) {
        const auto& section = entry.first;
        EXPECT_TRUE(std::ranges::any_of(vectors, [&](const testing::Vector& vector) {
            return vector.algorithm == section;
        })) << section;
    }
}

// Each BLAKE2 takes a key up to its digest size and gives 1 byte up to its digest size; the
// constructor refuses anything else, and so does finish for a buffer of another length.
TEST(ParameterLimits, Blake2RefusesKeysAndLengthsOutsideItsRange) {
    const Bytes longKey(65);
    std::array<std::uint8_t, 32> digest{};
    struct Case {
        bool accepted;
        std::function<void()> make;
    };
    const std::vector<Case> cases = {
        {true, [&] { Blake2b({longKey.data(), 64}, 64); }},
        {false, [&] { Blake2b(longKey, 64); }},
        {false, [&] { Blake2b({}, 0); }},
        {false, [&] { Blake2b({}, 65); }},
        {true, [&] { Blake2s({longKey.data(), 32}, 1); }},
        {false, [&] { Blake2s({longKey.data(), 33}, 32); }},
        {false, [&] { Blake2s({}, 33); }},
        {false, [&] { Blake2sp({longKey.data(), 33}, 32); }},
        {false, [&] { Blake2bp({}, 0); }},
        {false, [&] { Blake2s({}, 16).finish(digest); }},
    };
    for (std::size_t index = 0; index < cases.size(); ++index) {
        if (cases[index].accepted) {
            EXPECT_NO_THROW(cases[index].make()) << "case " << index;
        } else {
            EXPECT_THROW(cases[index].make(), std::invalid_argument) << "case " << index;
        }
    }
}

// A blob id announces the content's size; content of another size must not pass for the blob.
TEST(ParameterLimits, GitBlobIdFailsWhenTheContentHasAnotherSize) {
    const Bytes content = bytesOf("abc");
    for (const std::size_t announced : {2, 4}) {
        GitBlobSha1 blob(announced);
        blob.update(content);
        std::array<std::uint8_t, GitBlobSha1::kDigestSize> digest{};
        EXPECT_FALSE(blob.finish(digest)) << announced;
    }
}

}  // namespace
}  // namespace tolvek::engine
