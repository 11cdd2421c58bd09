#include "shell/singleinstance.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace velaro {
namespace {

constexpr int kAnswerMs = 2000;
constexpr int kBackOffMs = 250;          // after the program ran out of descriptors
constexpr std::size_t kMostClients = 16; // starts answered at once
// «activate», a line «open <path, percent-encoded>» for each sheet to open, and a blank line.
const QByteArray kRequest = QByteArrayLiteral("activate\n");
const QByteArray kOpen = QByteArrayLiteral("open ");
constexpr qsizetype kLongestRequest = 1 << 20; // a start names a few files, not a megabyte

QByteArray requestFor(const QStringList& files) {
    QByteArray request = kRequest;
    for (const QString& file : files)
        request += kOpen + QUrl::toPercentEncoding(file) + '\n';
    return request + '\n';
}
const QByteArray kAnswer = QByteArrayLiteral("ok\n");

// The socket's path. The runtime folder is the user's own and emptied at log-out; the user id
// in the name keeps users apart where it falls back to the shared temporary folder.
QString serverPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return folder + QStringLiteral("/velaro-paint-") + QString::number(::getuid());
}

// The socket's address; nullopt for a path too long for one.
std::optional<sockaddr_un> addressOf(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (std::size_t(name.size()) >= sizeof(address.sun_path))
        return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    return address;
}

enum class Reply { Answered, NoneRunning, Silent };

// The whole request within the deadline, on a socket that does not block.
bool sendAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, std::size_t(bytes.size() - sent),
                                 MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd wait{fd, POLLOUT, 0};
        if (::poll(&wait, 1, int(deadline.remainingTime())) <= 0)
            return false;
    }
    return true;
}

// Connects within the deadline. A program that is stopped, or whose queue of starts is full,
// takes no connection; waiting on it would hang this start.
enum class Connected { Yes, Nobody, NotInTime };
Connected connectBy(int fd, const sockaddr_un& address, const QDeadlineTimer& deadline) {
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0)
            return Connected::Yes;
        if (errno == EINTR)
            continue;
        if (errno == EINPROGRESS) {
            pollfd wait{fd, POLLOUT, 0};
            int error = 0;
            socklen_t size = sizeof error;
            if (::poll(&wait, 1, int(deadline.remainingTime())) <= 0)
                return Connected::NotInTime;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
            return error == 0 ? Connected::Yes : Connected::Nobody;
        }
        // A local socket says EAGAIN while the listener's queue is full: try again shortly.
        if (errno != EAGAIN)
            return Connected::Nobody; // refused or absent: a killed program's socket at most
        if (deadline.hasExpired())
            return Connected::NotInTime;
        ::poll(nullptr, 0, int(std::min<qint64>(20, deadline.remainingTime())));
    }
}

Reply askToComeToFront(const QString& path, const QByteArray& request) {
    const auto address = addressOf(path);
    if (!address)
        return Reply::NoneRunning;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Reply::NoneRunning;
    const QDeadlineTimer deadline(kAnswerMs);
    switch (connectBy(fd, *address, deadline)) {
    case Connected::Yes:
        break;
    case Connected::Nobody:
        ::close(fd);
        return Reply::NoneRunning;
    case Connected::NotInTime:
        ::close(fd);
        return Reply::Silent;
    }
    Reply reply = Reply::Silent; // one that takes the request and says nothing hangs
    if (sendAll(fd, request, deadline)) {
        QByteArray received;
        pollfd wait{fd, POLLIN, 0};
        while (received.size() < kAnswer.size() &&
               ::poll(&wait, 1, int(deadline.remainingTime())) > 0) {
            char bytes[8];
            const ssize_t n = ::read(fd, bytes, sizeof bytes);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (n <= 0)
                break;
            received.append(bytes, qsizetype(n));
        }
        if (received.startsWith(kAnswer))
            reply = Reply::Answered;
    }
    ::close(fd);
    return reply;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() {
    for (auto& [client, state] : clients_)
        ::close(client);
    if (listening_ >= 0) {
        notifier_.reset();
        ::close(listening_);
        ::unlink(QFile::encodeName(path_).constData()); // the next start need not try it
    }
}

bool SingleInstance::handOver(const QStringList& files) {
    path_ = serverPath();
    // Two starts at the same moment: one looks for a running program and starts listening while
    // the other waits here, then finds it listening. A lock left by a killed start is stale at
    // once (its process is gone); one held longer than a look takes belongs to a start that
    // hangs, and this one goes on alone.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    if (!lock.tryLock(2 * kAnswerMs))
        return false;
    switch (askToComeToFront(path_, requestFor(files))) {
    case Reply::Answered:
        return true;
    case Reply::Silent:
        return false; // the name stays with the program that hangs: it may yet come back
    case Reply::NoneRunning:
        break;
    }
    listen(); // failing that, this program simply runs on its own
    return false;
}

void SingleInstance::listen() {
    const auto address = addressOf(path_);
    const QByteArray name = QFile::encodeName(path_);
    if (!address)
        return;
    ::unlink(name.constData()); // the socket of a program that was killed
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0 ||
        ::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return;
    }
    listening_ = fd;
    notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptRequests);
}

void SingleInstance::acceptRequests() {
    for (;;) {
        const int client = ::accept4(listening_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) {
            // Out of descriptors, the start stays queued and the socket readable: listening again
            // a little later rather than at once keeps this program from spinning.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                notifier_->setEnabled(false);
                QTimer::singleShot(kBackOffMs, this, [this] {
                    if (notifier_)
                        notifier_->setEnabled(true);
                });
            }
            return;
        }
        if (clients_.size() >= kMostClients) { // a flood of starts: the newest wait their turn
            ::close(client);
            continue;
        }
        Client& state = clients_[client];
        state.notifier = std::make_unique<QSocketNotifier>(client, QSocketNotifier::Read);
        connect(state.notifier.get(), &QSocketNotifier::activated, this,
                [this, client] { readRequest(client); });
        // One that says nothing in the time a start waits for its answer is dropped.
        state.timeout = std::make_unique<QTimer>();
        state.timeout->setSingleShot(true);
        connect(state.timeout.get(), &QTimer::timeout, this, [this, client] { closeClient(client); });
        state.timeout->start(kAnswerMs);
    }
}

void SingleInstance::readRequest(int client) {
    Client& state = clients_[client];
    char bytes[64];
    const ssize_t n = ::read(client, bytes, sizeof bytes);
    if (n < 0 && errno == EAGAIN)
        return;
    if (n > 0)
        state.received.append(bytes, qsizetype(n));
    // A request ends with a blank line.
    if (n > 0 && !state.received.endsWith("\n\n") && state.received.size() < kLongestRequest)
        return; // the rest is on its way
    if (state.received.startsWith(kRequest)) {
        QStringList files;
        for (const QByteArray& line : state.received.mid(kRequest.size()).split('\n'))
            if (line.startsWith(kOpen))
                files << QUrl::fromPercentEncoding(line.mid(kOpen.size()));
        // Answered first: opening may ask about unsaved changes, and the start must not wait.
        ::send(client, kAnswer.constData(), std::size_t(kAnswer.size()), MSG_NOSIGNAL);
        QMetaObject::invokeMethod(
            this,
            [this, files] {
                emit activationRequested();
                if (!files.isEmpty())
                    emit filesRequested(files);
            },
            Qt::QueuedConnection);
    }
    closeClient(client);
}

void SingleInstance::closeClient(int client) {
    const auto found = clients_.find(client);
    if (found == clients_.end())
        return;
    found->second.notifier->setEnabled(false);
    // Deleted later: this may run inside the notifier's or the timer's own signal.
    found->second.notifier.release()->deleteLater();
    found->second.timeout->stop();
    found->second.timeout.release()->deleteLater();
    clients_.erase(found);
    ::close(client);
}

} // namespace velaro
