// The hand-over between tolvek-files starts without a socket: the message read back whatever the
// names hold and however it arrives, who serves after which answers, and the command line.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <deque>
#include <map>

#include "app/integration/FilesCommand.h"
#include "app/integration/FilesHandOver.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::integration {
namespace {

using State = DecodedNames::State;
using Names = std::vector<std::string>;

TEST(HandOverTest, NamesComeBackWholeFromEveryPrefixOfTheMessage) {
    const Names cases[] = {
        {},
        {"/tmp/a b/c d.iso"},
        {"/tmp/line\nend", "/tmp/carriage\rreturn", "/tmp/ünï €", "/tmp/-dash", "/tmp/\t"},
    };
    for (const Names& names : cases) {
        const std::string message = EncodeNames(names);
        for (std::size_t size = 0; size < message.size(); ++size) {
            ASSERT_EQ(DecodeNames(std::string_view(message).substr(0, size)).state,
                      State::Incomplete)
                << size;
        }
        const DecodedNames decoded = DecodeNames(message);
        EXPECT_EQ(decoded.state, State::Complete);
        EXPECT_EQ(decoded.names, names);
    }
}

TEST(HandOverTest, MessagesNotOursAreInvalid) {
    const std::string valid = EncodeNames({"/a"});
    const std::string cases[] = {
        "GET / HTTP/1.1\r\n",
        "tolvek-files 2\n/a\0\0",
        valid + "x",
        valid + std::string(1, '\0'),
        std::string("tolvek-files 1\n") + std::string(kMaxMessageBytes, 'a'),
    };
    for (const std::string& message : cases) {
        EXPECT_EQ(DecodeNames(message).state, State::Invalid) << message.substr(0, 20);
    }
}

// A port that answers each try from a script and records what was tried.
class ScriptedPort final : public InstancePort {
public:
    ScriptedPort(std::deque<Delivery> deliveries, std::deque<bool> claims)
        : m_deliveries(std::move(deliveries)), m_claims(std::move(claims)) {}
    Delivery send(const std::string&) override {
        log += "send ";
        return take(m_deliveries, Delivery::NoServer);
    }
    bool claimServing() override {
        log += "claim ";
        return take(m_claims, false);
    }
    void pause() override { log += "pause "; }
    std::string log;

private:
    template <typename T>
    static T take(std::deque<T>& script, T otherwise) {
        if (script.empty()) {
            return otherwise;
        }
        const T next = script.front();
        script.pop_front();
        return next;
    }
    std::deque<Delivery> m_deliveries;
    std::deque<bool> m_claims;
};

// tests/integration/hand_over.cases
TEST(HandOverTest, RoleFollowsTheAnswers) {
    const std::map<std::string, Delivery> deliveries = {{"delivered", Delivery::Delivered},
                                                        {"no server", Delivery::NoServer},
                                                        {"lost", Delivery::Lost},
                                                        {"refused", Delivery::Refused}};
    const std::map<std::string, Role> roles = {
        {"handed over", Role::HandedOver}, {"serve", Role::Serve}, {"alone", Role::StandAlone}};
    for (const testing::Case& scripted : testing::ReadCaseFile("integration/hand_over.cases", "")) {
        std::deque<Delivery> sent;
        std::deque<bool> claimed;
        for (const std::string& delivery : testing::SplitField(scripted.get("Deliveries"), '|')) {
            sent.push_back(deliveries.at(delivery));
        }
        for (const std::string& claim : testing::SplitField(scripted.get("Claims"), '|')) {
            claimed.push_back(claim == "yes");
        }
        ScriptedPort port(sent, claimed);
        EXPECT_EQ(ChooseRole(port, "m", 3), roles.at(scripted.get("Role"))) << scripted.where;
        EXPECT_EQ(port.log, scripted.get("Log")) << scripted.where;
    }
}

TEST(HandOverTest, RelativeNamesAreTakenFromTheWorkingFolder) {
    EXPECT_EQ(AbsoluteNames({"a b.iso", "/etc/x", "sub/../y", "-"}, "/home/u/dl"),
              (Names{"/home/u/dl/a b.iso", "/etc/x", "/home/u/dl/sub/../y", "/home/u/dl/-"}));
}

TEST(HandOverTest, SocketFolderIsTheUsersOwn) {
    EXPECT_EQ(InstanceFolderFrom("/run/user/1000", "/var/tmp", 1000), "/run/user/1000");
    EXPECT_EQ(InstanceFolderFrom("relative", "/var/tmp", 1000), "/var/tmp/tolvek-1000");
    EXPECT_EQ(InstanceFolderFrom(nullptr, nullptr, 7), "/tmp/tolvek-7");

    const testing::TempFolder temp;
    const std::filesystem::path created = temp.path() / "new";
    EXPECT_TRUE(PreparePrivateFolder(created));
    EXPECT_TRUE(PreparePrivateFolder(created));  // the second start finds it
    ::chmod(created.c_str(), 0777);
    EXPECT_FALSE(PreparePrivateFolder(created)) << "others could replace the socket";
    std::filesystem::create_directory_symlink(temp.path(), temp.path() / "link");
    EXPECT_FALSE(PreparePrivateFolder(temp.path() / "link")) << "a planted link";
}

// tests/integration/hand_over.cases
TEST(HandOverTest, CommandLine) {
    using Kind = FilesCommand::Kind;
    const std::map<std::string, Kind> kinds = {
        {"open", Kind::Open},       {"install menus", Kind::InstallMenus},
        {"version", Kind::Version}, {"remove menus", Kind::RemoveMenus},
        {"help", Kind::Help},       {"usage error", Kind::UsageError}};
    for (const testing::Case& call :
         testing::ReadCaseFile("integration/hand_over.cases", "Command")) {
        const FilesCommand command =
            ParseFilesCommand(testing::SplitField(call.get("Arguments"), '|'));
        EXPECT_EQ(command.kind, kinds.at(call.get("Kind"))) << call.where;
        EXPECT_EQ(command.names, testing::SplitField(call.get("Names"), '|')) << call.where;
    }
}

}  // namespace
}  // namespace tolvek::integration
