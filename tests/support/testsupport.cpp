#include "support/testsupport.h"

#include "calculators/catalog.h"
#include "core/calculatorwindow.h"
#include "core/fonts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

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

std::unique_ptr<CalculatorWindow> createCalculator(int form) {
    for (const CalculatorEntry& entry : allCalculators())
        if (entry.formNumber == form)
            return std::unique_ptr<CalculatorWindow>(entry.create(','));
    qFatal("no calculator TForm%d", form);
}

std::unique_ptr<CalculatorWindow> showCalculator(int form) {
    auto window = createCalculator(form);
    window->show();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("TForm%d did not become active", form);
    return window;
}

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

QString focusName(const QWidget* window) {
    const QWidget* focus = window->focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

QStringList tabWalk(QWidget* window, qsizetype presses) {
    QStringList seen;
    for (qsizetype i = 0; i < presses; ++i) {
        seen << focusName(window);
        if (QWidget* focus = window->focusWidget())
            QTest::keyClick(focus, Qt::Key_Tab);
    }
    return seen;
}

namespace {

// The trail's arithmetic done again here: each term's factors left to right, the terms summed.
long double replay(const Trail& trail) {
    long double sum = 0.0L;
    for (const TrailTerm& term : trail.terms) {
        long double value = term.measured;
        for (const TrailFactor& factor : term.factors)
            value =
                factor.op == TrailFactor::Op::Times ? value * factor.value : value / factor.value;
        sum += value;
    }
    return sum;
}

} // namespace

QString trailMismatch(const CalculatorWindow& window) {
    const Outcome outcome = window.evaluate(window.formState());
    const auto* results = std::get_if<Results>(&outcome);
    if (!results)
        return QStringLiteral("<refused: %1>")
            .arg(QString::fromStdString(std::get<Refusal>(outcome).message));
    const char separator = window.decimalSeparator();
    QStringList problems;
    for (const auto& [field, text] : results->texts)
        if (std::ranges::none_of(results->trails,
                                 [&](const Trail& trail) { return trail.field == field; }))
            problems << QStringLiteral("%1 has no trail").arg(QString::fromStdString(field));
    for (const Trail& trail : results->trails) {
        const QString field = QString::fromStdString(trail.field);
        const QString shown = textOf(&window, field);
        const QString replayed =
            QString::fromStdString(RoundedText(replay(trail), trail.digit, separator));
        const QString written = QString::fromStdString(trail.written(separator));
        if (replayed != shown)
            problems
                << QStringLiteral("%1 shows %2, its trail gives %3").arg(field, shown, replayed);
        if (!written.endsWith(
                QStringLiteral(" = %1 %2").arg(shown, QString::fromStdString(trail.unit))))
            problems << QStringLiteral("%1 written «%2»").arg(field, written);
        const QWidget* edit = control(&window, field);
        if (!edit || edit->toolTip() != written)
            problems << QStringLiteral("%1 tooltip «%2»").arg(field, edit ? edit->toolTip() : "?");
    }
    return problems.join(QStringLiteral("; "));
}

void useTemporaryDataFolder() {
    static QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit());
    // Window sizes and the like, too.
    qputenv("XDG_CONFIG_HOME", (folder.path() + QStringLiteral("/config")).toLocal8Bit());
}

int runTests(int argc, char** argv, QObject* tests) {
    useTemporaryDataFolder();
    installFontSubstitutions();
    return QTest::qExec(tests, argc, argv);
}

} // namespace velaro::test
