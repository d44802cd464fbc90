// The user's one files window across processes, over a local socket: a start hands its names to
// the serving instance through QLocalSocket, the serving instance takes them through
// QLocalServer, and an flock()ed file beside the socket decides who serves. What to do when is
// ChooseRole's; this is the wiring.
#pragma once

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/integration/FilesHandOver.h"

class QLocalServer;

namespace tolvek::desktop {

class FilesInstance final : public integration::InstancePort {
public:
    using TakeNames = std::function<void(std::vector<std::string>)>;

    // The socket and its lock in `folder`; once serving, each complete message's names go to
    // `take` on this thread's event loop.
    FilesInstance(const std::filesystem::path& folder, TakeNames take);
    ~FilesInstance() override;
    FilesInstance(const FilesInstance&) = delete;
    FilesInstance& operator=(const FilesInstance&) = delete;

    integration::Delivery send(const std::string& message) override;
    bool claimServing() override;
    void pause() override;
    // Stops listening and frees the lock, so that the next start serves: called when the files
    // window goes, before the program has ended.
    void stopServing();

private:
    void acceptConnection();

    std::string m_socketPath;
    std::filesystem::path m_lockPath;
    TakeNames m_take;
    std::unique_ptr<QLocalServer> m_server;
    int m_lock = -1;
};

}  // namespace tolvek::desktop
