#include "calculators/common/oneinput.h"

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
constexpr int kUnderPrompt = 4; // from a prompt's foot to its field

int bottomOf(const QList<QWidget*>& row) {
    int bottom = 0;
    for (const QWidget* widget : row)
        bottom = std::max(bottom, widget->geometry().bottom() + 1);
    return bottom;
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
    rows << Row{addCentredPicture(description.picture, 0)};
    rows << addInputRow(description);
    const WindowFoot foot =
        addFoot(0,
                addCentredFieldRow(oneinput::kResult, description.resultPrompt.join('\n'),
                                   description.resultUnit, 0),
                0);
    rows << Row{foot.compute} << foot.result.widgets() << Row{foot.reset};
    stack(rows);

    setTabOrder({oneinput::kResult, oneinput::kInput, kCompute, kReset});
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
    const FieldRow input =
        addField(oneinput::kInput, prompt, description.inputUnit,
                 QPoint(centredLeft(NumericEdit::kWidth), bottomOf(row) + kUnderPrompt));
    return row << input.field << input.unit;
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
