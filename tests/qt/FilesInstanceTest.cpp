// The hand-over over a real local socket, in this process: a server and two clients at once,
// names with spaces and line ends, a socket left by a server that died, and the lock that lets
// only one instance serve; then the files window that tolvek-files opens alone.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTreeView>
#include <fstream>
#include <atomic>
#include <cstring>
#include <thread>

#include "app/qt/FilesInstance.h"
#include "tests/qt/FrontEndFixture.h"
#include "tests/support/TempFolder.h"

namespace tolvek::desktop::testing {
namespace {

using integration::Delivery;
using Names = std::vector<std::string>;

class FilesInstanceTest : public ::testing::Test {
protected:
    // Each message sent from a thread of its own while this thread serves; the deliveries.
    std::vector<Delivery> sendAtOnce(const std::vector<std::string>& messages) {
        std::vector<Delivery> deliveries(messages.size(), Delivery::Lost);
        std::atomic<std::size_t> done = 0;
        std::vector<std::thread> clients;
        for (std::size_t index = 0; index < messages.size(); ++index) {
            clients.emplace_back([&, index] {
                FilesInstance client(folder.path(), {});
                deliveries[index] = client.send(messages[index]);
                ++done;
            });
        }
        QElapsedTimer waited;
        waited.start();
        while (done < messages.size() && waited.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        for (std::thread& client : clients) {
            client.join();
        }
        return deliveries;
    }

    tolvek::testing::TempFolder folder;
    std::vector<Names> received;
    FilesInstance server{folder.path(), [this](Names names) { received.push_back(names); }};
};

TEST_F(FilesInstanceTest, TwoClientsAtOnceHandTheirNamesToOneServer) {
    ASSERT_TRUE(server.claimServing());
    FilesInstance second(folder.path(), {});
    EXPECT_FALSE(second.claimServing()) << "two instances serve";

    const std::vector<Names> messages = {{"/tmp/a b/c d.iso", "/tmp/line\nend"},
                                         {"/tmp/carriage\rreturn", "/tmp/ünï"}};
    EXPECT_EQ(sendAtOnce({integration::EncodeNames(messages[0]),
                          integration::EncodeNames(messages[1])}),
              std::vector<Delivery>(2, Delivery::Delivered));
    ASSERT_EQ(received.size(), 2u);
    if (received.front() != messages.front()) {
        std::swap(received.front(), received.back());
    }
    EXPECT_EQ(received, messages);

    // Once the window is gone, the next start serves.
    server.stopServing();
    EXPECT_EQ(second.send(integration::EncodeNames({"/x"})), Delivery::NoServer);
    EXPECT_TRUE(second.claimServing());
}

TEST_F(FilesInstanceTest, SocketOfAServerThatDiedIsReplaced) {
    // A bound socket whose owner is gone: the file stays, and nobody accepts on it.
    const std::string path = (folder.path() / integration::kSocketName).string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(stale);

    EXPECT_EQ(integration::ChooseRole(server, integration::EncodeNames({"/a"})),
              integration::Role::Serve);
    EXPECT_EQ(sendAtOnce({integration::EncodeNames({"/b"})}),
              std::vector<Delivery>{Delivery::Delivered});
    EXPECT_EQ(received, std::vector<Names>{{"/b"}});
}

TEST_F(FilesInstanceTest, MessagesNotOursAreRefused) {
    ASSERT_TRUE(server.claimServing());
    EXPECT_EQ(sendAtOnce({"GET / HTTP/1.1\r\n\r\n"}), std::vector<Delivery>{Delivery::Refused});
    EXPECT_TRUE(received.empty());
}

TEST_F(RealEntriesTest, FilesWindowOpensAloneWithTheNamesAndLeavesShaLngAsItIs) {
    // Lower case: a start-up that saved would write the name in capitals.
    const std::string saved = "deutsch\r\n4\r\n";
    std::ofstream(exeFolder.path() / "sha.lng", std::ios::binary) << saved;
    const std::string list = files.write("SHA256SUMS", std::string(64, '0') + "  gone.txt\n");
    const std::string file = files.write("a b\nc.txt", "abc");

    ASSERT_EQ(frontEnd->startUpFilesWindow({list}), window::StartUpOutcome::ShowWindow);
    ListWindowView& filesView = frontEnd->listView();
    EXPECT_TRUE(filesView.isVisible());
    EXPECT_FALSE(view().isVisible()) << "the main window stays hidden";
    EXPECT_TRUE(filesView.screen()->availableGeometry().contains(filesView.pos()));
    EXPECT_LT(filesView.x(), view().frameGeometry().right())
        << "in the middle of the screen, not beside the hidden main window";
    EXPECT_EQ(frontEnd->window().LanguageBase(), 0) << "the saved language, German";
    const auto& rows = *filesView.findChild<QTreeView*>(QStringLiteral("ListRows"));
    waitForFilesWindow();
    EXPECT_EQ(rows.model()->rowCount(), 1);

    // What the next start hands over comes into the same window.
    frontEnd->openInFilesWindow({file, files.file("other.txt")});
    waitForFilesWindow();
    ASSERT_GE(rows.model()->rowCount(), 2);
    const QString last = CellOf(rows, rows.model()->rowCount() - 1, 0).toString();
    EXPECT_TRUE(last.endsWith(QStringLiteral("other.txt"))) << last.toStdString();
    EXPECT_EQ(savedFile(), saved);
}

}  // namespace
}  // namespace tolvek::desktop::testing
