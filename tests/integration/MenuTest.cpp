// --install-menus and --remove-menus into a temporary home: every shim in its place and valid by
// its format's rules, each running a program that exists, Thunar's uca.xml merged without losing
// the user's actions, and the round trip leaving the home as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <fstream>
#include <regex>
#include <set>

#include "app/integration/MenuInstall.h"
#include "app/integration/MenuShims.h"
#include "app/integration/ThunarActions.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"

namespace tolvek::integration {
namespace {

namespace fs = std::filesystem;
using tolvek::testing::FileContents;

const std::string kUserAction =
    "<action>\n\t<icon>utilities-terminal</icon>\n\t<name>Open Terminal Here</name>\n"
    "\t<unique-id>1234567890-1</unique-id>\n\t<command>exo-open --launch TerminalEmulator "
    "--working-directory %f</command>\n\t<patterns>*</patterns>\n\t<directories/>\n</action>\n";

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// Every file below `folder` with its contents, so that a round trip can be compared.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder)] = FileContents(entry.path());
        }
    }
    return files;
}

// A key file as the desktop formats write it: comments, [groups], Key or Key[locale] = value.
// Gives the keys of each group, or fails on the first line that is none of these.
std::map<std::string, std::set<std::string>> keyFileGroups(const fs::path& file) {
    static const std::regex kGroup(R"(\[([^\[\]]+)\])");
    static const std::regex kKey(R"(([A-Za-z0-9-]+)(\[[A-Za-z_@]+\])?=.*)");
    std::map<std::string, std::set<std::string>> groups;
    std::ifstream in(file);
    std::string group;
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (std::regex_match(line, match, kGroup)) {
            group = match[1];
            groups[group];
        } else if (std::regex_match(line, match, kKey) && !group.empty()) {
            groups[group].insert(match[1]);
        } else {
            ADD_FAILURE() << file << ": not a key file line: " << line;
        }
    }
    return groups;
}

class MenuTest : public ::testing::Test {
protected:
    MenuTest() {
        program = home.write("tolvek-files", "#!/bin/sh\n");
        fs::permissions(program, fs::perms(0755));
        fs::create_directories(system / "xdg" / "Thunar");
    }
    MenuFolders folders() const {
        return {home.path() / "data", {system / "share"}, home.path() / "config",
                {system / "xdg"}};
    }
    fs::path userFile(const ShimFile& shim) const { return home.path() / "data" / shim.relative; }
    fs::path uca() const { return home.path() / "config" / "Thunar" / "uca.xml"; }

    tolvek::testing::TempFolder home;
    tolvek::testing::TempFolder systemFolder;
    fs::path system = systemFolder.path();
    std::string program;
};

TEST_F(MenuTest, EveryShimIsValidAndRunsTheProgram) {
    const MenuReport report = InstallMenus(folders(), program);
    ASSERT_FALSE(report.failed) << ::testing::PrintToString(report.lines);
    const std::string exec = "Exec=" + program + " %F";
    for (const ShimFile& shim : MenuShims(program)) {
        const fs::path file = userFile(shim);
        SCOPED_TRACE(file);
        ASSERT_TRUE(fs::exists(file));
        EXPECT_EQ(::access(file.c_str(), X_OK) == 0, shim.executable);
        const std::string contents = FileContents(file);
        EXPECT_NE(contents.find(program), std::string::npos);
        const std::string extension = file.extension();
        if (extension == ".py") {
            EXPECT_EQ(run("python3 -m py_compile '" + file.string() + "'"), 0);
            continue;
        }
        if (extension.empty()) {  // a Nautilus script
            EXPECT_EQ(run("sh -n '" + file.string() + "'"), 0);
            continue;
        }
        const auto groups = keyFileGroups(file);
        if (shim.relative.parent_path() == "applications") {
            EXPECT_EQ(run("desktop-file-validate '" + file.string() + "'"), 0);
        } else if (groups.contains("Nemo Action")) {
            EXPECT_TRUE(groups.at("Nemo Action").contains("Selection"));
        } else if (groups.contains("X-Action-Profile files")) {  // file-manager actions
            EXPECT_TRUE(groups.at("Desktop Entry").contains("Profiles"));
            EXPECT_TRUE(groups.at("X-Action-Profile files").contains("MimeTypes"));
        } else {  // a KDE service menu
            EXPECT_TRUE(groups.at("Desktop Entry").contains("Actions"));
        }
        EXPECT_NE(contents.find(exec + "\n"), std::string::npos);
        EXPECT_TRUE(std::any_of(groups.begin(), groups.end(),
                                [](const auto& group) { return group.second.contains("Name"); }));
    }
    // Thunar's file: well-formed XML whose commands run the program.
    EXPECT_EQ(run("xmllint --noout '" + uca().string() + "'"), 0);
    EXPECT_NE(FileContents(uca()).find("<command>" + program + " %F</command>"),
              std::string::npos);
}

TEST_F(MenuTest, RoundTripLeavesTheHomeAsItWasAndKeepsOthersFiles) {
    const fs::path script = home.path() / "data" / "nautilus" / "scripts" / "Compute digests";
    fs::create_directories(script.parent_path());
    std::ofstream(script) << "#!/bin/sh\necho the user's own\n";
    fs::create_directories(uca().parent_path());
    std::ofstream(uca()) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n"
                         << kUserAction << "</actions>\n";
    const auto before = snapshot(home.path());

    ASSERT_FALSE(InstallMenus(folders(), program).failed);
    const auto installed = snapshot(home.path());
    ASSERT_FALSE(InstallMenus(folders(), program).failed);
    EXPECT_EQ(snapshot(home.path()), installed) << "installing twice changes nothing";
    EXPECT_EQ(FileContents(script), before.at("data/nautilus/scripts/Compute digests"));
    const std::string merged = FileContents(uca());
    EXPECT_NE(merged.find(kUserAction), std::string::npos);
    EXPECT_EQ(merged.find(kUserAction), merged.rfind(kUserAction));
    EXPECT_NE(merged.find("<unique-id>tolvek-files-check</unique-id>"), std::string::npos);

    const MenuReport removed = RemoveMenus(folders());
    EXPECT_FALSE(removed.failed);
    EXPECT_EQ(snapshot(home.path()), before);

    // A user without a uca.xml and a system without one has none again.
    fs::remove(uca());
    ASSERT_FALSE(InstallMenus(folders(), program).failed);
    ASSERT_FALSE(RemoveMenus(folders()).failed);
    EXPECT_FALSE(fs::exists(uca()));
}

TEST_F(MenuTest, SystemCopiesAreNotInstalledAgain) {
    const std::vector<ShimFile> shims = MenuShims("tolvek-files");
    for (const ShimFile& shim : shims) {
        if (shim.systemWide) {
            fs::create_directories((system / "share" / shim.relative).parent_path());
            std::ofstream(system / "share" / shim.relative) << shim.contents;
        }
    }
    ASSERT_FALSE(InstallMenus(folders(), program).failed);
    for (const ShimFile& shim : shims) {
        EXPECT_EQ(fs::exists(userFile(shim)), !shim.systemWide) << shim.relative;
    }
}

TEST(ThunarMergeTest, KeepsEveryOtherActionAndText) {
    const std::string ours = ThunarActions("/bin/tolvek-files");
    const std::string header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const struct {
        const char* what;
        std::string before;
        std::string after;
    } cases[] = {
        {"an empty file of ours", std::string(kEmptyUcaFile),
         header + "<actions>\n" + ours + "</actions>\n"},
        {"the user's action stays first", header + "<actions>\n" + kUserAction + "</actions>\n",
         header + "<actions>\n" + kUserAction + ours + "</actions>\n"},
        {"an older copy of ours is replaced",
         header + "<actions>\n" + ThunarActions("/old/tolvek-files") + kUserAction +
             "</actions>\n",
         header + "<actions>\n" + kUserAction + ours + "</actions>\n"},
        {"a root without children", header + "<actions/>\n",
         header + "<actions>\n" + ours + "</actions>\n"},
    };
    for (const auto& [what, before, after] : cases) {
        EXPECT_EQ(MergeThunarActions(before, ours), after) << what;
        // Taking ours out gives the user's text back.
        const std::string userOnly = *MergeThunarActions(after, "");
        EXPECT_EQ(userOnly.find("tolvek-files"), std::string::npos) << what;
        EXPECT_EQ(MergeThunarActions(userOnly, ours), after) << what;
    }
    EXPECT_EQ(MergeThunarActions("<not-actions/>", ours), std::nullopt);
    EXPECT_EQ(MergeThunarActions("", ours), std::nullopt);
}

TEST(MenuShimTest, ListTypesAreTheInstalledOnes) {
    const std::string definitions = FileContents(TOLVEK_LIST_TYPES);
    std::size_t defined = 0;
    for (std::size_t at = 0; (at = definitions.find("<mime-type ", at)) != std::string::npos;
         ++at) {
        ++defined;
    }
    EXPECT_EQ(ChecksumListTypes().size(), defined);
    for (const ListType& type : ChecksumListTypes()) {
        const std::size_t start =
            definitions.find("<mime-type type=\"" + std::string(type.mimeType) + "\">");
        ASSERT_NE(start, std::string::npos) << type.mimeType;
        const std::string element = definitions.substr(start, definitions.find("</mime-type>",
                                                                               start) - start);
        for (const std::string_view glob : type.globs) {
            EXPECT_NE(element.find("pattern=\"" + std::string(glob) + "\""), std::string::npos)
                << glob;
        }
    }
}

TEST(MenuShimTest, OnlyPlainCommandsAreWritten) {
    EXPECT_TRUE(IsPlainCommand("/home/u/.local/bin/tolvek-files"));
    for (const char* command : {"", "/home/John Smith/tolvek-files", "/a/%F", "/a/\"b", "/a/$x"}) {
        EXPECT_FALSE(IsPlainCommand(command)) << command;
    }
    const MenuFolders folders{"/nonexistent/data", {}, "/nonexistent/config", {}};
    EXPECT_TRUE(InstallMenus(folders, "/a b/tolvek-files").failed);
}

}  // namespace
}  // namespace tolvek::integration
