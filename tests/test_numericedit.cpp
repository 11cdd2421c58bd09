// The numeric field's key filter, with real key events, under both decimal separators.

#include "core/numericedit.h"
#include "support/testsupport.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>

using namespace velaro;

class NumericEditTest : public QObject {
    Q_OBJECT
  private slots:
    void typing_data() {
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        for (QChar sep : {QChar(','), QChar('.')}) {
            const auto row = [sep](const char* name, const QString& typed, QString shown) {
                shown.replace('#', sep);
                QTest::addRow("%s, separator %c", name, sep.toLatin1()) << sep << typed << shown;
            };
            row("digits", "0123456789", "0123456789");
            row("point", "1.5", "1#5");
            row("comma", "1,5", "1#5");
            row("several separators pass", "1,2.3", "1#2#3");
            row("letters discarded", "1a2b", "12");
            row("exponent letter discarded", "1e5E", "15");
            row("signs and blank discarded", "-1 +2", "12");
        }
    }
    void typing() {
        QFETCH(QChar, separator);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        NumericEdit edit("Edit1", separator, nullptr);
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), shown);
    }

    void keysThatTypeNothingUseful_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("shown"); // after "12" was typed, with the cursor at the end
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << "12";
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "12";
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << "12";
        QTest::newRow("Ctrl+V pastes at the cursor")
            << int(Qt::Key_V) << int(Qt::ControlModifier) << "1299";
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << int(Qt::ControlModifier) << "12";
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << "1";
        QTest::newRow("Left then nothing") << int(Qt::Key_Left) << int(Qt::NoModifier) << "12";
    }
    void keysThatTypeNothingUseful() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, shown);
        QGuiApplication::clipboard()->setText("99");
        NumericEdit edit("Edit1", ',', nullptr);
        QTest::keyClicks(&edit, "12");
        QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(edit.text(), shown);
    }

    void controlCharactersAsX11DeliversThem() {
        // On X11 the event already carries the control character itself: the clipboard keys
        // work by their key, and none of them types its character.
        QGuiApplication::clipboard()->setText("7");
        NumericEdit edit("Edit1", ',', nullptr);
        QTest::keyClicks(&edit, "12");
        const auto press = [&](char16_t control) {
            QKeyEvent event(QEvent::KeyPress, Qt::Key_A - 1 + control, Qt::ControlModifier,
                            QString(QChar(control)));
            QApplication::sendEvent(&edit, &event);
        };
        press(u'\x16'); // Ctrl+V
        QCOMPARE(edit.text(), QString("127"));
        press(u'\x01'); // Ctrl+A
        press(u'\x03'); // Ctrl+C
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("127"));
        press(u'\x18'); // Ctrl+X
        QCOMPARE(edit.text(), QString());
        press(u'\x1a'); // Ctrl+Z: discarded, as typed
        QCOMPARE(edit.text(), QString());
    }

    void nonLatinCharactersAreDiscarded() {
        NumericEdit edit("Edit1", ',', nullptr);
        for (QChar c : QString("1д٣２")) {
            QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(&edit, &press);
        }
        QCOMPARE(edit.text(), QString("1"));
    }

    // Ctrl+Z types a control character, discarded as any other; undo is the context menu's.
    void undoKeysAreDiscarded() {
        NumericEdit edit("Edit1", ',', nullptr);
        QTest::keyClicks(&edit, "123");
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit.text(), QString());
        QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(edit.text(), QString());
    }

    void editingKeysStillWork() {
        NumericEdit edit("Edit1", ',', nullptr);
        QTest::keyClicks(&edit, "12345");
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QCOMPARE(edit.text(), QString("2345"));
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClick(&edit, Qt::Key_Left);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QString("235"));
        QTest::keyClick(&edit, Qt::Key_Period, Qt::KeypadModifier);
        QCOMPARE(edit.text(), QString("23,5"));
    }

    void tabMovesTheFocus() {
        QWidget window;
        auto* first = new NumericEdit("Edit1", ',', &window);
        auto* second = new NumericEdit("Edit2", ',', &window);
        second->move(0, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Tab);
        QCOMPARE(window.focusWidget(), second);
        QTest::keyClick(second, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(window.focusWidget(), first);
        QCOMPARE(first->text(), QString());
    }

    void inputMethodTextIsFiltered() {
        NumericEdit edit("Edit1", ',', nullptr);
        QInputMethodEvent commit;
        commit.setCommitString("1a.5 x");
        QApplication::sendEvent(&edit, &commit);
        QCOMPARE(edit.text(), QString("1,5"));
    }

    // The clipboard keys work as in any field; what a paste puts in passes the filter, whole: text
    // it would change is not pasted at all.
    void clipboardKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("before"); // the clipboard; the field holds "123", all selected
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("clipboard"); // afterwards
        QTest::addColumn<QChar>("separator");
        const int ctrl = int(Qt::ControlModifier), shift = int(Qt::ShiftModifier);
        const int v = Qt::Key_V, insert = Qt::Key_Insert;
        const auto row = [](const char* name, int key, int modifiers, const QString& before,
                            const QString& shown, const QString& after, QChar separator = ',') {
            QTest::newRow(name) << key << modifiers << before << shown << after << separator;
        };
        row("Ctrl+V pastes a number", v, ctrl, "9.5", "9,5", "9.5");
        row("Ctrl+V, a point for separator", v, ctrl, "2,5", "2.5", "2,5", '.');
        row("Ctrl+V takes a spreadsheet's cell", v, ctrl, " 7,25\r\n", "7,25", " 7,25\r\n");
        row("Ctrl+V refuses a letter", v, ctrl, "x9.", "123", "x9.");
        row("Ctrl+V refuses a sign", v, ctrl, "-5", "123", "-5");
        row("Ctrl+V refuses a Backspace character", v, ctrl, "\b", "123", "\b");
        row("Shift+Insert pastes through the filter", insert, shift, "x9.", "123", "x9.");
        row("keypad Shift+Insert pastes", insert, shift | Qt::KeypadModifier, "4", "4", "4");
        row("Ctrl+C copies", Qt::Key_C, ctrl, "x9.", "123", "123");
        row("Ctrl+Insert copies", insert, ctrl, "x9.", "123", "123");
        row("Ctrl+X cuts", Qt::Key_X, ctrl, "x9.", "", "123");
        row("Shift+Delete cuts", Qt::Key_Delete, shift, "x9.", "", "123");
        row("Ctrl+Shift+Insert types nothing", insert, ctrl | shift, "x9.", "123", "x9.");
    }
    void clipboardKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, before);
        QFETCH(QString, shown);
        QFETCH(QString, clipboard);
        QFETCH(QChar, separator);
        QGuiApplication::clipboard()->setText(before);
        NumericEdit edit("Edit1", separator, nullptr);
        QTest::keyClicks(&edit, "123");
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(edit.text(), shown);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    }

    void shiftInsertLeavesAReadOnlyFieldAlone() {
        QGuiApplication::clipboard()->setText("7");
        NumericEdit edit("Edit1", ',', nullptr);
        edit.setText("12");
        edit.setReadOnly(true);
        QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(edit.text(), QString("12"));
    }

    // The context menu offers Paste only for a number, and pastes as the keys do; it shows no
    // keys for Undo and Redo, which the filter discards.
    void contextMenuOffersWhatWorks_data() {
        QTest::addColumn<QString>("atOpening"); // the clipboard when the menu opens
        QTest::addColumn<QString>("atClick");   // and when Paste is clicked
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QString>("shown"); // the field held "12", all selected
        QTest::newRow("a number") << "3.5" << "3.5" << true << "3,5";
        QTest::newRow("text") << "abc" << "abc" << false << "12";
        QTest::newRow("text by the time of the click") << "3.5" << "3 м" << true << "12";
    }
    void contextMenuOffersWhatWorks() {
        QFETCH(QString, atOpening);
        QFETCH(QString, atClick);
        QFETCH(bool, offered);
        QFETCH(QString, shown);
        QGuiApplication::clipboard()->setText(atOpening);
        NumericEdit edit("Edit1", ',', nullptr);
        edit.setText("12");
        edit.selectAll();
        const std::unique_ptr<QMenu> menu = edit.createContextMenu();
        QHash<QString, QAction*> items; // by the text before the keys
        for (QAction* action : menu->actions())
            items.insert(action->text().section('\t', 0, 0), action);
        QVERIFY(items.contains("&Paste") && items.contains("&Undo") && items.contains("&Redo"));
        QCOMPARE(items["&Paste"]->isEnabled(), offered);
        QVERIFY(!items["&Undo"]->text().contains('\t') && !items["&Redo"]->text().contains('\t'));
        QGuiApplication::clipboard()->setText(atClick);
        items["&Paste"]->trigger();
        QCOMPARE(edit.text(), shown);
    }

    // Text dragged onto the field from elsewhere is a paste.
    void droppedTextPassesTheFilter() {
        NumericEdit edit("Edit1", ',', nullptr);
        for (const char* dropped : {"4,5 м2", "4.5"}) {
            QMimeData data;
            data.setText(QString::fromUtf8(dropped));
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&edit, &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&edit, &drop);
            const bool taken = qstrcmp(dropped, "4.5") == 0;
            QVERIFY(enter.isAccepted() == taken && drop.isAccepted() == taken);
        }
        QCOMPARE(edit.text(), QString("4,5"));
    }

    void fieldSize() {
        NumericEdit edit("Edit7", ',', nullptr);
        QCOMPARE(edit.size(), QSize(121, 21));
        const QString pasted(100000, '5'); // longer than a line edit's usual limit
        edit.setText(pasted);
        QCOMPARE(edit.text(), pasted);
        QCOMPARE(edit.objectName(), QString("Edit7"));
        QVERIFY(!edit.isReadOnly());
    }
};

VELARO_TEST_MAIN(NumericEditTest)
#include "test_numericedit.moc"
