// sha.lng: its bytes, reading and matching, the configuration-folder fallback, atomic saves,
// and a program that goes on whatever the file system does.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/core/LanguageFile.h"
#include "app/core/Languages.h"
#include "app/core/SystemPaths.h"
#include "tests/core/MainWindowFixture.h"

namespace tolvek::app::testing {
namespace {

namespace fs = std::filesystem;

std::string contentsOf(const fs::path& name) {
    std::ifstream file(name, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return file ? contents.str() : "<none>";
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

TEST(LanguageFileFormat, BytesOfTheFile) {
    EXPECT_EQ(FormatLanguageFile("ENGLISH", 3), "ENGLISH\r\n3\r\n");
    EXPECT_EQ(FormatLanguageFile(kLanguages[2].written, -1), "Portugu\xEAs-Brasil\r\n-1\r\n");
    EXPECT_EQ(FormatLanguageFile(kLanguages[3].written, 29), "Fran\347ais\r\n29\r\n");
}

TEST(LanguageFileFormat, Lines) {
    struct Case {
        std::string contents;
        std::string language;
        const char* position;
    };
    const Case cases[] = {
        {"DEUTSCH\r\n7\r\n", "DEUTSCH", "7"},
        {"DEUTSCH\n7\n", "DEUTSCH", "7"},
        {"DEUTSCH\r\n7", "DEUTSCH", "7"},
        {"DEUTSCH\r\n7\r\nmore\r\n", "DEUTSCH", "7"},
        {"DEUTSCH", "DEUTSCH", ""},
        {"DEUTSCH\r\n", "DEUTSCH", ""},
        {"\r\n7\r\n", "", "7"},
        {"", "", ""},
        // Only a carriage return right before the line feed belongs to the line end.
        {"DEU\rTSCH\r\r\n7\r\n", "DEU\rTSCH\r", "7"},
        {"DEUTSCH\r7\r\n", "DEUTSCH\r7", ""},
        {std::string("DE\0UTSCH\n7\n", 11), std::string("DE\0UTSCH", 8), "7"},
    };
    for (const Case& file : cases) {
        SCOPED_TRACE(file.contents);
        const LanguageFileLines lines = ParseLanguageFile(file.contents);
        EXPECT_EQ(lines.language, file.language);
        EXPECT_EQ(lines.position, file.position);
    }
}

class LanguageFileTest : public ::testing::Test {
protected:
    tolvek::testing::TempFolder root;
    fs::path exeFolder = root.path() / "bin";
    fs::path configFolder = root.path() / "config" / "tolvek";

    void SetUp() override { fs::create_directory(exeFolder); }
};

TEST_F(LanguageFileTest, SavedBesideTheExecutableAndReadBack) {
    const LanguageFile file(exeFolder, configFolder);
    ASSERT_TRUE(file.write(kLanguages[5].written, 21));
    EXPECT_EQ(contentsOf(exeFolder / "sha.lng"), "Espa\xF1ol\r\n21\r\n");
    EXPECT_FALSE(fs::exists(configFolder));
    const LanguageFileLines lines = file.read();
    EXPECT_EQ(lines.language, "Espa\xF1ol");
    EXPECT_EQ(lines.position, "21");
}

TEST_F(LanguageFileTest, SavingReplacesTheWholeFileAndLeavesNoTemporaryFile) {
    std::ofstream(exeFolder / "sha.lng")
        << "FOR_TRANSLATE\r\n-1\r\nand a long tail to be cut off\r\n";
    ASSERT_TRUE(LanguageFile(exeFolder, configFolder).write("ENGLISH", 3));
    EXPECT_EQ(contentsOf(exeFolder / "sha.lng"), "ENGLISH\r\n3\r\n");
    EXPECT_EQ(namesIn(exeFolder), std::vector<std::string>{"sha.lng"});
}

TEST_F(LanguageFileTest, UnwritableExecutableFolderSavesInTheConfigFolder) {
    // A missing folder cannot be written by anyone, root included.
    const fs::path installed = root.path() / "missing";
    const LanguageFile file(installed, configFolder);
    ASSERT_TRUE(file.write("DEUTSCH", 7));
    EXPECT_EQ(contentsOf(configFolder / "sha.lng"), "DEUTSCH\r\n7\r\n");
    EXPECT_EQ(file.read().language, "DEUTSCH");
}

TEST_F(LanguageFileTest, FailedSaveBesideTheExecutableFallsBackAndLeavesNoTrace) {
    // A folder named sha.lng cannot be replaced by a file.
    fs::create_directory(exeFolder / "sha.lng");
    const LanguageFile file(exeFolder, configFolder);
    ASSERT_TRUE(file.write("DANISH", 1));
    EXPECT_EQ(namesIn(exeFolder), std::vector<std::string>{"sha.lng"});
    EXPECT_TRUE(fs::is_directory(exeFolder / "sha.lng"));
    EXPECT_EQ(file.read().language, "DANISH");
}

TEST_F(LanguageFileTest, NowhereToSaveIsSkipped) {
    const LanguageFile file(root.path() / "missing", fs::path{});
    EXPECT_FALSE(file.write("ENGLISH", 3));
    const LanguageFileLines lines = file.read();
    EXPECT_EQ(lines.language, "");
    EXPECT_EQ(lines.position, "");
}

TEST_F(LanguageFileTest, ConfigFolderIsReadWhenTheExecutableFolderHasNoFile) {
    fs::create_directories(configFolder);
    std::ofstream(configFolder / "sha.lng") << "Russian\r\n9\r\n";
    EXPECT_EQ(LanguageFile(exeFolder, configFolder).read().language, "Russian");

    std::ofstream(exeFolder / "sha.lng") << "Croatian\r\n9\r\n";
    EXPECT_EQ(LanguageFile(exeFolder, configFolder).read().language, "Croatian");
}

TEST_F(LanguageFileTest, SomethingOtherThanAFileReadsAsNoFile) {
    ASSERT_EQ(::mkfifo((exeFolder / "sha.lng").c_str(), 0600), 0);
    // A FIFO with no writer would block a plain open for reading forever.
    EXPECT_EQ(LanguageFile(exeFolder, fs::path{}).read().language, "");
    fs::remove(exeFolder / "sha.lng");
    fs::create_directory(exeFolder / "sha.lng");
    EXPECT_EQ(LanguageFile(exeFolder, fs::path{}).read().language, "");
}

TEST_F(LanguageFileTest, HugeFileIsReadOnlyAsFarAsItsFirstLines) {
    std::ofstream(exeFolder / "sha.lng") << "DEUTSCH\r\n4\r\n" << std::string(1 << 20, 'x');
    const LanguageFileLines lines = LanguageFile(exeFolder, configFolder).read();
    EXPECT_EQ(lines.language, "DEUTSCH");
    EXPECT_EQ(lines.position, "4");
}

using LanguageFileStartUpTest = MainWindowTest;

TEST_F(LanguageFileStartUpTest, InstalledProgramKeepsItsChoicesInTheConfigFolder) {
    windows.exeFolder = exeFolder.path() / "read-only-install";
    startUp();
    selectAlgorithm(8);
    window.CloseHandler();
    EXPECT_EQ(contentsOf(windows.userConfigFolder / "sha.lng"), "ENGLISH\r\n8\r\n");

    // The next run reads the choices back from there.
    selectAlgorithm(3);
    startUp();
    EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), 8);
}

TEST_F(LanguageFileStartUpTest, NoWritableFolderStillStartsAndCloses) {
    windows.exeFolder = exeFolder.path() / "missing";
    windows.userConfigFolder.clear();
    EXPECT_EQ(startUp({existingFile("file")}), StartUpOutcome::ShowWindow);
    EXPECT_EQ(windows.text(Control::HashFileButton), "Hash file");
    EXPECT_EQ(digestField(), "file3");
    window.CloseHandler();
    EXPECT_TRUE(windows.messages.empty());
}

TEST(SystemPaths, ConfigFolder) {
    EXPECT_EQ(ConfigFolderFrom("/xdg", "/home/u"), fs::path("/xdg/tolvek"));
    EXPECT_EQ(ConfigFolderFrom("relative", "/home/u"), fs::path("/home/u/.config/tolvek"));
    EXPECT_EQ(ConfigFolderFrom("", "/home/u"), fs::path("/home/u/.config/tolvek"));
    EXPECT_EQ(ConfigFolderFrom(nullptr, "/home/u"), fs::path("/home/u/.config/tolvek"));
    EXPECT_EQ(ConfigFolderFrom(nullptr, ""), fs::path());
    EXPECT_EQ(ConfigFolderFrom(nullptr, nullptr), fs::path());
}

TEST(SystemPaths, ExistingFileIsNotADirectory) {
    const tolvek::testing::TempFolder folder;
    const std::string file = folder.write("file", "abc");
    fs::create_symlink(file, folder.path() / "link");
    fs::create_symlink(folder.path() / "gone", folder.path() / "dangling");
    EXPECT_TRUE(IsExistingFile(file));
    EXPECT_TRUE(IsExistingFile(folder.file("link")));
    EXPECT_FALSE(IsExistingFile(folder.path().string()));
    EXPECT_FALSE(IsExistingFile(folder.file("dangling")));
    EXPECT_FALSE(IsExistingFile(folder.file("missing")));
    EXPECT_FALSE(IsExistingFile(""));
}

TEST(SystemPaths, ExecutableFolderHoldsThisTest) {
    const fs::path folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::exists(folder / "core_tests"));
}

}  // namespace
}  // namespace tolvek::app::testing
