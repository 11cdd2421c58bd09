// A monkey: tens of thousands of random actions through the real windows (open calculators,
// type keys, paste long junk, tick boxes, Compute, Reset, Exit) with the real message boxes
// answered as they open. The program must never crash, every box must carry the application
// title, only the two known errors may reach the error box, every result Compute writes must be
// a number the program reads back, and memory must not keep growing.

#include "core/numbers.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/resident.h"
#include "support/testsupport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

using namespace velaro;
using namespace velaro::test;

namespace {

bool isKnownError(const QString& text) {
    return text.endsWith(QStringLiteral("' is not a valid floating point value.")) ||
           text == QStringLiteral("Invalid floating point operation.");
}

// Answers every message box as soon as it shows, remembering what it said.
class BoxAnswerer : public QObject {
  public:
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon;
        bool knownError;
    };
    QList<Seen> seen;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                // Only the head of the text: pasted junk makes some texts 10 000 characters long.
                seen.append({box->windowTitle(), box->text().left(300), box->icon(),
                             isKnownError(box->text())});
                QTimer::singleShot(0, box, [box] { box->done(QMessageBox::Ok); });
            }
        return false;
    }
};

// The offscreen platform warns about every raise() and size-hint call; they drown the figures.
QtMessageHandler testlibHandler = nullptr;
void quietPlatformWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    testlibHandler(type, context, text);
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

    QRandomGenerator random;
    std::unique_ptr<Program> program;
    BoxAnswerer answerer;
    QMainWindow* current = nullptr;
    int computes = 0, refusals = 0, errors = 0, results = 0;

    int pick(int n) { return static_cast<int>(random.bounded(n)); }

    QString junk(int maxLength) {
        static const QString alphabet = QStringLiteral("0123456789,,,..  -+eEabcxzфыв\t\n;'%∞٣２");
        QString text;
        const int length = pick(maxLength + 1);
        text.reserve(length);
        for (int i = 0; i < length; ++i)
            text += alphabet[pick(int(alphabet.size()))];
        return text;
    }

    QString typedKeys() {
        static const char* alphabet = "0123456789,.,.abcE -+";
        QString keys;
        for (int i = pick(8) + 1; i > 0; --i)
            keys += QChar(alphabet[pick(int(std::strlen(alphabet)))]);
        return keys;
    }

    template <class T> T* anyOf(QWidget* window) {
        const QList<T*> all = window->findChildren<T*>();
        return all.isEmpty() ? nullptr : all[pick(int(all.size()))];
    }

    QStringList fieldTexts(QWidget* window) {
        QStringList texts;
        for (const QLineEdit* edit : window->findChildren<QLineEdit*>())
            texts << edit->objectName() + '=' + edit->text();
        return texts;
    }

    void compute() {
        const QList<QLineEdit*> fields = current->findChildren<QLineEdit*>();
        QStringList before;
        for (const QLineEdit* edit : fields)
            before << edit->text();
        const qsizetype boxesBefore = answerer.seen.size();
        auto* button = control<QPushButton>(current, "Button1");
        if (!button)
            return;
        QTest::mouseClick(button, Qt::LeftButton);
        ++computes;
        if (answerer.seen.size() > boxesBefore) {
            const auto& box = answerer.seen.back();
            if (box.icon == QMessageBox::Critical) {
                ++errors;
                QVERIFY2(box.knownError, qPrintable(box.text.left(200)));
            } else {
                ++refusals;
            }
            return;
        }
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QString now = fields[i]->text();
            if (now == before[i] || now.isEmpty())
                continue;
            ++results;
            long double value = 0;
            QVERIFY2(
                TryStrToFloat(now.toStdString(), ',', value),
                qPrintable(current->objectName() + ' ' + fields[i]->objectName() + ": " + now));
        }
    }

    void act() {
        const int action = pick(100);
        if (!current || action < 4) { // open a calculator
            const int button = pick(MainWindow::kCalculatorCount) + 1;
            click(&program->mainWindow(), QStringLiteral("Button%1").arg(button));
            current = qobject_cast<QMainWindow*>(program->registry().Form(button + 1));
            QVERIFY(current && current->isVisible());
            return;
        }
        if (action < 40) { // type keys into a field
            if (auto* edit = anyOf<QLineEdit>(current))
                QTest::keyClicks(edit, typedKeys());
        } else if (action < 48) { // a key that is not a digit
            static const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
                {Qt::Key_Backspace, Qt::NoModifier}, {Qt::Key_Delete, Qt::NoModifier},
                {Qt::Key_Home, Qt::NoModifier},      {Qt::Key_End, Qt::NoModifier},
                {Qt::Key_Left, Qt::NoModifier},      {Qt::Key_V, Qt::ControlModifier},
                {Qt::Key_Z, Qt::ControlModifier},    {Qt::Key_Return, Qt::NoModifier},
                {Qt::Key_Escape, Qt::NoModifier},    {Qt::Key_Insert, Qt::ShiftModifier},
                {Qt::Key_A, Qt::ControlModifier},    {Qt::Key_Tab, Qt::NoModifier}};
            const auto& [key, modifiers] = keys[pick(int(std::size(keys)))];
            if (auto* edit = anyOf<QLineEdit>(current))
                QTest::keyClick(edit, key, modifiers);
        } else if (action < 56) { // paste from the context menu
            if (auto* edit = anyOf<QLineEdit>(current)) {
                QGuiApplication::clipboard()->setText(junk(pick(10) == 0 ? 10000 : 24));
                if (pick(2))
                    edit->selectAll();
                edit->paste();
            }
        } else if (action < 68) { // tick or untick
            if (auto* box = anyOf<QCheckBox>(current))
                box->click();
        } else if (action < 90) {
            compute();
        } else if (action < 97) {
            if (auto* reset = control<QPushButton>(current, "Button2"))
                QTest::mouseClick(reset, Qt::LeftButton);
        } else { // File ▸ Exit of the calculator
            current->menuBar()->actions().front()->menu()->actions().front()->trigger();
            QVERIFY(!current->isVisible());
            current = nullptr;
        }
    }

  private slots:
    void initTestCase() {
        const quint32 seed = qEnvironmentVariableIsSet("VELARO_MONKEY_SEED")
                                 ? qEnvironmentVariableIntValue("VELARO_MONKEY_SEED")
                                 : 20261207u;
        testlibHandler = qInstallMessageHandler(quietPlatformWarnings);
        qInfo("monkey seed %u", seed);
        random.seed(seed);
        qApp->installEventFilter(&answerer);
        program = std::make_unique<Program>(',');
        program->mainWindow().show();
    }

    void survivesRandomActions() {
        const int actions = qEnvironmentVariableIsSet("VELARO_MONKEY_ACTIONS")
                                ? qEnvironmentVariableIntValue("VELARO_MONKEY_ACTIONS")
                                : 20000;
        constexpr int kWarmUp = 2000;
        QElapsedTimer clock;
        clock.start();
        long warmRss = 0, peakRss = 0;
        for (int i = 0; i < actions; ++i) {
            act();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("after action %1").arg(i)));
            if (i % 500 == 0) {
                const long rss = residentKilobytes();
                if (qEnvironmentVariableIsSet("VELARO_MONKEY_TRACE"))
                    qInfo("action %d: RSS %ld kB", i, rss);
                peakRss = std::max(peakRss, rss);
                if (i == kWarmUp)
                    warmRss = rss;
            }
            QVERIFY2(clock.elapsed() < 240000, "the monkey ran out of time");
        }
        for (const auto& box : answerer.seen)
            QCOMPARE(box.title, QStringLiteral("Velaro Калькулятор окраски"));
        const long endRss = residentKilobytes();
        qInfo("%d actions in %lld ms: %d computes (%d results written, %d refusals, %d errors), "
              "%lld boxes; RSS after warm-up %ld kB, at end %ld kB, peak %ld kB",
              actions, clock.elapsed(), computes, results, refusals, errors,
              static_cast<long long>(answerer.seen.size()), warmRss, endRss, peakRss);
        QVERIFY(computes > actions / 10);
#if !defined(__SANITIZE_ADDRESS__)
        // (AddressSanitizer holds freed memory in quarantine, so growth means nothing there.)
        if (warmRss > 0)
            QVERIFY2(endRss - warmRss < 40 * 1024, "memory keeps growing");
#endif
    }
};

VELARO_TEST_MAIN(MonkeyTest)
#include "test_monkey.moc"
