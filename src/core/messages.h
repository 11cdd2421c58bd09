#pragma once
// The one seam through which the program opens message boxes. The real implementation shows
// QMessageBoxes; tests install a recorder instead.

#include <QString>

#include <functional>

namespace velaro {

inline const QString kApplicationTitle = QStringLiteral("Velaro Калькулятор окраски");

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // A calculator's refusal: modal, centred on the screen, no icon, one "OK".
    virtual void showMessage(const QString& text) = 0;
    // An error that ended a click: stop icon, one "OK".
    virtual void showError(const QString& text) = 0;
    // The About box: no icon, one "OK".
    virtual void showAbout(const QString& text) = 0;
};

MessageBoxes& messageBoxes();
// Replaces the boxes until called again; nullptr restores the real ones.
void installMessageBoxes(MessageBoxes* boxes);

inline void ShowMessage(const QString& text) {
    messageBoxes().showMessage(text);
}

// The error text as shown: a full stop is appended when the last character sorts after ".".
QString errorBoxText(const QString& message);

// Runs a handler; any exception it throws is reported in the error box and goes no further,
// so none ever crosses the event loop.
void runGuarded(const std::function<void()>& handler);

} // namespace velaro
