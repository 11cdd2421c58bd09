#include "core/messages.h"

#include "core/numbers.h"

#include <QMessageBox>

namespace velaro {
namespace {

void showBox(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, kApplicationTitle, text, QMessageBox::Ok);
    box.setObjectName(icon == QMessageBox::Critical ? "ErrorBox" : "MessageBox");
    box.exec();
}

class RealMessageBoxes final : public MessageBoxes {
  public:
    void showMessage(const QString& text) override { showBox(QMessageBox::NoIcon, text); }
    void showError(const QString& text) override { showBox(QMessageBox::Critical, text); }
    void showAbout(const QString& text) override { showBox(QMessageBox::NoIcon, text); }
};

RealMessageBoxes realBoxes;
MessageBoxes* installed = nullptr;

} // namespace

MessageBoxes& messageBoxes() {
    return installed ? *installed : realBoxes;
}

void installMessageBoxes(MessageBoxes* boxes) {
    installed = boxes;
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar('.'))
        return message + '.';
    return message;
}

void runGuarded(const std::function<void()>& handler) {
    QString message;
    try {
        handler();
        return;
    } catch (const Exception& error) {
        message = QString::fromStdString(error.message()); // whole, a NUL included
    } catch (const std::exception& error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    messageBoxes().showError(errorBoxText(message));
}

} // namespace velaro
