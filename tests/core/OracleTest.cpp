// Entries against public tools that compute the same functions: generated messages at every
// block, stripe, chunk and tree edge of the algorithms, and a 5 GiB sparse file, through each
// entry's file route and through the tool. The tools are Debian packages that
// tools/install-dependencies.sh installs; ctest labels these tests "oracle".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <future>
#include <map>
#include <random>

#include "app/core/AlgorithmTable.h"
#include "tests/support/TempFolder.h"

namespace tolvek::app {
namespace {

// A shell command per entry id: FILES stands for the quoted file names; it prints one line per
// file, in order, holding the digest as a hex word.
const std::map<std::string_view, std::string> kOracles = {
    {"blake2b", "b2sum FILES"},
    {"blake2s", "openssl dgst -blake2s256 FILES"},
    {"blake3", "b3sum --num-threads 1 FILES"},
    {"xxh64", "xxhsum -H1 FILES"},
    {"xxh3", "xxhsum -H3 FILES"},
    {"xxh128", "xxhsum -H2 FILES"},
};

std::vector<std::string> runLines(const std::string& command) {
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return lines;
    }
    std::string line;
    for (int character; (character = std::fgetc(pipe)) != EOF;) {
        if (character == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(character);
        }
    }
    pclose(pipe);
    return lines;
}

// The first word of `line` made of exactly `digits` lower-case hex digits; the whole line if
// none is.
std::string hexWord(const std::string& line, std::size_t digits) {
    const auto isAlnum = [](char character) {
        return std::isalnum(static_cast<unsigned char>(character)) != 0;
    };
    const auto isHex = [](char character) {
        return (character >= '0' && character <= '9') || (character >= 'a' && character <= 'f');
    };
    for (auto start = line.begin(); start != line.end();) {
        const auto end = std::find_if_not(start, line.end(), isAlnum);
        if (static_cast<std::size_t>(end - start) == digits && std::all_of(start, end, isHex)) {
            return {start, end};
        }
        start = end == line.end() ? end : end + 1;
    }
    return line;
}

// The oracle's digests of `files`, one per file, lower case.
std::vector<std::string> oracleDigests(std::string_view id, const std::vector<std::string>& files,
                                       std::size_t hexDigits) {
    std::string names;
    for (const std::string& file : files) {
        names.append(" '").append(file).append("'");
    }
    std::string command = kOracles.at(id);
    command.replace(command.find("FILES"), 5, names);
    std::vector<std::string> digests;
    for (const std::string& line : runLines(command + " 2>&1")) {
        digests.push_back(hexWord(line, hexDigits));
    }
    return digests;
}

const AlgorithmEntry& entryOf(std::string_view id) { return *FindAlgorithm(id); }

class OracleTest : public ::testing::TestWithParam<std::string_view> {};

// Lengths on the edges of 16, 32, 64, 128, 240 and 256 bytes (short-input paths, stripes and
// blocks), of 1024-byte chunks and of subtrees of 2^k chunks, and within a few bytes of each.
std::vector<std::size_t> edgeLengths() {
    std::vector<std::size_t> lengths = {0};
    for (const std::size_t edge : {1, 2, 3, 4, 8, 16, 32, 48, 64, 96, 128, 129, 192, 240, 256, 512,
                                   1024, 2048, 3072, 4096, 8192, 16384, 17408, 31744, 32768, 65536,
                                   1048576, 3 * 1048576}) {
        lengths.insert(lengths.end(), {edge - 1, edge, edge + 1});
    }
    std::ranges::sort(lengths);
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    return lengths;
}

TEST_P(OracleTest, GeneratedMessagesAtEveryEdge) {
    const AlgorithmEntry& entry = entryOf(GetParam());
    const tolvek::testing::TempFolder folder;
    std::mt19937 random(7693);
    std::vector<std::string> files;
    std::vector<std::string> ours;
    for (const std::size_t length : edgeLengths()) {
        std::string message(length, '\0');
        for (char& byte : message) {
            byte = static_cast<char>(random());
        }
        files.push_back(folder.write(std::to_string(length), message));
        ours.push_back(entry.fileRoute.hashFile(files.back()).text);
    }
    const std::vector<std::string> theirs = oracleDigests(GetParam(), files, ours.front().size());
    ASSERT_EQ(theirs.size(), ours.size()) << kOracles.at(GetParam());
    for (std::size_t index = 0; index < ours.size(); ++index) {
        EXPECT_EQ(ours[index], theirs[index]) << edgeLengths()[index] << " bytes";
    }
}

// 5 GiB of zeros then "x": a length past 32 bits and thousands of read buffers; the tool runs
// beside our own digest.
TEST_P(OracleTest, SlowSparseFileOfFiveGiB) {
    const AlgorithmEntry& entry = entryOf(GetParam());
    const tolvek::testing::TempFolder folder;
    const std::string name = folder.writeSparse("sparse", std::int64_t{5} << 30, 'x');
    const std::size_t digits = entry.fileRoute.hashText("").text.size();
    auto theirs = std::async(std::launch::async, [&] { return oracleDigests(GetParam(), {name}, digits); });
    const DigestOutcome ours = entry.fileRoute.hashFile(name);
    EXPECT_TRUE(ours.ok);
    EXPECT_EQ(std::vector<std::string>{ours.text}, theirs.get());
}

std::vector<std::string_view> oracleIds() {
    std::vector<std::string_view> ids;
    for (const AlgorithmEntry& entry : AlgorithmEntries()) {
        if (kOracles.contains(entry.id)) {
            ids.push_back(entry.id);
        }
    }
    return ids;
}

INSTANTIATE_TEST_SUITE_P(Entries, OracleTest, ::testing::ValuesIn(oracleIds()),
                         [](const ::testing::TestParamInfo<std::string_view>& idInfo) {
                             std::string name(idInfo.param);
                             std::erase(name, '-');
                             return name;
                         });

}  // namespace
}  // namespace tolvek::app
