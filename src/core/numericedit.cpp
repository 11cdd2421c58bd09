#include "core/numericedit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

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

// Pasted text is taken whole or not at all: dropping the characters the filter discards, as it
// does key by key, would change a pasted number behind the user's back ("-5" into 5, "2,5 м2"
// into 2,52). Blanks around it go (a spreadsheet's cell comes with a line end); a point or a
// comma becomes the separator, as typed.
std::optional<QString> pastedNumber(const QString& text, QChar separator) {
    const QString number = text.trimmed();
    if (number.isEmpty())
        return std::nullopt;
    for (QChar c : number)
        if (!(c >= u'0' && c <= u'9') && c != u',' && c != u'.')
            return std::nullopt;
    return filtered(number, separator);
}

QString clipboardText(QClipboard::Mode mode = QClipboard::Clipboard) {
    return QGuiApplication::clipboard()->text(mode);
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
    // The clipboard keys (Ctrl+V and Shift+Insert, Ctrl+C and Ctrl+Insert, Ctrl+X and
    // Shift+Delete, Ctrl+A) are commands, not typed characters; a paste still passes the filter.
    if (event->matches(QKeySequence::Paste)) {
        pasteNumber();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::SelectAll)) {
        QLineEdit::keyPressEvent(event);
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

void NumericEdit::pasteNumber() {
    if (const auto number = pastedNumber(clipboardText(), separator_); number && !isReadOnly())
        insert(*number);
}

std::unique_ptr<QMenu> NumericEdit::createContextMenu() {
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // Qt's actions carry no names: they are known by the keys their texts show.
    const auto keysOf = [](const QAction* action) { return action->text().section(u'\t', 1); };
    const auto keysFor = [](QKeySequence::StandardKey key) {
        return QKeySequence(key).toString(QKeySequence::NativeText);
    };
    for (QAction* action : menu->actions()) {
        const QString keys = keysOf(action);
        if (keys.isEmpty())
            continue;
        if (keys == keysFor(QKeySequence::Paste)) {
            action->disconnect(this);
            connect(action, &QAction::triggered, this, &NumericEdit::pasteNumber);
            action->setEnabled(!isReadOnly() && pastedNumber(clipboardText(), separator_));
        } else if (keys == keysFor(QKeySequence::Undo) || keys == keysFor(QKeySequence::Redo)) {
            action->setText(action->text().section(u'\t', 0, 0));
        }
    }
    return menu;
}

void NumericEdit::contextMenuEvent(QContextMenuEvent* event) {
    createContextMenu()->exec(event->globalPos());
    event->accept();
}

void NumericEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection where the desktop has one: a paste like another.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (const auto number = pastedNumber(clipboardText(QClipboard::Selection), separator_);
            number && !isReadOnly()) {
            deselect();
            insert(*number);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

bool NumericEdit::refusesDrop(const QDropEvent& event) const {
    // Text dragged in from elsewhere is a paste; moved within the field it is the field's own.
    return event.source() != this && !pastedNumber(event.mimeData()->text(), separator_);
}

void NumericEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (refusesDrop(*event))
        event->ignore();
    else
        QLineEdit::dragEnterEvent(event);
}

void NumericEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (refusesDrop(*event))
        event->ignore();
    else
        QLineEdit::dragMoveEvent(event);
}

void NumericEdit::dropEvent(QDropEvent* event) {
    if (event->source() == this) {
        QLineEdit::dropEvent(event);
        return;
    }
    const auto number = pastedNumber(event->mimeData()->text(), separator_);
    if (!number) {
        event->ignore();
        return;
    }
    QMimeData data;
    data.setText(*number);
    QDropEvent replaced(event->position(), event->possibleActions(), &data, event->buttons(),
                        event->modifiers(), event->type());
    replaced.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&replaced);
    event->setDropAction(replaced.dropAction());
    event->setAccepted(replaced.isAccepted());
}

} // namespace velaro
