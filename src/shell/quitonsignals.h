#pragma once
// A log-out, a shutdown or Ctrl+C in a terminal ends the program the way closing it does: SIGTERM,
// SIGHUP and SIGINT quit the event loop, so every window and document is taken down in order and
// the recovery file is written. A signal handler may only write a byte to a pipe; the event loop
// reads it there.

#include <QObject>

class QSocketNotifier;

namespace velaro {

class QuitOnSignals : public QObject {
    Q_OBJECT
  public:
    // One for the program: the handlers are the process's.
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

    // False where the pipe or a handler could not be set up: the signals then end the program
    // as before.
    bool installed() const { return notifier_ != nullptr; }

  private:
    void received();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace velaro
