#include "core/numericedit.h"

#include <QInputMethodEvent>
#include <QAction>
#include <QKeyEvent>

#include <limits>
#include <optional>

namespace velaro {
namespace {

constexpr QChar kBackspace(8);

// What a key press types, judged by its character rather than its key: Ctrl with a letter types
// a control character however the event arrives (on X11 the text already is one, synthetic
// events carry the letter). Keys that type nothing (arrows, Home, End, Delete, and the
// Insert strokes) give nullopt and go to the field untouched.
std::optional<QString> typedText(const QKeyEvent& event) {
    const auto modifiers = event.modifiers();
    const int key = event.key();
    if (key == Qt::Key_Delete || key == Qt::Key_Insert)
        return std::nullopt;
    const bool ctrl = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
    if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(key - Qt::Key_A + 1));
    if (event.text().isEmpty())
        return std::nullopt;
    if (ctrl && key != Qt::Key_Backspace)
        return QString(QChar(0)); // Ctrl with anything else types no number character
    return event.text();
}

// Digits pass, a point or a comma becomes the regional separator, anything else is discarded.
// A lone Backspace passes as the key it is; inside longer text it would become a literal character.
QString filtered(const QString& typed, QChar separator) {
    if (typed == QString(kBackspace))
        return typed;
    QString out;
    for (QChar c : typed)
        if (c == u',' || c == u'.')
            out += separator;
        else if (c >= u'0' && c <= u'9')
            out += c;
    return out;
}

} // namespace

NumericEdit::NumericEdit(const QString& name, QChar decimalSeparator, QWidget* parent)
    : QLineEdit(parent), separator_(decimalSeparator) {
    setObjectName(name);
    resize(kWidth, kHeight);
    setMaxLength(std::numeric_limits<int>::max()); // no length limit: a paste is never cut short
}

bool NumericEdit::event(QEvent* event) {
    // A key the window has a command for (Ctrl+E, the estimate sheet) is the window's, even
    // where the desktop also binds it to moving the cursor (Ctrl+E is End on X11).
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* command : window()->actions())
            if (command->isEnabled() && command->shortcuts().contains(pressed)) {
                event->ignore();
                return true;
            }
    }
    return QLineEdit::event(event);
}

void NumericEdit::keyPressEvent(QKeyEvent* event) {
    // Shift+Insert is a paste, not a typed character: like the context menu's Paste it puts the
    // clipboard in unfiltered, whatever key bindings the platform has (Ctrl+V stays discarded).
    if (event->key() == Qt::Key_Insert && (event->modifiers() & Qt::ShiftModifier) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!isReadOnly())
            paste();
        event->accept();
        return;
    }
    const std::optional<QString> typed = typedText(*event);
    if (!typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString passed = filtered(*typed, separator_);
    if (passed.isEmpty()) {
        event->accept();
        return;
    }
    if (passed == event->text() || passed == QString(kBackspace)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // A point or comma becomes the separator: hand the field the replaced character.
    const int key = passed.size() == 1 && passed[0] == QChar('.')   ? Qt::Key_Period
                    : passed.size() == 1 && passed[0] == QChar(',') ? Qt::Key_Comma
                                                                    : Qt::Key_unknown;
    QKeyEvent replaced(event->type(), key, event->modifiers() & ~Qt::KeypadModifier, passed,
                       event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QLineEdit::keyPressEvent(&replaced);
    event->setAccepted(replaced.isAccepted());
}

void NumericEdit::inputMethodEvent(QInputMethodEvent* event) {
    // Committed text passes the same filter, character by character.
    const QString commit = event->commitString();
    const QString passed = filtered(commit, separator_);
    if (passed == commit) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent replaced(event->preeditString(), event->attributes());
    replaced.setCommitString(passed, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&replaced);
    event->setAccepted(replaced.isAccepted());
}

} // namespace velaro
