#pragma once
// One program per user: a second start asks the program already running to come to the front,
// then ends, so there is one estimate sheet and one set of calculator windows to keep track of.

#include <QLocalServer>
#include <QObject>

namespace velaro {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QObject* parent = nullptr);

    // True when a program of this user is running and has answered that it comes to the front:
    // this start has nothing more to do. False when none is running, and this start now answers
    // later ones; and when the one running does not answer within two seconds (it hangs), and
    // this start goes on as a program of its own.
    bool handOver();

  signals:
    // A later start has asked this program to come to the front.
    void activationRequested();

  private:
    void answer(QLocalSocket& socket);

    QLocalServer server_;
};

} // namespace velaro
