// The numeric field's key filter, with real key events, under both decimal separators.

#include "core/numericedit.h"
#include "support/testsupport.h"

#include <QClipboard>
#include <QInputMethodEvent>
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
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << "12";
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
        // On X11 the event already carries the control character itself.
        NumericEdit edit("Edit1", ',', nullptr);
        QTest::keyClicks(&edit, "12");
        edit.selectAll();
        for (char16_t control : {u'\x16', u'\x18', u'\x03', u'\x1a'}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_V - 0x16 + control, Qt::ControlModifier,
                            QString(QChar(control)));
            QApplication::sendEvent(&edit, &press);
        }
        QCOMPARE(edit.text(), QString("12"));
    }

    void nonLatinCharactersAreDiscarded() {
        NumericEdit edit("Edit1", ',', nullptr);
        for (QChar c : QString("1д٣２")) {
            QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(&edit, &press);
        }
        QCOMPARE(edit.text(), QString("1"));
    }

    void cutAndUndoAreDiscarded() {
        NumericEdit edit("Edit1", ',', nullptr);
        QTest::keyClicks(&edit, "123");
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit.text(), QString("123"));
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit.text(), QString("123"));
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

    // The clipboard strokes that are not typed characters work as in any field; the Ctrl+letter
    // ones type control characters and are discarded.
    void clipboardKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("shown");     // "123" all selected, the clipboard holding "x9."
        QTest::addColumn<QString>("clipboard"); // afterwards
        QTest::newRow("Shift+Insert pastes unfiltered")
            << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << "x9."
            << "x9.";
        QTest::newRow("keypad Shift+Insert pastes")
            << int(Qt::Key_Insert) << int(Qt::ShiftModifier | Qt::KeypadModifier) << "x9."
            << "x9.";
        QTest::newRow("Ctrl+Insert copies")
            << int(Qt::Key_Insert) << int(Qt::ControlModifier) << "123"
            << "123";
        QTest::newRow("Shift+Delete cuts") << int(Qt::Key_Delete) << int(Qt::ShiftModifier) << ""
                                           << "123";
        QTest::newRow("Ctrl+V discarded") << int(Qt::Key_V) << int(Qt::ControlModifier) << "123"
                                          << "x9.";
        QTest::newRow("Ctrl+C discarded") << int(Qt::Key_C) << int(Qt::ControlModifier) << "123"
                                          << "x9.";
        QTest::newRow("Ctrl+X discarded") << int(Qt::Key_X) << int(Qt::ControlModifier) << "123"
                                          << "x9.";
        QTest::newRow("Ctrl+Shift+Insert types nothing")
            << int(Qt::Key_Insert) << int(Qt::ControlModifier | Qt::ShiftModifier) << "123"
            << "x9.";
    }
    void clipboardKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, shown);
        QFETCH(QString, clipboard);
        QGuiApplication::clipboard()->setText("x9.");
        NumericEdit edit("Edit1", ',', nullptr);
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

    void pasteFromTheMenuIsNotFiltered() {
        // The context menu's Paste puts text in without typing.
        QGuiApplication::clipboard()->setText("abc");
        NumericEdit edit("Edit1", ',', nullptr);
        edit.paste();
        QCOMPARE(edit.text(), QString("abc"));
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
