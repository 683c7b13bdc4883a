// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/SecondStartChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <string>
#include <system_error>

#include "windowlogic/FirstPassReader.h"
#include "windowlogic/WindowLogic.h"

namespace versemark {

namespace {

constexpr char kLockDirVariable[] = "VERSEMARK_LOCK_DIR";
constexpr char kSocketName[] = "versemark.socket";
// How long a hand-over may take, from connecting to the window's answer; a
// connection that has sent no whole message by then is dropped.
constexpr int kHandOverMilliseconds = 2000;

QString SocketPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kSocketName));
}

// The folder as the open window must read it: the companion's Windows form
// reached through Wine, and relative to this start's working folder made
// absolute. Empty when it cannot be.
std::string AbsoluteFolder(const RunConfig& config) {
    const std::string folder = CompanionFolder(config);
    if (folder.empty()) {
        return folder;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    return error ? std::string() : absolute.string();
}

bool SendAndHearTaken(QLocalSocket& socket, const std::string& message,
                      const QDeadlineTimer& deadline) {
    if (socket.write(message.data(), static_cast<qint64>(message.size())) !=
        static_cast<qint64>(message.size())) {
        return false;
    }
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    while (socket.bytesAvailable() == 0) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == handover::kTaken;
}

// Restored when minimised, in front and active.
void BringForward(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

QString RunningCopyFolder() {
    QString folder = qEnvironmentVariable(kLockDirVariable);
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    QDir().mkpath(folder);
    return folder;
}

bool HandOverToOpenWindow(const RunConfig& config, const QString& folder) {
    if (config.Mode == RunMode::TagOneFile) {
        return false;
    }
    handover::HandOver handOver;
    if (config.Mode == RunMode::ScanFolder) {
        handOver.Folder = AbsoluteFolder(config);
        handOver.Subfolders = config.Subfolders;
        if (handOver.Folder.empty()) {
            return false;
        }
    }
    const QDeadlineTimer deadline(kHandOverMilliseconds);
    QLocalSocket socket;
    socket.connectToServer(SocketPath(folder));
    return socket.waitForConnected(static_cast<int>(deadline.remainingTime())) &&
           SendAndHearTaken(socket, handover::WriteMessage(handOver), deadline);
}

SecondStartListener::SecondStartListener(QWidget& window, WindowLogic& logic)
    : window_(window), logic_(logic) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SecondStartListener::Accept);
}

bool SecondStartListener::Listen(const QString& folder) {
    const QString path = SocketPath(folder);
    QLocalServer::removeServer(path);
    return server_.listen(path);
}

void SecondStartListener::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        QTimer::singleShot(kHandOverMilliseconds, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        Read(socket);  // bytes may have come with the connection
    }
}

void SecondStartListener::Read(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > static_cast<qint64>(handover::kMaxMessageBytes)) {
            socket->abort();
            socket->deleteLater();
        }
        return;
    }
    const QByteArray line = socket->readLine(static_cast<qint64>(handover::kMaxMessageBytes) + 1);
    const auto handOver =
        line.endsWith(handover::kMessageEnd)
            ? handover::ReadMessage(std::string_view(line.constData(), line.size() - 1))
            : std::nullopt;
    if (!handOver) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    disconnect(socket, nullptr, this, nullptr);  // one message a connection
    socket->putChar(handover::kTaken);
    socket->disconnectFromServer();
    Take(*handOver);
}

void SecondStartListener::Take(const handover::HandOver& handOver) {
    BringForward(window_);
    if (handOver.Folder.empty()) {
        return;
    }
    // Asked once this read has returned, as a folder drop is: the question's
    // dialog runs an event loop of its own.
    QTimer::singleShot(0, this, [this, handOver] {
        logic_.FolderHandedOver(handOver.Folder, handOver.Subfolders);
    });
}

}  // namespace versemark
