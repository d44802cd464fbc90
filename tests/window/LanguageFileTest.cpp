// sha.lng: its bytes, reading and matching, the configuration-folder fallback, atomic saves,
// and a program that goes on whatever the file system does.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <fstream>
#include <regex>

#include "app/window/LanguageFile.h"
#include "app/window/Languages.h"
#include "app/window/SystemPaths.h"
#include "tests/window/MainWindowFixture.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/VectorFile.h"

namespace tolvek::window::testing {
namespace {

namespace fs = std::filesystem;
using tolvek::testing::NamesIn;

using tolvek::testing::SavedBytes;

TEST(LanguageFileFormat, Lines) {
    for (const tolvek::testing::Case& file :
         tolvek::testing::ReadCaseFile("window/window_texts.cases", "ParseLanguageFile")) {
        const LanguageFileLines lines = ParseLanguageFile(file.get("Contents"));
        EXPECT_EQ(lines.language, file.get("Language")) << file.where;
        EXPECT_EQ(lines.position, file.get("Position")) << file.where;
    }
}

class LanguageFileTest : public ::testing::Test {
protected:
    tolvek::testing::TempFolder root;
    fs::path exeFolder = root.path() / "bin";
    fs::path configFolder = root.path() / "config" / "tolvek";

    void SetUp() override { fs::create_directory(exeFolder); }
};

// Takes every write bit of a folder away for the object's life; with no write bit the folder
// counts as read-only for the superuser too.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(fs::path folder) : m_folder(std::move(folder)) {
        fs::permissions(m_folder, fs::perms::owner_write | fs::perms::group_write |
                                      fs::perms::others_write,
                        fs::perm_options::remove);
    }
    ~ReadOnlyFolder() { fs::permissions(m_folder, fs::perms::owner_write, fs::perm_options::add); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    fs::path m_folder;
};

// One place at a time: beside the executable while that folder can be written and is not an
// installed copy's bin folder, else in the configuration folder, whose missing file lets the
// executable folder's own one be read (tests/window/language_file_places.cases).
TEST_F(LanguageFileTest, OnePlaceAtATime) {
    constexpr const char* kNone = "<none>";
    for (const tolvek::testing::Case& place :
         tolvek::testing::ReadCaseFile("window/language_file_places.cases")) {
        SCOPED_TRACE(place.get("Name"));
        fs::remove_all(root.path() / "config");
        fs::remove_all(root.path() / "share");
        fs::remove(exeFolder / "sha.lng");
        if (place.get("Beside") != kNone) {
            std::ofstream(exeFolder / "sha.lng") << place.get("Beside");
        }
        if (place.get("InConfig") != kNone) {
            fs::create_directories(configFolder);
            std::ofstream(configFolder / "sha.lng") << place.get("InConfig");
        }
        if (place.get("Installed") == "yes") {
            fs::create_directories(root.path() / "share" / "applications");
            std::ofstream(root.path() / "share" / "applications" / "tolvek.desktop");
        }
        std::optional<ReadOnlyFolder> readOnly;
        if (place.get("Writable") == "no") {
            readOnly.emplace(exeFolder);
        }
        const LanguageFile file(exeFolder,
                                place.get("HasConfig") == "yes" ? configFolder : fs::path{});
        EXPECT_EQ(file.read().language, place.get("Read"));
        const std::string saved = "ENGLISH\r\n5\r\n";
        EXPECT_EQ(file.write("ENGLISH", 5),
                  place.get("SavedBeside") == saved || place.get("SavedInConfig") == saved);
        readOnly.reset();
        EXPECT_EQ(SavedBytes(exeFolder / "sha.lng"), place.get("SavedBeside"));
        EXPECT_EQ(SavedBytes(configFolder / "sha.lng"), place.get("SavedInConfig"));
        EXPECT_EQ(fs::exists(configFolder), place.get("SavedInConfig") != kNone) << "made if used";
    }
}

// A save respects the file it replaces: a file without write bits is pinned, and a dangling link
// keeps pointing where it did (SaveTest has a link to a file, and the mode kept).
TEST_F(LanguageFileTest, SaveRespectsTheFileItReplaces) {
    const fs::path target = root.path() / "elsewhere" / "settings";
    fs::create_directory(target.parent_path());
    const fs::path saved = exeFolder / "sha.lng";
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* expected;              // the bytes behind sha.lng after the save
        std::optional<fs::perms> mode;     // and their mode, when it is the old one
    };
    const fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const Case cases[] = {
        {"pinned", [&] {
             std::ofstream(saved) << "DEUTSCH\r\n7\r\n";
             fs::permissions(saved, kReadOnly);
         }, "DEUTSCH\r\n7\r\n", kReadOnly},
        {"dangling link", [&] { fs::create_symlink(target, saved); }, "ENGLISH\r\n5\r\n",
         std::nullopt},
    };
    for (const Case& file : cases) {
        SCOPED_TRACE(file.name);
        fs::remove(saved);
        fs::remove(target);
        file.prepare();
        const bool link = fs::is_symlink(saved);
        LanguageFile(exeFolder, configFolder).write("ENGLISH", 5);
        EXPECT_EQ(SavedBytes(saved), file.expected);
        if (file.mode) {
            EXPECT_EQ(fs::status(saved).permissions(), *file.mode);
        }
        EXPECT_EQ(fs::is_symlink(saved), link);
        EXPECT_EQ(NamesIn(exeFolder), std::vector<std::string>{"sha.lng"});
        EXPECT_EQ(NamesIn(target.parent_path()).size(), link ? 1U : 0U);
        fs::permissions(saved, fs::perms::owner_write, fs::perm_options::add);
    }
}

// A temporary file left by a program killed mid-save goes with the next save; one of a
// program still running stays.
TEST_F(LanguageFileTest, SaveRemovesTemporaryFilesOfGonePrograms) {
    const fs::path gone = exeFolder / ("sha.lng.tmp-" + std::to_string(INT_MAX) + "-0");
    const fs::path running = exeFolder / "sha.lng.tmp-1-0";
    const fs::path unrelated = exeFolder / "other.tmp-2147483647-0";
    for (const fs::path& name : {gone, running, unrelated}) {
        std::ofstream(name) << "ENG";
    }
    ASSERT_TRUE(LanguageFile(exeFolder, configFolder).write("ENGLISH", 5));
    EXPECT_EQ(NamesIn(exeFolder),
              (std::vector<std::string>{"other.tmp-2147483647-0", "sha.lng",
                                                            "sha.lng.tmp-1-0"}));
}

TEST_F(LanguageFileTest, SomethingOtherThanAFileReadsAsNoFile) {
    ASSERT_EQ(::mkfifo((exeFolder / "sha.lng").c_str(), 0600), 0);
    // A FIFO with no writer would block a plain open for reading forever.
    EXPECT_EQ(LanguageFile(exeFolder, fs::path{}).read().language, "");
    fs::remove(exeFolder / "sha.lng");
    fs::create_directory(exeFolder / "sha.lng");
    EXPECT_EQ(LanguageFile(exeFolder, fs::path{}).read().language, "");
}

// `text` with each {N*c} written out as N copies of c.
std::string expanded(std::string text) {
    static const std::regex kRun(R"(\{(\d+)\*(.)\})");
    for (std::smatch run; std::regex_search(text, run, kRun);) {
        text.replace(run.position(), run.length(), std::stoul(run[1]), run.str(2).front());
    }
    return text;
}

// tests/window/window_texts.cases
TEST_F(LanguageFileTest, LongLinesAndHugeFiles) {
    for (const tolvek::testing::Case& file :
         tolvek::testing::ReadCaseFile("window/window_texts.cases", "Long lines")) {
        std::ofstream(exeFolder / "sha.lng", std::ios::binary | std::ios::trunc)
            << expanded(file.get("Contents"));
        const LanguageFileLines lines = LanguageFile(exeFolder, configFolder).read();
        EXPECT_EQ(lines.language, expanded(file.get("Language"))) << file.where;
        EXPECT_EQ(lines.position, expanded(file.get("Position"))) << file.where;
    }
}

using LanguageFileStartUpTest = MainWindowTest;

// A folder that cannot be written, and the writable bin folder of a copy installed under a
// prefix of the user's own.
TEST_F(LanguageFileStartUpTest, InstalledProgramKeepsItsChoicesInTheConfigFolder) {
    const fs::path prefix = exeFolder.path() / "prefix";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "applications");
    std::ofstream(prefix / "share" / "applications" / "tolvek.desktop");
    for (const fs::path& folder : {exeFolder.path() / "missing", prefix / "bin"}) {
        SCOPED_TRACE(folder);
        fs::remove(windows.userConfigFolder / "sha.lng");
        windows.exeFolder = folder;
        selectAlgorithm(3);
        startUp();
        selectAlgorithm(8);
        window.CloseHandler();
        EXPECT_EQ(SavedBytes(windows.userConfigFolder / "sha.lng"), "ENGLISH\r\n8\r\n");
        EXPECT_FALSE(fs::exists(folder / "sha.lng"));

        // The next run reads the choices back from there.
        selectAlgorithm(3);
        startUp();
        EXPECT_EQ(windows.selectedPosition(Control::AlgorithmList), 8);
    }
}

TEST_F(LanguageFileStartUpTest, NoWritableFolderStillStartsAndCloses) {
    windows.exeFolder = exeFolder.path() / "missing";
    windows.userConfigFolder.clear();
    EXPECT_EQ(startUp({existingFile("file")}), StartUpOutcome::ShowWindow);
    EXPECT_EQ(windows.text(Control::HashFileButton), "Hash file");
    EXPECT_EQ(digestField(), "f11e03");
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
    EXPECT_TRUE(fs::exists(folder / "window_tests"));
}

}  // namespace
}  // namespace tolvek::window::testing
