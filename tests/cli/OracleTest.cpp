// tolvek-cli against public tools: for each row with an oracle, the digests of generated files
// at every block edge of its algorithm, and of one file over 5 GiB, equal the tool's.
// The tools come from Debian packages (tools/install-dependencies.sh);
// `cli_tests --gtest_filter=-*Oracle*` leaves these tests out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <map>
#include <random>
#include <sstream>

#include "app/hashing/AlgorithmTable.h"
#include "cli/Cli.h"
#include "tests/support/ShellRun.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::cli {
namespace {

using hashing::AlgorithmEntry;

// The row's oracle as a command: "openssl NAME" is openssl's dgst command of NAME with the
// legacy provider, a script's name one of tests/oracle.
std::string commandOf(const hashing::Oracle& oracle) {
    const std::string command(oracle.command);
    const std::string tool = command.substr(0, command.find(' '));
    if (tool == "openssl") {
        return "openssl dgst -r -provider legacy -provider default -" + command.substr(8);
    }
    if (tool.ends_with(".py") || tool.ends_with(".sh")) {
        return TOLVEK_ORACLE_DIR "/" + command;
    }
    return command;
}

// The digest of each line: "digest  name", or a tagged "ALG (name) = digest" line.
std::vector<std::string> digestsOfLines(const std::string& output) {
    std::vector<std::string> digests;
    std::istringstream lines(output);
    for (std::string text; std::getline(lines, text);) {
        const std::size_t tagged = text.rfind(") = ");
        digests.push_back(tagged != std::string::npos ? text.substr(tagged + 4)
                                                      : text.substr(0, text.find_first_of(" \t")));
    }
    return digests;
}

// The digest of each output line of `command` run over the files.
std::vector<std::string> oracleDigests(const std::string& command,
                                       const std::vector<std::string>& fileNames) {
    std::string line = command;
    for (const std::string& fileName : fileNames) {
        line.append(" '").append(fileName).append("'");
    }
    return digestsOfLines(tolvek::testing::RunIn("/", line).output);
}

// The digests tolvek-cli prints when given `arguments` and the files.
std::vector<std::string> cliDigests(std::vector<std::string> arguments,
                                    const std::vector<std::string>& fileNames) {
    arguments.insert(arguments.end(), fileNames.begin(), fileNames.end());
    std::istringstream input;
    std::ostringstream output;
    std::ostringstream errors;
    EXPECT_EQ(RunCli(arguments, input, output, errors), kExitOk) << errors.str();
    return digestsOfLines(output.str());
}

// Ours with `arguments` and the oracle's `command` at the same time, in order of the files.
void expectOracleDigests(const std::string& command, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& fileNames) {
    auto theirs = std::async(std::launch::async, oracleDigests, command, fileNames);
    const std::vector<std::string> ours = cliDigests(arguments, fileNames);
    const std::vector<std::string> expected = theirs.get();
    ASSERT_EQ(expected.size(), fileNames.size()) << "no answer from: " << command;
    EXPECT_EQ(ours, expected) << command;
}

std::string randomBytes(std::mt19937& random, std::size_t length) {
    std::string bytes(length, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

// Lengths 0 to 16, each block multiple up to 3 and one more than 1 MiB (the read piece) with a
// byte to each side, a few long ones that are no multiple of anything, and the edges of a
// larger unit of work.
std::vector<std::size_t> edgeLengths(const hashing::Oracle& oracle) {
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length <= 16; ++length) {
        lengths.push_back(length);
    }
    for (const std::size_t block : oracle.blocks) {
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
    if (const std::size_t chunk = oracle.chunk; chunk > 0) {
        lengths.insert(lengths.end(), {chunk - 1, chunk, chunk + 1, 2 * chunk});
    }
    return lengths;
}

class OracleTest : public ::testing::TestWithParam<const AlgorithmEntry*> {
protected:
    tolvek::testing::TempFolder folder;
};

TEST_P(OracleTest, GeneratedFilesAtEveryBlockEdge) {
    std::mt19937 random(20030);
    std::vector<std::string> fileNames;
    for (const std::size_t length : edgeLengths(GetParam()->oracle)) {
        fileNames.push_back(
            folder.write("len" + std::to_string(length), randomBytes(random, length)));
    }
    expectOracleDigests(commandOf(GetParam()->oracle), {"-a", std::string(GetParam()->id)},
                        fileNames);
}

std::vector<const AlgorithmEntry*> entriesWithOracles() {
    std::vector<const AlgorithmEntry*> entries;
    for (const AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        if (!entry.oracle.command.empty()) {
            entries.push_back(&entry);
        }
    }
    return entries;
}

// 5 GiB and 3 bytes, mostly a hole, with random bytes at the start, across the 4 GiB mark and at
// the end: lengths beyond 32 bits in every counter.
std::string writeSparseFile(const tolvek::testing::TempFolder& folder) {
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
    EXPECT_TRUE(stream);
    return fileName;
}

// Every entry with an oracle over the sparse file. The oracles' digests of it are kept in
// cli/sparse_oracles.cases, as reading 5 GiB once per tool took most of the suite's time;
// TOLVEK_RUN_SPARSE_ORACLES=1 runs the tools instead and prints their records for that file.
// Ours come from one read of the file for all the entries printed as hex, and one call each
// for those printed as their tools print them.
TEST(OracleSparseTest, SlowSparseFileOverFiveGiB) {
    tolvek::testing::TempFolder folder;
    const std::string fileName = writeSparseFile(folder);
    std::map<std::string, std::string> expected;
    for (const tolvek::testing::Case& record :
         tolvek::testing::ReadCaseFile("cli/sparse_oracles.cases")) {
        expected[record.get("Id")] = record.get("Digest");
    }
    std::map<std::string, std::string> ours;
    std::string hexIds;
    for (const AlgorithmEntry* entry : entriesWithOracles()) {
        const std::string id(entry->id);
        if (std::getenv("TOLVEK_RUN_SPARSE_ORACLES") != nullptr) {
            const std::vector<std::string> theirs =
                oracleDigests(commandOf(entry->oracle), {fileName});
            expected[id] = theirs.empty() ? "no answer" : theirs.front();
            std::printf("Id = %s\nDigest = %s\n\n", id.c_str(), expected[id].c_str());
        }
        if (entry->shownAs == hashing::ShownAs::Hex) {
            hexIds.append(hexIds.empty() ? "" : ",").append(id);
        } else {
            ours[id] = cliDigests({"-a", id}, {fileName}).at(0);
        }
    }
    const std::vector<std::string> bsdLines = cliDigests({"-a", hexIds}, {fileName});
    for (std::size_t index = 0; const std::string& id : tolvek::testing::SplitField(hexIds, ',')) {
        ours[id] = index < bsdLines.size() ? bsdLines[index++] : "";
    }
    for (const auto& [id, digest] : ours) {
        ASSERT_TRUE(expected.contains(id)) << id << " has no record in cli/sparse_oracles.cases";
        EXPECT_EQ(digest, expected[id]) << id;
    }
}

// The options that change an algorithm (tests/cli/option_oracles.cases), over random files
// around the block edges of the algorithms there.
TEST(OptionOracleTest, LengthsKeysAndHmac) {
    tolvek::testing::TempFolder folder;
    std::mt19937 random(2104);
    std::vector<std::string> fileNames;
    for (const std::size_t length : {0, 1, 63, 64, 65, 127, 128, 129, 1025, 8193, 65537}) {
        fileNames.push_back(
            folder.write("len" + std::to_string(length), randomBytes(random, length)));
    }
    std::vector<std::pair<std::string, std::string>> keys;
    for (const std::size_t size : {32, 64, 200}) {
        const std::string bytes = std::to_string(size);
        keys.emplace_back("{key" + bytes + "}",
                          folder.write("k" + bytes, randomBytes(random, size)));
    }
    const auto withKeys = [&keys](std::string text) {
        for (const auto& [placeholder, name] : keys) {
            text = tolvek::testing::Replaced(text, placeholder, name);
        }
        return text;
    };
    for (const tolvek::testing::Case& call : tolvek::testing::ReadCaseFile("cli/option_oracles.cases")) {
        SCOPED_TRACE(call.where);
        expectOracleDigests(commandOf({withKeys(call.get("Oracle"))}),
                            tolvek::testing::SplitField(withKeys(call.get("Arguments")), '|'),
                            fileNames);
    }
}

INSTANTIATE_TEST_SUITE_P(Oracles, OracleTest, ::testing::ValuesIn(entriesWithOracles()),
                         [](const ::testing::TestParamInfo<const AlgorithmEntry*>& entryInfo) {
                             return tolvek::testing::TestNameOf(entryInfo.param->id);
                         });

}  // namespace
}  // namespace tolvek::cli
