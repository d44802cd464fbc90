// The rule every save keeps, the settings file's and a saved checksum list's alike: the new
// bytes replace the old ones whole or not at all, the file keeps its mode, a symbolic link
// stays a link and its target gets the bytes, and when the disk is full, the folder cannot be
// written or a step of the save fails, the old file stays as it was, the save says it failed,
// and no temporary file is left behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "app/window/LanguageFile.h"
#include "tests/faults/FaultPlan.h"
#include "tests/faults/ListWindowRun.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"

namespace tolvek::faults {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms kOwnMode =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
const std::string kOldBytes = "the old file, which a failed save leaves whole\n";

struct SaveRoute {
    const char* name;
    const char* fileName;  // the name the save writes in `folder`
    // Saves into `folder`; true when the save says it was made.
    std::function<bool(const testing::TempFolder& folder)> save;
    const char* newBytes;
};

bool saveLanguageFile(const testing::TempFolder& folder) {
    return window::LanguageFile(folder.path(), {}).write("DEUTSCH", 7);
}

// The list window hashes a file dropped on it and saves the list under checksums.sha256,
// agreeing to replace the file there; a failure shows a message.
bool saveList(const testing::TempFolder& folder) {
    ListWindowRun run;
    run.window.DropHandler(folder.write("abc", "abc"));
    run.settle();
    run.port.saveName = folder.file("checksums.sha256");
    run.port.confirmAnswer = true;
    run.window.SaveListAction();
    return run.port.messages.empty();
}

const SaveRoute kRoutes[] = {
    {"SettingsFile", "sha.lng", saveLanguageFile, "DEUTSCH\r\n7\r\n"},
    // Published SHA-256 of "abc" (FIPS 180-2, appendix B.1); the name is relative to the list's
    // folder.
    {"ChecksumList", "checksums.sha256", saveList,
     "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  abc\n"},
};

struct SaveCase {
    const char* name;
    bool throughLink;  // the saved name is a symbolic link to a file in another folder
    FaultPlan plan;    // its path is set to the file the save replaces
    bool saved;
};

const SaveCase kCases[] = {
    {"Replaces", false, {}, true},
    {"WritesThroughALink", true, {}, true},
    {"DiskFull", false, {Fault::WriteFails, "", 5, ENOSPC}, false},
    {"DiskFullThroughALink", true, {Fault::WriteFails, "", 0, ENOSPC}, false},
    {"FolderReadOnly", false, {Fault::CreateFails, "", 0, EACCES}, false},
    {"FileSystemReadOnly", false, {Fault::CreateFails, "", 0, EROFS}, false},
    {"FlushFails", false, {Fault::FsyncFails, "", 0, EIO}, false},
    {"RenameFails", false, {Fault::RenameFails, "", 0, EIO}, false},
};

using Param = std::tuple<const SaveRoute*, SaveCase>;

class SaveTest : public ::testing::TestWithParam<Param> {};

TEST_P(SaveTest, ReplacesWholeKeepsModeAndLinkAndOnFailureLeavesTheOldFileAndNoTemporary) {
    const auto& [route, saveCase] = GetParam();
    const testing::TempFolder folder;
    const testing::TempFolder elsewhere;
    const std::string saved = folder.file(route->fileName);
    const std::string target = saveCase.throughLink ? elsewhere.write("target", kOldBytes)
                                                    : folder.write(route->fileName, kOldBytes);
    if (saveCase.throughLink) {
        // Relative, as links usually are: the target is found from the link's folder.
        fs::create_symlink(fs::relative(target, folder.path()), saved);
    }
    fs::permissions(target, kOwnMode);
    const std::vector<std::string> namesBefore = testing::NamesIn(folder.path());
    FaultPlan plan = saveCase.plan;
    // The save reaches the target through the link's folder: its name is matched from its own.
    plan.path = (fs::path(target).parent_path().filename() / fs::path(target).filename()).string();

    SetFaultPlan(plan);
    const bool reported = route->save(folder);
    const unsigned faults = FaultsMade();
    SetFaultPlan({});

    EXPECT_EQ(reported, saveCase.saved) << "the save says what happened";
    EXPECT_EQ(faults > 0, plan.fault != Fault::None) << "the fault happened";
    const std::string bytes = testing::FileContents(target);
    EXPECT_EQ(bytes, saveCase.saved ? route->newBytes : kOldBytes);
    EXPECT_EQ(fs::status(target).permissions(), kOwnMode);
    EXPECT_EQ(fs::is_symlink(saved), saveCase.throughLink);
    std::vector<std::string> namesAfter = testing::NamesIn(folder.path());
    std::erase(namesAfter, "abc");  // the list route's hashed file
    EXPECT_EQ(namesAfter, namesBefore) << "no temporary file left";
    const std::vector<std::string> elsewhereNames =
        saveCase.throughLink ? std::vector<std::string>{"target"} : std::vector<std::string>{};
    EXPECT_EQ(testing::NamesIn(elsewhere.path()), elsewhereNames);
}

std::string caseName(const ::testing::TestParamInfo<Param>& param) {
    return std::string(std::get<0>(param.param)->name) + "_" + std::get<1>(param.param).name;
}

INSTANTIATE_TEST_SUITE_P(EverySave, SaveTest,
                         ::testing::Combine(::testing::Values(&kRoutes[0], &kRoutes[1]),
                                            ::testing::ValuesIn(kCases)),
                         caseName);

}  // namespace
}  // namespace tolvek::faults
