#include "core/numericedit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <limits>

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

} // namespace

std::optional<QChar> filterTypedCharacter(QChar typed, QChar decimalSeparator) {
    if (typed == kBackspace)
        return typed;
    if (typed == QChar(',') || typed == QChar('.'))
        return decimalSeparator;
    if (typed >= QChar('0') && typed <= QChar('9'))
        return typed;
    return std::nullopt;
}

NumericEdit::NumericEdit(const QString& name, QChar decimalSeparator, QWidget* parent)
    : QLineEdit(parent), separator_(decimalSeparator) {
    setObjectName(name);
    resize(kWidth, kHeight);
    setMaxLength(std::numeric_limits<int>::max()); // no length limit: a paste is never cut short
}

QString NumericEdit::filtered(const QString& typed) const {
    // Backspace is a key of its own; inside longer text it would become a literal character.
    if (typed == QString(kBackspace))
        return typed;
    QString out;
    for (QChar c : typed)
        if (auto passed = filterTypedCharacter(c, separator_); passed && *passed != kBackspace)
            out += *passed;
    return out;
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
    const QString passed = filtered(*typed);
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
    const QString passed = filtered(commit);
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
