#include "shell/singleinstance.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace velaro {
namespace {

constexpr int kAnswerMs = 2000;
const QByteArray kRequest = QByteArrayLiteral("activate\n");
const QByteArray kAnswer = QByteArrayLiteral("ok\n");

// The socket's path. The runtime folder is the user's own and emptied at log-out; the user id
// in the name keeps users apart where it falls back to the shared temporary folder.
QString serverPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
#if defined(Q_OS_UNIX)
    const QString user = QString::number(::getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    return folder + QStringLiteral("/velaro-paint-") + user;
}

enum class Reply { Answered, NoneRunning, Silent };

Reply askToComeToFront(const QString& path) {
    const QDeadlineTimer deadline(kAnswerMs);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        // Refused: the socket of a program that was killed. Timed out: one is there but hangs.
        return socket.error() == QLocalSocket::SocketTimeoutError ? Reply::Silent
                                                                  : Reply::NoneRunning;
    }
    socket.write(kRequest);
    while (socket.bytesAvailable() < kAnswer.size())
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return Reply::Silent;
    return socket.read(kAnswer.size()) == kAnswer ? Reply::Answered : Reply::Silent;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(*socket); });
        }
    });
}

bool SingleInstance::handOver() {
    const QString path = serverPath();
    // Two starts at the same moment: one looks for a running program and starts listening while
    // the other waits here, then finds it listening. A lock left by a killed start is stale at
    // once (its process is gone); one held longer than a look takes belongs to a start that
    // hangs, and this one goes on alone.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(2 * kAnswerMs))
        return false;
    switch (askToComeToFront(path)) {
    case Reply::Answered:
        return true;
    case Reply::Silent:
        return false; // the name stays with the program that hangs: it may yet come back
    case Reply::NoneRunning:
        break;
    }
    QLocalServer::removeServer(path); // the socket of a program that was killed
    server_.listen(path);             // failing that, this program simply runs on its own
    return false;
}

void SingleInstance::answer(QLocalSocket& socket) {
    if (socket.bytesAvailable() < kRequest.size())
        return;
    if (socket.read(kRequest.size()) == kRequest) {
        emit activationRequested();
        socket.write(kAnswer);
    }
    socket.disconnectFromServer();
}

} // namespace velaro
