// tolvek-cli's output and exit codes for good and bad input.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"
#include "tests/support/TempFolder.h"

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

TEST(Cli, StringDigestAlone) {
    const CliRun result = run({"-a", "sha256", "-s", "abc"});
    EXPECT_EQ(result.exitCode, kExitOk);
    EXPECT_EQ(result.output, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n");
    EXPECT_EQ(result.errors, "");
}

TEST(Cli, AlgorithmByCaptionIgnoringCase) {
    EXPECT_EQ(run({"-a", "Sha1", "-s", ""}).output, "da39a3ee5e6b4b0d3255bfef95601890afd80709\n");
    EXPECT_EQ(run({"-a", "SHA1", "-s", ""}).output, "da39a3ee5e6b4b0d3255bfef95601890afd80709\n");
}

TEST(Cli, FilesAndStandardInput) {
    testing::TempFolder folder;
    const std::string name = folder.write("abc.txt", "abc");
    const CliRun result = run({"-a", "md5", name, "-"}, "abc");
    EXPECT_EQ(result.exitCode, kExitOk);
    EXPECT_EQ(result.output, "900150983cd24fb0d6963f7d28e17f72  " + name +
                                 "\n900150983cd24fb0d6963f7d28e17f72  -\n");
}

TEST(Cli, FailedFileIsReportedAndTheOthersStillHashed) {
    testing::TempFolder folder;
    const std::string good = folder.write("good", "abc");
    const std::string missing = folder.file("missing");
    const CliRun result = run({"-a", "sha1", missing, good});
    EXPECT_EQ(result.exitCode, kExitFailure);
    EXPECT_EQ(result.output, "a9993e364706816aba3e25717850c26c9cd0d89d  " + good + "\n");
    EXPECT_EQ(result.errors, "tolvek-cli: " + missing + ": No such file or directory\n");
}

// Published digests of "abc": RFC 1321, FIPS 180-4, and zlib's crc32.
TEST(Cli, SeveralAlgorithmsPrintBsdLinesFromOneRead) {
    testing::TempFolder folder;
    const std::string name = folder.write("abc.txt", "abc");
    const CliRun result = run({"-a", "md5,SHA1,Crc32", name, "-"}, "abc");
    EXPECT_EQ(result.exitCode, kExitOk);
    EXPECT_EQ(result.output, "MD5 (" + name + ") = 900150983cd24fb0d6963f7d28e17f72\n"
                             "SHA1 (" + name + ") = a9993e364706816aba3e25717850c26c9cd0d89d\n"
                             "CRC32 (" + name + ") = 352441c2\n"
                             "MD5 (-) = 900150983cd24fb0d6963f7d28e17f72\n"
                             "SHA1 (-) = a9993e364706816aba3e25717850c26c9cd0d89d\n"
                             "CRC32 (-) = 352441c2\n");
    EXPECT_EQ(run({"-a", "md5,crc32", "-s", "abc"}).output,
              "MD5 (\"abc\") = 900150983cd24fb0d6963f7d28e17f72\nCRC32 (\"abc\") = 352441c2\n");
}

// As sha256sum prints such names: a backslash first on the line, "\\" and "\n" in the name;
// messages name the file the same way.
TEST(Cli, NamesWithBackslashesOrLineEndsAreEscaped) {
    testing::TempFolder folder;
    const std::string name = folder.write("a\nb\\c", "abc");
    const std::string shown = folder.path().string() + "/a\\nb\\\\c";
    EXPECT_EQ(run({"-a", "md5", name}).output, "\\900150983cd24fb0d6963f7d28e17f72  " + shown + "\n");
    EXPECT_EQ(run({"-a", "md5,crc32", name}).output,
              "\\MD5 (" + shown + ") = 900150983cd24fb0d6963f7d28e17f72\n\\CRC32 (" + shown +
                  ") = 352441c2\n");
    const CliRun missing = run({"-a", "md5", "gone\n"});
    EXPECT_EQ(missing.errors, "tolvek-cli: 'gone'$'\\n': No such file or directory\n");
}

TEST(Cli, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"-a"},
        {"-s"},
        {"-a", "nosuch", "-s", "abc"},
        {"--bogus"},
        {"-s", "abc", "file"},
        {"-a", "md5,nosuch", "-s", "abc"},
        {"-a", "md5,", "-s", "abc"},
    };
    for (const auto& arguments : cases) {
        const CliRun result = run(arguments);
        EXPECT_EQ(result.exitCode, kExitUsage) << ::testing::PrintToString(arguments);
        EXPECT_EQ(result.output, "");
        EXPECT_NE(result.errors, "");
    }
}

TEST(Cli, ListNamesEveryAlgorithm) {
    const CliRun result = run({"--list"});
    EXPECT_EQ(result.exitCode, kExitOk);
    EXPECT_NE(result.output.find("sha256\tSHA256\tSHA-256 (FIPS 180-4)\n"), std::string::npos);
    EXPECT_NE(result.output.find("whirlpool\tWhirlpool (2003)\t"), std::string::npos);
}

TEST(Cli, ARetiredIdNamesItsSuccessor) {
    const CliRun result = run({"-a", "Whirlpool1", "-s", "abc"});
    EXPECT_EQ(result.exitCode, kExitUsage);
    EXPECT_NE(result.errors.find("whirlpoolt"), std::string::npos);
}

TEST(Cli, DashDashEndsOptions) {
    const CliRun result = run({"-a", "sha1", "--", "-s"});
    EXPECT_EQ(result.exitCode, kExitFailure);
    EXPECT_EQ(result.errors, "tolvek-cli: -s: No such file or directory\n");
}

TEST(Cli, SelfTestSaysNoError) {
    const CliRun result = run({"--self-test"});
    EXPECT_EQ(result.exitCode, kExitOk);
    EXPECT_EQ(result.output, "No error\n");
}

}  // namespace
}  // namespace tolvek::cli
