#include "calculators/common/oneinput.h"

#include "calculators/common/fieldnames.h"
#include "core/fonts.h"
#include "core/numericedit.h"
#include "core/picturearea.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace velaro {
namespace {

constexpr int kTopMargin = 10;
constexpr int kBottomMargin = 12;
constexpr int kPromptGap = 4; // between a prompt and its field
constexpr int kUnitGap = 6;   // between a field and its unit
constexpr int kLabelGap = 8;  // between the result prompt and its field
constexpr int kButtonWidth = 75;

int bottomOf(const QList<QWidget*>& row) {
    int bottom = 0;
    for (const QWidget* widget : row)
        bottom = std::max(bottom, widget->geometry().bottom() + 1);
    return bottom;
}

// Centres a widget vertically on a band of the given height starting at y = 0.
void centreIn(QWidget* widget, int height) {
    widget->move(widget->x(), (height - widget->height()) / 2);
}

} // namespace

Outcome oneinput::compute(const FormState& state, long double coefficient) {
    return resultOf(state, kResult,
                    {state.numberOrZero(kInput), state.unit(kInput), {{coefficient}}});
}

OneInputWindow::OneInputWindow(const OneInputDescription& description, char decimalSeparator,
                               QWidget* parent)
    : CalculatorWindow(description.window, decimalSeparator, parent) {
    QList<Row> rows;
    rows << Row{addCentredLabel(description.title.join('\n'), 0, serifFont())};
    rows << Row{addPicture(
        QRect(QPoint(centredLeft(description.picture.width()), 0), description.picture))};
    rows << addInputRow(description);
    rows << Row{addComputeButton(QPoint(centredLeft(kButtonWidth), 0))};
    rows << addResultRow(description);
    rows << Row{addResetButton(QPoint(centredLeft(kButtonWidth), 0))};
    stack(rows);

    setTabOrder(description.tabOrder);
    setResetOrder({oneinput::kResult, oneinput::kInput});
    const long double coefficient = description.coefficient;
    setRule(
        [coefficient](const FormState& state) { return oneinput::compute(state, coefficient); });
}

OneInputWindow::Row OneInputWindow::addInputRow(const OneInputDescription& description) {
    QLabel* prompt = addCentredLabel(description.prompt.join('\n'), 0, serifFont());
    Row row{prompt};
    if (!description.promptNotes.isEmpty()) {
        QLabel* notes =
            addLabel(description.promptNotes.join('\n'), QPoint(0, bottomOf(row)), serifFont());
        notes->move(centredLeft(notes->width()), notes->y());
        row << notes;
    }
    NumericEdit* input = addEdit(
        oneinput::kInput, QPoint(centredLeft(NumericEdit::kWidth), bottomOf(row) + kPromptGap));
    nameAfter(input, prompt);
    row << input << addUnit(description.inputUnit, input);
    return row;
}

OneInputWindow::Row OneInputWindow::addResultRow(const OneInputDescription& description) {
    QLabel* prompt = addLabel(description.resultPrompt.join('\n'), QPoint(0, 0), serifFont());
    NumericEdit* result = addEdit(oneinput::kResult, QPoint(0, 0));
    nameAfter(result, prompt);
    QWidget* unit = addUnit(description.resultUnit, result);
    // The prompt, the field and its unit stand centred as one group.
    const int groupWidth =
        prompt->width() + kLabelGap + NumericEdit::kWidth + kUnitGap + unit->width();
    prompt->move(centredLeft(groupWidth), 0);
    result->move(prompt->geometry().right() + 1 + kLabelGap, 0);
    unit->move(result->geometry().right() + 1 + kUnitGap, 0);
    const int height = std::max(prompt->height(), result->height());
    for (QWidget* widget : {static_cast<QWidget*>(prompt), static_cast<QWidget*>(result), unit})
        centreIn(widget, height);
    return {prompt, result, unit};
}

QWidget* OneInputWindow::addUnit(const QString& unit, const QWidget* field) {
    QLabel* label =
        addLabel(unit, QPoint(field->geometry().right() + 1 + kUnitGap, 0), serifFont());
    label->move(label->x(), field->y() + (field->height() - label->height()) / 2);
    return label;
}

void OneInputWindow::stack(const QList<Row>& rows) {
    int used = 0;
    for (const Row& row : rows)
        used += bottomOf(row);
    const int spare = client()->height() - kTopMargin - kBottomMargin - used;
    const int gap = std::max(0, spare / static_cast<int>(rows.size() - 1));
    int top = kTopMargin;
    for (const Row& row : rows) {
        const int height = bottomOf(row);
        for (QWidget* widget : row)
            widget->move(widget->x(), widget->y() + top);
        top += height + gap;
    }
}

} // namespace velaro
