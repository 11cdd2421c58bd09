// Every window of the program, looked at alike: each text shown whole, each control inside the
// client area, nothing covering anything else. CTest runs this program twice, the second time at
// twice the scale (QT_SCALE_FACTOR=2), where text is laid out at other pixel sizes.

#include "core/fonts.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/layoutcheck.h"
#include "support/testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <limits>
#include <memory>

using namespace velaro;
using namespace velaro::test;

namespace {

constexpr int kSunkenPadding = 5; // from a sunken cell's border to its text

// A window holding a field and a button placed well, plus what a test row adds to it.
std::unique_ptr<QMainWindow> sampleWindow(const QString& flaw) {
    auto window = std::make_unique<QMainWindow>();
    auto* client = new QWidget;
    window->setCentralWidget(client);
    window->resize(300, 200);
    window->setFont(sansFont());
    auto* field = new QLineEdit(client);
    field->setObjectName("Edit1");
    field->setGeometry(10, 10, 121, 21);
    auto* button = new QPushButton(QStringLiteral("Расчитать"), client);
    button->setObjectName("Button1");
    button->setFont(serifFont());
    button->setGeometry(10, 40, 75, 25);

    const auto label = [&](const QString& text, const QRect& geometry) {
        auto* added = new QLabel(text, client);
        added->setObjectName("Label1");
        added->setFont(serifFont());
        added->setGeometry(geometry);
        return added;
    };
    if (flaw == "narrow label") {
        label(QStringLiteral("Площадь окраски труб:"), QRect(150, 10, 60, 20));
    } else if (flaw == "low label") {
        label(QStringLiteral("Площадь"), QRect(150, 10, 100, 8));
    } else if (flaw == "long word in a cell") {
        QLabel* cell = label(QStringLiteral("Перегородки остекление"), QRect(150, 10, 50, 120));
        cell->setWordWrap(true);
    } else if (flaw == "too many lines in a cell") {
        QLabel* cell = label(QStringLiteral("Стены каменные, состав заполнения: коробка, переплет"),
                             QRect(150, 10, 120, 20));
        cell->setWordWrap(true);
    } else if (flaw == "long caption") {
        button->setText(QStringLiteral("Площадь окраски ванн"));
    } else if (flaw == "low field") {
        field->setFixedHeight(10);
    } else if (flaw == "outside") {
        label(QStringLiteral("м2"), QRect(290, 10, 30, 20));
    } else if (flaw == "overlap") {
        auto* box = new QCheckBox(client);
        box->setObjectName("CheckBox1");
        box->setGeometry(120, 12, 17, 17);
    } else if (flaw == "buttons sharing a border") {
        auto* below = new QPushButton(QStringLiteral("Сброс"), client);
        below->setObjectName("Button2");
        below->setFont(serifFont());
        below->setGeometry(10, 64, 75, 25);
    }
    return window;
}

// Where a label's text stands: each line's ink box, found as the label lays it out (alignment,
// margin, frame and word wrap included).
QRect textBox(const QLabel* label) {
    const QRect room = label->contentsRect().marginsRemoved(
        QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    return QFontMetrics(label->font()).boundingRect(room, flags, label->text());
}

// The left end of each line of an unwrapped label's text.
QList<int> lineStarts(const QLabel* label) {
    const QRect room = label->contentsRect().marginsRemoved(
        QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
    const QFontMetrics metrics(label->font());
    QList<int> starts;
    for (const QString& line : label->text().split('\n')) {
        const int width = metrics.horizontalAdvance(line);
        int left = room.left();
        if (label->alignment() & Qt::AlignHCenter)
            left += (room.width() - width) / 2;
        else if (label->alignment() & Qt::AlignRight)
            left = room.right() + 1 - width;
        starts << label->x() + left;
    }
    return starts;
}

const QLabel* labelShowing(const QWidget* window, const QString& text) {
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    return nullptr;
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program_;

  private slots:
    // The faces the windows are laid out for are stood in for by Liberation, which has the
    // same widths; any other stand-in would make every window fail the checks below by accident,
    // so a missing face is the one fault reported.
    void initTestCase() {
        if (const QString missing = missingFace(); !missing.isEmpty())
            QFAIL(qPrintable(missing));
        program_ = std::make_unique<Program>(',');
    }
    void cleanupTestCase() { program_.reset(); }

    void facesResolveToLiberation_data() {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("fault");
        QTest::newRow("serif") << serifFont() << "Liberation Serif" << QString();
        QTest::newRow("serif bold") << serifFont(15, true) << "Liberation Serif" << QString();
        QTest::newRow("sans") << sansFont() << "Liberation Sans" << QString();
        QTest::newRow("serif is not sans")
            << serifFont() << "Liberation Sans"
            << "Liberation Sans is not installed: install fonts-liberation2";
        QTest::newRow("a face nowhere installed")
            << QFont("Velaro No Such Face") << "Velaro No Such Face"
            << "Velaro No Such Face is not installed: install fonts-liberation2";
    }
    void facesResolveToLiberation() {
        QFETCH(QFont, font);
        QFETCH(QString, family);
        QFETCH(QString, fault);
        QCOMPARE(faceFault(font, family, "fonts-liberation2"), fault);
    }

    // The check finds each kind of fault it is there for, and only those.
    void faultsAreFound_data() {
        QTest::addColumn<QString>("flaw");
        QTest::addColumn<QString>("fault"); // the start of the one fault found, or "" for none
        QTest::newRow("none") << ""
                              << "";
        QTest::newRow("narrow label") << "narrow label"
                                      << "Label1 «Площадь окраски труб:» cut off";
        QTest::newRow("low label") << "low label"
                                   << "Label1 «Площадь» cut off";
        QTest::newRow("long word") << "long word in a cell"
                                   << "Label1 «Перегородки остекление» cut off";
        QTest::newRow("many lines") << "too many lines in a cell"
                                    << "Label1 «Стены каменные";
        QTest::newRow("long caption") << "long caption"
                                      << "Button1 «Площадь окраски ванн» cut off";
        QTest::newRow("low field") << "low field"
                                   << "Edit1 cut off";
        QTest::newRow("outside") << "outside"
                                 << "Label1 «м2» sticks out";
        QTest::newRow("overlap") << "overlap"
                                 << "Edit1 overlaps CheckBox1";
        QTest::newRow("shared border") << "buttons sharing a border"
                                       << "";
    }
    void faultsAreFound() {
        QFETCH(QString, flaw);
        QFETCH(QString, fault);
        const auto window = sampleWindow(flaw);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QStringList faults = layoutFaults(window.get());
        if (fault.isEmpty()) {
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        } else {
            QCOMPARE(faults.size(), 1);
            QVERIFY2(faults.front().startsWith(fault), qPrintable(faults.front()));
        }
    }

    void everyWindowShowsEverything_data() {
        QTest::addColumn<int>("form");
        for (int n = 1; n <= WindowRegistry::kLastForm; ++n)
            QTest::addRow("TForm%d", n) << n;
    }
    void everyWindowShowsEverything() {
        QFETCH(int, form);
        QWidget* window = program_->registry().Form(form);
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The run at another scale must really be at that scale.
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(window->devicePixelRatio(),
                     qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        const QStringList faults = layoutFaults(window);
        window->hide();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n   "))));
    }

    // The window and door calculators look alike where they share a part: the primed-parts box
    // stands as far after its colon in each, the result caption's lines are aligned alike, no
    // plain text starts left of the margin the prompts keep, and a sunken cell's text keeps off
    // its border.
    void calculatorFamilyAlike_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("margin"); // where the prompts start
        for (int form : {20, 21, 22})
            QTest::addRow("TForm%d", form) << form << 16;
        for (int form : {23, 24, 25, 26, 27})
            QTest::addRow("TForm%d", form) << form << 8;
    }
    void calculatorFamilyAlike() {
        QFETCH(int, form);
        QFETCH(int, margin);
        QWidget* window = program_->registry().Form(form);
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto hide = qScopeGuard([window] { window->hide(); });

        // Measured from the end of the text's advance; TForm23 has no primed parts.
        const QLabel* primed = labelShowing(window, QStringLiteral("Детали проолифленные:"));
        if (const auto* box = window->findChild<QCheckBox*>("CheckBox4"); primed && box) {
            const int primedGap = box->x() - (primed->x() + textBox(primed).right() + 1);
            QVERIFY2(primedGap >= kPrimedBoxGap && primedGap <= 2 * kPrimedBoxGap,
                     qPrintable(QStringLiteral("primed box %1 px after its colon").arg(primedGap)));
        } else {
            QCOMPARE(form, 23);
        }

        const auto* reset = window->findChild<QPushButton*>("Button2");
        QVERIFY(reset);
        QCOMPARE(reset->parentWidget()->height() - reset->geometry().bottom() - 1, kFootMargin);

        const auto* result = window->findChild<QLineEdit*>("Edit4");
        QVERIFY(result);
        const QLabel* caption = nullptr;
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->buddy() == result)
                caption = label;
        QVERIFY(caption);
        QCOMPARE(caption->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        // The condition grid, sunken cells and all, starts on the prompts' margin.
        int gridLeft = std::numeric_limits<int>::max();
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->frameShape() != QFrame::NoFrame)
                gridLeft = std::min(gridLeft, label->x());
        if (form != 20) // its conditions are plain lines, placed on the margin like the prompts
            QCOMPARE(gridLeft, margin);

        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->pixmap().isNull() == false)
                continue;
            if (label->frameShape() != QFrame::NoFrame) {
                // A sunken cell: its text clear of the bevel on every side.
                const QRect text = textBox(label);
                const int padding =
                    std::min({text.left(), text.top(), label->width() - 1 - text.right(),
                              label->height() - 1 - text.bottom()});
                QVERIFY2(padding >= kSunkenPadding,
                         qPrintable(QStringLiteral("%1 %2 px from its border")
                                        .arg(describeControl(label))
                                        .arg(padding)));
                continue;
            }
            if (label->wordWrap())
                continue;
            for (int start : lineStarts(label))
                QVERIFY2(
                    start >= margin,
                    qPrintable(
                        QStringLiteral("%1 starts at %2").arg(describeControl(label)).arg(start)));
        }
    }

    // The credit line sits in a sunken panel whose every edge shows in the status bar.
    void creditLineInASunkenPanel() {
        QWidget* window = program_->registry().Form(1);
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto hide = qScopeGuard([window] { window->hide(); });
        const auto* panel = window->findChild<QLabel*>("StatusPanel");
        QVERIFY(panel);
        QCOMPARE(panel->frameShape(), QFrame::Panel);
        QCOMPARE(panel->frameShadow(), QFrame::Sunken);
        const QRect bar = panel->parentWidget()->rect();
        QVERIFY2(bar.contains(panel->geometry()) && panel->geometry().right() < bar.right(),
                 qPrintable(QStringLiteral("panel %1,%2 %3x%4 in a bar %5 wide")
                                .arg(panel->x())
                                .arg(panel->y())
                                .arg(panel->width())
                                .arg(panel->height())
                                .arg(bar.width())));
    }
};

VELARO_TEST_MAIN(LayoutTest)
#include "test_layout.moc"
