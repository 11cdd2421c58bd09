#pragma once
// Shared by the Qt Test programs: a recorder for message boxes, the calculator windows as the
// program builds them, and helpers that drive windows by control name with real keys and clicks.

#include "core/calculatorwindow.h"
#include "core/messages.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace velaro::test {

// Replaces the real boxes for its lifetime and records every box instead of showing it.
class RecordingMessageBoxes final : public MessageBoxes {
  public:
    enum class Kind { Message, Error, About };
    struct Box {
        Kind kind;
        QString text;
    };

    RecordingMessageBoxes() { installMessageBoxes(this); }
    ~RecordingMessageBoxes() override { installMessageBoxes(nullptr); }
    RecordingMessageBoxes(const RecordingMessageBoxes&) = delete;
    RecordingMessageBoxes& operator=(const RecordingMessageBoxes&) = delete;

    void showMessage(const QString& text) override { record(Kind::Message, text); }
    void showError(const QString& text) override { record(Kind::Error, text); }
    void showAbout(const QString& text) override { record(Kind::About, text); }

    QList<Box> boxes;
    // Runs while a box is "open", to look at the window at that moment.
    std::function<void(const Box&)> whileOpen;

    void clear() { boxes.clear(); }
    // The text of the only box, or a description of what was there instead.
    QString onlyText(Kind kind) const;

  private:
    void record(Kind kind, const QString& text);
};

// The calculator window TForm<form> as the program builds it from its catalogue, with a decimal
// comma; a form the catalogue does not know ends the test program.
std::unique_ptr<CalculatorWindow> createCalculator(int form);
// The same, shown and active, so that focus moves as it does for a person.
std::unique_ptr<CalculatorWindow> showCalculator(int form);

// The named control of a window (found by objectName), or nullptr.
template <class T = QWidget> T* control(const QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

// Types text into a field with real key events, as a person would.
void typeInto(QWidget* window, const QString& field, const QString& text);
// Empties a field and types text into it.
void retype(QWidget* window, const QString& field, const QString& text);
// Clicks a push button or check box with the mouse.
void click(QWidget* window, const QString& name);
// The text of a field.
QString textOf(const QWidget* window, const QString& field);
// Whether a check box is ticked.
bool isTicked(const QWidget* window, const QString& box);
// The objectName of the control that has the window's focus, or "<none>".
QString focusName(const QWidget* window);
// Presses Tab `presses` times in a shown, active window and gives where the focus was before
// each press.
QStringList tabWalk(QWidget* window, qsizetype presses);

// After a Compute that gave results: the window's rule, run again on what the window holds,
// gives a trail for every result field; replaying each trail's factors in order, rounded at its
// digit, gives the field's text exactly; the written trail ends in "= <shown> <unit>" and is the
// field's tooltip. Empty when all of this holds, else what differs.
QString trailMismatch(const CalculatorWindow& window);

// Points the user's data and settings folders (where the estimate sheet keeps its recovery file
// and its window's size) at a temporary folder of this process, so that no test reads or writes
// the real user's files.
void useTemporaryDataFolder();

// Prepares the application as the program does (fonts) in a temporary data folder, then runs
// the test object.
int runTests(int argc, char** argv, QObject* tests);

} // namespace velaro::test

#define VELARO_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv) {                                                              \
        QApplication app(argc, argv);                                                              \
        TestClass tests;                                                                           \
        return velaro::test::runTests(argc, argv, &tests);                                         \
    }
