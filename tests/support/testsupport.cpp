#include "support/testsupport.h"

#include "core/fonts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace velaro::test {

QString RecordingMessageBoxes::onlyText(Kind kind) const {
    if (boxes.size() != 1)
        return QStringLiteral("<%1 boxes>").arg(boxes.size());
    if (boxes.front().kind != kind)
        return QStringLiteral("<box of another kind: %1>").arg(boxes.front().text);
    return boxes.front().text;
}

void RecordingMessageBoxes::record(Kind kind, const QString& text) {
    boxes.append({kind, text});
    if (whileOpen)
        whileOpen(boxes.back());
}

ModalWatchdog::ModalWatchdog() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            seen_ << modal->windowTitle() + QStringLiteral(": ") +
                         modal->property("text").toString();
            modal->close();
        }
    });
    timer_.start();
}

ModalWatchdog::~ModalWatchdog() { timer_.stop(); }

void typeInto(QWidget* window, const QString& field, const QString& text) {
    auto* edit = control<QLineEdit>(window, field);
    if (!edit)
        qFatal("no field %s", qPrintable(field));
    QTest::keyClicks(edit, text);
}

void retype(QWidget* window, const QString& field, const QString& text) {
    auto* edit = control<QLineEdit>(window, field);
    if (!edit)
        qFatal("no field %s", qPrintable(field));
    edit->clear();
    QTest::keyClicks(edit, text);
}

void click(QWidget* window, const QString& name) {
    auto* button = control<QAbstractButton>(window, name);
    if (!button)
        qFatal("no button %s", qPrintable(name));
    // A click lands on the indicator of a check box, and in the middle of a push button.
    const QPoint at = qobject_cast<QCheckBox*>(button) ? QPoint(6, button->height() / 2)
                                                       : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

QString textOf(const QWidget* window, const QString& field) {
    auto* edit = control<QLineEdit>(window, field);
    return edit ? edit->text() : QStringLiteral("<no field %1>").arg(field);
}

bool isTicked(const QWidget* window, const QString& box) {
    auto* check = control<QCheckBox>(window, box);
    return check && check->isChecked();
}

void useTemporaryDataFolder() {
    static QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit());
}

int runTests(int argc, char** argv, QObject* tests) {
    useTemporaryDataFolder();
    installFontSubstitutions();
    return QTest::qExec(tests, argc, argv);
}

} // namespace velaro::test
