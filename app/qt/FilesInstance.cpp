#include "app/qt/FilesInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace tolvek::desktop {

using integration::Delivery;

namespace {

constexpr int kConnectLimitMs = 1000;

QString fromBytes(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FilesInstance::FilesInstance(const std::filesystem::path& folder, TakeNames take)
    : m_socketPath((folder / integration::kSocketName).string()),
      m_lockPath(folder / integration::kLockName),
      m_take(std::move(take)) {}

FilesInstance::~FilesInstance() {
    stopServing();
}

Delivery FilesInstance::send(const std::string& message) {
    QLocalSocket socket;
    socket.connectToServer(fromBytes(m_socketPath));
    if (!socket.waitForConnected(kConnectLimitMs)) {
        return Delivery::NoServer;
    }
    socket.write(message.data(), static_cast<qint64>(message.size()));
    const QDeadlineTimer deadline(integration::kAnswerLimit.count());
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            return Delivery::Lost;
        }
    }
    QByteArray answer;
    while (!answer.endsWith('\n')) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return Delivery::Lost;
        }
        answer += socket.readAll();
    }
    return answer.toStdString() == integration::kTakenReply ? Delivery::Delivered
                                                            : Delivery::Refused;
}

bool FilesInstance::claimServing() {
    if (m_server) {
        return true;
    }
    const int lock = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0) {
        return false;
    }
    if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        return false;
    }
    // Whoever held the lock before has ended; a socket it left is nobody's now.
    QLocalServer::removeServer(fromBytes(m_socketPath));
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(fromBytes(m_socketPath))) {
        ::close(lock);
        return false;
    }
    QObject::connect(server.get(), &QLocalServer::newConnection, server.get(),
                     [this] { acceptConnection(); });
    m_server = std::move(server);
    m_lock = lock;
    return true;
}

void FilesInstance::pause() {
    QThread::msleep(static_cast<unsigned long>(integration::kRetryPause.count()));
}

void FilesInstance::stopServing() {
    // The socket goes first: a start between the two steps finds nobody and waits for the lock.
    m_server.reset();
    if (m_lock >= 0) {
        ::close(m_lock);
        m_lock = -1;
    }
}

void FilesInstance::acceptConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<std::string>();
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, received] {
            const QByteArray bytes = socket->readAll();
            received->append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            integration::DecodedNames decoded = integration::DecodeNames(*received);
            if (decoded.state == integration::DecodedNames::State::Incomplete) {
                return;
            }
            // One message a connection: what comes after the answer is not read.
            QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
            const bool taken = decoded.state == integration::DecodedNames::State::Complete;
            if (taken) {
                m_take(std::move(decoded.names));
            }
            const std::string_view reply =
                taken ? integration::kTakenReply : integration::kRefusedReply;
            socket->write(reply.data(), static_cast<qint64>(reply.size()));
            socket->disconnectFromServer();
        });
    }
}

}  // namespace tolvek::desktop
