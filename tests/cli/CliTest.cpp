// tolvek-cli's output and exit codes for good and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/FileSequence.h"
#include "cli/Cli.h"
#include "tests/support/ShellRun.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::cli {
namespace {

struct CliRun {
    int exitCode;
    std::string output;
    std::string errors;
};

CliRun run(const std::vector<std::string>& arguments, const std::string& standardInput = "") {
    std::istringstream input(standardInput);
    std::ostringstream output;
    std::ostringstream errors;
    const int exitCode = RunCli(arguments, input, output, errors);
    return {exitCode, output.str(), errors.str()};
}

TEST(Cli, ListNamesEveryAlgorithm) {
    const CliRun result = run({"--list"});
    EXPECT_EQ(result.exitCode, kExitOk);
    EXPECT_NE(result.output.find("sha256\tSHA256\tSHA-256 (FIPS 180-4)\n"), std::string::npos);
    EXPECT_NE(result.output.find("whirlpool\tWhirlpool (2003)\t"), std::string::npos);
}

// --help fits a terminal of 80 columns, and the man page describes every option it names.
TEST(Cli, HelpFitsEightyColumnsAndTheManPageHasEveryOption) {
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, kExitOk);
    std::istringstream lines(help.output);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80U) << line;
    }
    const std::string manPage = testing::FileContents(
        std::filesystem::path(TOLVEK_ORACLE_DIR) / ".." / ".." / "cli" / "tolvek-cli.1");
    std::size_t options = 0;
    for (std::size_t at = 0; (at = help.output.find("--", at)) != std::string::npos; ++options) {
        const std::size_t end = help.output.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-", at + 2);
        // As the man page spells it: "\fB\-\-files0\-from\fR".
        std::string spelled = "\\fB";
        for (const char byte : help.output.substr(at, end - at)) {
            spelled.append(byte == '-' ? "\\-" : std::string(1, byte));
        }
        spelled.append("\\fR");
        at = end;
        EXPECT_NE(manPage.find(spelled), std::string::npos) << spelled;
    }
    EXPECT_GT(options, 30U);
}

// The engine's start-up test, then every entry from SHA224 on, each by its known answer.
TEST(Cli, SelfTestNamesEveryAlgorithmItChecked) {
    const CliRun result = run({"--self-test"});
    EXPECT_EQ(result.exitCode, kExitOk);
    std::string expected = "No error\n";
    const std::span<const hashing::AlgorithmEntry> entries = hashing::AlgorithmEntries();
    for (auto entry = entries.begin() + (hashing::FindAlgorithm("sha224") - entries.data());
         entry != entries.end(); ++entry) {
        expected += std::string(entry->id) + " (" + std::string(entry->caption) + "): ok\n";
    }
    EXPECT_EQ(result.output, expected);
}


// What each kind of call prints and exits with (tests/cli/calls.cases, over the files of
// tests/cli/call_files.cases).
TEST(Cli, OutputAndExitCodes) {
    testing::TempFolder folder;
    for (const testing::Case& file : testing::ReadCaseFile("cli/call_files.cases")) {
        folder.write(file.get("Name"), file.get("Content"));
    }
    const auto inFolder = [&folder](const std::string& text) {
        return testing::Replaced(text, "{dir}", folder.path().string());
    };
    for (const testing::Case& call : testing::ReadCaseFile("cli/calls.cases")) {
        SCOPED_TRACE(call.where);
        const CliRun result = run(testing::SplitField(inFolder(call.get("Arguments")), '|'), "abc");
        EXPECT_EQ(result.exitCode, std::stoi(call.get("Exit")));
        EXPECT_EQ(result.output, inFolder(call.get("Output")));
        if (call.has("ErrorsStart")) {  // a usage text follows
            EXPECT_TRUE(result.errors.starts_with(call.get("ErrorsStart"))) << result.errors;
        } else {
            EXPECT_EQ(result.errors, inFolder(call.get("Errors")));
        }
    }
}

// Each entry's digest of a file is identified, as the only entry or among those that give it.
TEST(Cli, MatchIdentifiesEveryEntry) {
    testing::TempFolder folder;
    const std::string file = folder.write("data", "The quick brown fox jumps over the lazy dog");
    for (const hashing::AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        const std::string line = run({"-a", std::string(entry.id), "--tag", file}).output;
        const CliRun result = run({"--match", line.substr(line.rfind(' ') + 1), file});
        EXPECT_EQ(result.exitCode, kExitOk) << entry.id;
        std::istringstream ids(result.output.substr(file.size() + 1));
        const std::vector<std::string> matches{std::istream_iterator<std::string>(ids), {}};
        EXPECT_NE(std::ranges::find(matches, entry.id), matches.end())
            << entry.id << ": " << result.output;
    }
}


// A checksum list made line by line as it is read, noting at each line handed out how far the
// reading is ahead of the verdicts written to `output`. All of it is there at once, as in a
// file, so that the reader never waits for it.
class GeneratedList final : public std::streambuf {
public:
    GeneratedList(std::string line, std::size_t count, const std::ostringstream& output)
        : m_line(std::move(line)), m_left(count), m_output(output) {}
    std::size_t mostAhead() const { return m_mostAhead; }

private:
    std::streamsize showmanyc() override {
        return m_left > 0 ? static_cast<std::streamsize>(m_line.size()) : -1;
    }

    int_type underflow() override {
        if (m_left == 0) {
            return traits_type::eof();
        }
        --m_left;
        const auto written = static_cast<std::size_t>(std::ranges::count(m_output.str(), '\n'));
        m_mostAhead = std::max(m_mostAhead, ++m_handedOut - written);
        setg(m_line.data(), m_line.data(), m_line.data() + m_line.size());
        return traits_type::to_int_type(m_line.front());
    }

    std::string m_line;
    std::size_t m_left;
    const std::ostringstream& m_output;
    std::size_t m_handedOut = 0;
    std::size_t m_mostAhead = 0;
};

// -c checks a list while it reads it: each verdict comes while the lines after it are still
// unread, so that a list of any length is held only a window of lines at a time.
TEST(Cli, AListIsCheckedWhileItIsRead) {
    testing::TempFolder folder;
    const std::string file = folder.write("f", "abc");
    const std::size_t window = hashing::MostTasksHeld(engine::UsableCores());
    const std::size_t lineCount = 3 * window;
    std::ostringstream output;
    GeneratedList list(
        "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  " + file + "\n",
        lineCount, output);
    std::istream input(&list);
    std::ostringstream errors;
    EXPECT_EQ(RunCli({"-c", "-a", "sha256", "-"}, input, output, errors), kExitOk);
    EXPECT_EQ(errors.str(), "");
    EXPECT_EQ(std::ranges::count(output.str(), '\n'), static_cast<std::ptrdiff_t>(lineCount));
    // The one line more is the one being read.
    EXPECT_LE(list.mostAhead(), window + 1);
}
}  // namespace
}  // namespace tolvek::cli
