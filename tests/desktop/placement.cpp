// Where the windows land under a real window manager, which frames them after they are first
// mapped: run by under-openbox.sh inside Xvfb with openbox, at several screen sizes and scales.
// Reads the frames the window manager drew (frame geometry, and the X properties for the
// minimised state and the stacking order).

#include "core/windowframe.h"
#include "estimate/gui/estimatesheet.h"
#include "estimate/gui/estimatewindow.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/testsupport.h"

#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

using namespace velaro;
using namespace velaro::test;

namespace {

// What xprop says of an X window's property, or of the root window's when `window` is 0.
QString xprop(WId window, const char* property) {
    QProcess process;
    QStringList arguments;
    if (window)
        arguments << "-id" << QString::number(window);
    else
        arguments << "-root";
    process.start("xprop", arguments << property);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The screen position, along one axis, of a frame that stays on screen: where it fits, the
// wanted one moved in as far as needed; where it does not, the screen's first pixel.
int onScreen(int wanted, int length, int first, int size) {
    return length >= size ? first : std::clamp(wanted, first, first + size - length);
}

} // namespace

class PlacementTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;
    MainWindow& main() { return program->mainWindow(); }
    QRect available() { return main().screen()->availableGeometry(); }

    // Shows the main window and waits until the window manager has framed it and it settled.
    void startFramed() {
        program = std::make_unique<Program>(',');
        program->start();
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
        QTRY_VERIFY2(!knownFrameMargins(main()).isNull(), "no window manager framed the window");
        QTest::qWait(200);
    }

    // Opens calculator N+1 with a mouse click on main window button N and waits for its frame.
    QWidget* open(int button) {
        click(&main(), QStringLiteral("Button%1").arg(button));
        QWidget* calculator = program->registry().builtForm(button + 1);
        if (calculator && QTest::qWaitForWindowExposed(calculator))
            // Shown again, a window may report its frame only when it next moves.
            (void)QTest::qWaitFor([calculator] { return !knownFrameMargins(*calculator).isNull(); },
                                  1000);
        QTest::qWait(200);
        return calculator;
    }

    // Beside the main window's frame, top edges level, moved in only as far as needed.
    QPoint besideMain(const QWidget& calculator) {
        const QRect outer = main().frameGeometry();
        const QSize frame = calculator.frameGeometry().size();
        return {onScreen(outer.right() + 1, frame.width(), available().left(), available().width()),
                onScreen(outer.top(), frame.height(), available().top(), available().height())};
    }

  private slots:
    void initTestCase() {
        const QString expected = qEnvironmentVariable("VELARO_EXPECTED_SCREEN");
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        qInfo("screen %dx%d (logical), scale %s", size.width(), size.height(),
              qPrintable(qEnvironmentVariable("QT_SCALE_FACTOR", "1")));
        if (!expected.isEmpty())
            QCOMPARE(QString("%1x%2").arg(size.width()).arg(size.height()), expected);
        QVERIFY2(!xprop(0, "_NET_SUPPORTING_WM_CHECK").contains("not found"),
                 "no window manager runs on this display");
    }
    void cleanup() { program.reset(); }

    // At its one size where the screen has room for it; else fitted to the screen, the buttons
    // scrolling, every one of them and the status line within reach.
    void mainWindowFrameOnScreen() {
        startFramed();
        const QRect frame = main().frameGeometry();
        const QRect area = available();
        const bool fits = area.width() >= 412 && area.height() >= 743;
        auto* scroller = main().findChild<QScrollArea*>("clientScroller");
        QCOMPARE(scroller != nullptr, !fits);
        if (fits)
            QCOMPARE(frame.size(), QSize(412, 743)); // the outer size, frame included
        else
            QCOMPARE(frame.size(), QSize(412 + scroller->verticalScrollBar()->width(), 743)
                                       .boundedTo(area.size()));
        QCOMPARE(frame.left(), onScreen(area.left() + (area.width() - frame.width()) / 2,
                                        frame.width(), area.left(), area.width()));
        QCOMPARE(frame.top(), onScreen(area.top() + (area.height() - frame.height()) / 2,
                                       frame.height(), area.top(), area.height()));
        QVERIFY(area.contains(frame));
        const auto inSight = [&](const QWidget* part) {
            return area.contains(QRect(part->mapToGlobal(QPoint(0, 0)), part->size()));
        };
        QVERIFY2(inSight(main().statusBar()), "the status line is off the screen");
        for (int n = 1; n <= MainWindow::kCalculatorCount; ++n) {
            auto* button = control<QPushButton>(&main(), QStringLiteral("Button%1").arg(n));
            // The buttons stay centred in the client area, whatever scrolls it.
            QVERIFY(std::abs(button->x() * 2 + button->width() - button->parentWidget()->width()) <=
                    1);
            if (scroller) {
                scroller->ensureWidgetVisible(button);
                const QRect shown(button->mapTo(scroller->viewport(), QPoint(0, 0)),
                                  button->size());
                QVERIFY2(scroller->viewport()->rect().contains(shown), qPrintable(button->text()));
            }
            QVERIFY2(inSight(button), qPrintable(button->text()));
        }
    }

    void firstOpeningFlushBesideTheMainWindow_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("pipes, the narrow one") << 1;
        QTest::newRow("baths") << 5;
        QTest::newRow("separate sashes, a tall one") << 19;
        QTest::newRow("arch framing, the last") << 26;
    }
    void firstOpeningFlushBesideTheMainWindow() {
        QFETCH(int, button);
        startFramed();
        QWidget* calculator = open(button);
        QVERIFY(calculator && calculator->isVisible());
        const QRect frame = calculator->frameGeometry();
        QCOMPARE(frame.topLeft(), besideMain(*calculator));
        QVERIFY2(available().contains(frame.topLeft()), "the title bar is off the screen");
        if (frame.height() <= available().height() && frame.width() <= available().width())
            QVERIFY(available().contains(frame));
        // Opened again after another one, it stands in the same place.
        const QRect client = calculator->geometry();
        open(button == 1 ? 2 : 1);
        calculator = open(button);
        QCOMPARE(calculator->geometry(), client);
    }

    // Moved by the person after opening, a calculator stays there, also when the main window
    // moves, until its button is pressed again.
    void calculatorStaysWhereMoved() {
        startFramed();
        open(2);
        open(1);
        QWidget* calculator = open(2); // shown again
        calculator->move(calculator->frameGeometry().topLeft() + QPoint(-40, 30));
        // Where the frame came to rest: a window shown again may learn its frame margins only
        // from this move, and then the move placed its client area rather than its frame.
        QTRY_VERIFY(!knownFrameMargins(*calculator).isNull());
        QTest::qWait(200);
        const QPoint moved = calculator->frameGeometry().topLeft();
        main().move(main().frameGeometry().topLeft() + QPoint(-20, 0));
        QTest::qWait(500);
        QCOMPARE(calculator->frameGeometry().topLeft(), moved);
        open(2);
        QCOMPARE(calculator->frameGeometry().topLeft(), besideMain(*calculator));
    }

    void minimisedCalculatorRestoredByItsButton_data() {
        QTest::addColumn<int>("between");
        QTest::newRow("its button again") << 0;
        QTest::newRow("another calculator in between") << 8;
    }
    void minimisedCalculatorRestoredByItsButton() {
        QFETCH(int, between);
        startFramed();
        QWidget* calculator = open(4);
        open(4);
        calculator->showMinimized(); // as the title bar's button: the window manager iconifies it
        QTRY_VERIFY(xprop(calculator->winId(), "WM_STATE").contains("Iconic"));
        if (between)
            open(between);
        open(4);
        QTRY_VERIFY(xprop(calculator->winId(), "WM_STATE").contains("Normal"));
        QVERIFY(!calculator->isMinimized());
        QVERIFY(calculator->isVisible());
        // In front: the last of the window manager's stacking list.
        const QString stacking = xprop(0, "_NET_CLIENT_LIST_STACKING");
        const QString last = stacking.section(QLatin1Char(' '), -1).trimmed();
        QCOMPARE(last.toULongLong(nullptr, 16), quint64(calculator->winId()));
        QCOMPARE(calculator->frameGeometry().topLeft(), besideMain(*calculator));
    }

    // The sheet opens on the screen with its totals and buttons in sight, and opens again as the
    // user left it.
    void sheetFitsTheScreenAndIsRemembered() {
        startFramed();
        // From a calculator's field, where the desktop binds Ctrl+E to the end of the line too.
        QWidget* calculator = open(4);
        QVERIFY(QTest::qWaitForWindowActive(calculator));
        QWidget* field = control(calculator, "Edit2");
        field->setFocus();
        QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
        EstimateWindow& sheet = program->estimateSheet().window();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QTRY_VERIFY(!knownFrameMargins(sheet).isNull());
        QTest::qWait(200);
        QVERIFY(available().contains(sheet.frameGeometry()));
        for (const char* name : {"total", "lineTools", "currentRoom", "materialTotals"}) {
            auto* part = sheet.findChild<QWidget*>(name);
            QVERIFY2(part && part->isVisible(), name);
            QVERIFY2(available().contains(QRect(part->mapToGlobal(QPoint(0, 0)), part->size())), name);
        }
        const QRect moved = sheet.geometry().adjusted(10, 10, -30, -20);
        sheet.setGeometry(moved);
        QTRY_COMPARE(sheet.geometry(), moved);
        sheet.close();
        program.reset();
        startFramed();
        program->estimateSheet().open();
        EstimateWindow& again = program->estimateSheet().window();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QTRY_COMPARE(again.geometry().size(), moved.size());
    }
};

VELARO_TEST_MAIN(PlacementTest)
#include "placement.moc"
