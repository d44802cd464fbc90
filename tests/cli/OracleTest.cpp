// tolvek-cli against public tools: for each entry with an oracle, the digests of generated
// files at every block edge of its algorithm, and of one file over 5 GiB, equal the tool's.
// The tools come from Debian packages (tools/install-dependencies.sh); `ctest -LE oracle`
// skips these tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <future>
#include <random>
#include <sstream>

#include "cli/Cli.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::cli {
namespace {

struct Oracle {
    std::string id;
    // Run with the file names appended; prints one line per file, the digest first.
    std::string command;
    std::vector<std::size_t> blockSizes;
    // Lengths whose files are too large to take at every multiple of a block.
    std::vector<std::size_t> chunkEdges = {};
};

void PrintTo(const Oracle& oracle, std::ostream* stream) {
    *stream << oracle.id;
}

const std::string kCrcmod = TOLVEK_ORACLE_DIR "/crcmod_digest.py";
const std::string kOpenSsl = "openssl dgst -r -provider legacy -provider default -";
const std::string kHashlib = TOLVEK_ORACLE_DIR "/hashlib_digest.py";
const std::string kPerFile = TOLVEK_ORACLE_DIR "/per_file.sh";
constexpr std::size_t kEd2kChunk = 9500 * 1024;
constexpr std::size_t kDropboxBlock = 4 << 20;

// clang-format off
const std::vector<Oracle> kOracles = {
    {"sha224",     "sha224sum",                                          {64}},
    {"sha512-256", kOpenSsl + "sha512-256",                              {128}},
    {"sha3-224",   kOpenSsl + "sha3-224",                                {144}},
    {"sha3-256",   kOpenSsl + "sha3-256",                                {136}},
    {"sha3-384",   kOpenSsl + "sha3-384",                                {104}},
    {"sha3-512",   kOpenSsl + "sha3-512",                                {72}},
    {"blake2b",    "b2sum",                                              {128}},
    {"blake2s",    kOpenSsl + "blake2s256",                              {64}},
    {"blake3",     "b3sum --num-threads 1",                              {64, 1024, 4096, 32768}},
    {"xxh64",      "xxhsum -H1",                                         {32}},
    {"xxh3",       "xxhsum -H3",                                         {16, 64, 128, 240, 1024}},
    {"xxh128",     "xxhsum -H2",                                         {16, 64, 128, 240, 1024}},
    {"crc32c",     "rhash --printf='%{crc32c}\\n'",                       {8, 64, 256}},
    {"crc64",      kCrcmod + " 0x142F0E1EBA9EA3693 0xFFFFFFFFFFFFFFFF 0xFFFFFFFFFFFFFFFF", {8}},
    {"whirlpool",  kOpenSsl + "whirlpool",                               {64}},
    {"tiger",      "rhash --printf='%{tiger}\\n'",                        {64}},
    {"crc64nvme",  kCrcmod + " 0x1AD93D23594C93659 0xFFFFFFFFFFFFFFFF 0xFFFFFFFFFFFFFFFF", {8}},
    {"xxh32",      "xxhsum -H0",                                         {16}},
    {"ed2k",       "rhash --printf='%{ed2k}\\n'",                         {64},
                   {kEd2kChunk - 1, kEd2kChunk, kEd2kChunk + 1, 2 * kEd2kChunk}},
    {"quickxor",   kPerFile + " 'rclone hashsum quickxor'",              {20, 160}},
    {"sm3",        kOpenSsl + "sm3",                                     {64}},
    {"gost-cryptopro", "rhash --printf='%{gost94-cryptopro}\\n'",         {32}},
    {"streebog256", "rhash --printf='%{gost12-256}\\n'",                  {64}},
    {"streebog512", "rhash --printf='%{gost12-512}\\n'",                  {64}},
    {"shake128",   kHashlib + " shake_128 32",                           {168}},
    {"shake256",   kHashlib + " shake_256 64",                           {136}},
    {"dropbox",    kPerFile + " 'rclone hashsum dropbox'",               {64},
                   {kDropboxBlock - 1, kDropboxBlock, kDropboxBlock + 1, 2 * kDropboxBlock}},
};
// clang-format on

// The first word of each output line of `command` run over the files.
std::vector<std::string> oracleDigests(const std::string& command,
                                       const std::vector<std::string>& fileNames) {
    std::string line = command;
    for (const std::string& fileName : fileNames) {
        line.append(" '").append(fileName).append("'");
    }
    std::vector<std::string> digests;
    FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr) {
        return digests;
    }
    std::string output;
    char buffer[4096];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, count);
    }
    pclose(pipe);
    std::istringstream lines(output);
    for (std::string text; std::getline(lines, text);) {
        // "digest  name", or a tagged "ALG (name) = digest" line as some tools print.
        const std::size_t tagged = text.rfind(") = ");
        digests.push_back(tagged != std::string::npos ? text.substr(tagged + 4)
                                                      : text.substr(0, text.find_first_of(" \t")));
    }
    return digests;
}

std::vector<std::string> cliDigests(const std::string& id,
                                    const std::vector<std::string>& fileNames) {
    std::vector<std::string> arguments = {"-a", id};
    arguments.insert(arguments.end(), fileNames.begin(), fileNames.end());
    std::istringstream input;
    std::ostringstream output;
    std::ostringstream errors;
    EXPECT_EQ(RunCli(arguments, input, output, errors), kExitOk) << errors.str();
    std::vector<std::string> digests;
    std::istringstream lines(output.str());
    for (std::string text; std::getline(lines, text);) {
        digests.push_back(text.substr(0, text.find(' ')));
    }
    return digests;
}

// Ours and the oracle's at the same time, in order of the files.
void expectOracleDigests(const Oracle& oracle, const std::vector<std::string>& fileNames) {
    auto theirs = std::async(std::launch::async, oracleDigests, oracle.command, fileNames);
    const std::vector<std::string> ours = cliDigests(oracle.id, fileNames);
    const std::vector<std::string> expected = theirs.get();
    ASSERT_EQ(expected.size(), fileNames.size()) << "no answer from: " << oracle.command;
    ASSERT_EQ(ours.size(), fileNames.size());
    for (std::size_t index = 0; index < fileNames.size(); ++index) {
        EXPECT_EQ(ours[index], expected[index]) << fileNames[index];
    }
}

// Lengths 0 to 16, each block multiple up to 3 and one more than 1 MiB (the read piece) with a
// byte to each side, and a few long ones that are no multiple of anything.
std::vector<std::size_t> edgeLengths(const Oracle& oracle) {
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length <= 16; ++length) {
        lengths.push_back(length);
    }
    for (const std::size_t block : oracle.blockSizes) {
        for (const std::size_t multiple : {1, 2, 3, 7}) {
            for (const std::size_t length :
                 {block * multiple - 1, block * multiple, block * multiple + 1}) {
                lengths.push_back(length);
            }
        }
    }
    for (const std::size_t length : {1000, 4099, 65537, (1 << 20) + 1}) {
        lengths.push_back(length);
    }
    lengths.insert(lengths.end(), oracle.chunkEdges.begin(), oracle.chunkEdges.end());
    return lengths;
}

class OracleTest : public ::testing::TestWithParam<Oracle> {
protected:
    tolvek::testing::TempFolder folder;
};

TEST_P(OracleTest, GeneratedFilesAtEveryBlockEdge) {
    std::mt19937 random(20030);
    std::vector<std::string> fileNames;
    for (const std::size_t length : edgeLengths(GetParam())) {
        std::string bytes(length, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random());
        }
        fileNames.push_back(folder.write("len" + std::to_string(length), bytes));
    }
    expectOracleDigests(GetParam(), fileNames);
}

// 5 GiB and 3 bytes, mostly a hole, with random bytes at the start, across the 4 GiB mark and at
// the end: lengths beyond 32 bits in every counter.
TEST_P(OracleTest, SlowSparseFileOverFiveGiB) {
    const std::string fileName = folder.file("sparse");
    std::ofstream stream(fileName, std::ios::binary);
    std::mt19937 random(5);
    for (const std::int64_t at :
         {std::int64_t{0}, (std::int64_t{4} << 30) - 1000, (std::int64_t{5} << 30) - 997}) {
        stream.seekp(at);
        for (int count = 0; count < 1000; ++count) {
            stream.put(static_cast<char>(random()));
        }
    }
    stream.close();
    ASSERT_TRUE(stream);
    expectOracleDigests(GetParam(), {fileName});
}

INSTANTIATE_TEST_SUITE_P(Oracles, OracleTest, ::testing::ValuesIn(kOracles),
                         [](const ::testing::TestParamInfo<Oracle>& oracleInfo) {
                             return tolvek::testing::TestNameOf(oracleInfo.param.id);
                         });

}  // namespace
}  // namespace tolvek::cli
