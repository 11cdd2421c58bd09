#pragma once
// One program per user: a second start asks the program already running to come to the front,
// then ends, so there is one estimate sheet and one set of calculator windows to keep track of.
//
// The two talk over a local socket in the user's runtime folder. Written on the system's own
// sockets with a QSocketNotifier rather than QLocalServer/QLocalSocket: those live in QtNetwork,
// which every start would load for this one question (a megabyte resident and a tenth of the
// start-up time, measured against the floor program).

#include <QObject>

#include <map>
#include <memory>

class QSocketNotifier;
class QTimer;

namespace velaro {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when a program of this user is running and has answered that it comes to the front:
    // this start has nothing more to do. False when none is running, and this start now answers
    // later ones; and when the one running does not answer within two seconds (it hangs), and
    // this start goes on as a program of its own.
    // `files` (absolute paths), when given, go to the running program to be opened there.
    bool handOver(const QStringList& files = {});

  signals:
    // A later start has asked this program to come to the front, and to open these sheets.
    void activationRequested();
    void filesRequested(const QStringList& files);

  private:
    void listen();
    void acceptRequests();
    void readRequest(int client);
    void closeClient(int client);

    QString path_;
    int listening_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    struct Client {
        std::unique_ptr<QSocketNotifier> notifier;
        std::unique_ptr<QTimer> timeout;
        QByteArray received;
    };
    std::map<int, Client> clients_;
};

} // namespace velaro
