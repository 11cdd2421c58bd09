#include "calculators/plumbing/pipeline.h"

#include "calculators/common/fieldnames.h"
#include "core/coefficients.h"
#include "core/fonts.h"
#include "core/numericedit.h"

#include <QLabel>

#include <algorithm>
#include <vector>

namespace velaro::pipeline {
namespace {

// Columns: row labels end at the field, the unit stands after it.
constexpr int kFieldLeft = 334;
constexpr int kLabelGap = 8;
constexpr int kUnitGap = 6;
constexpr int kFirstRowTop = 90;
constexpr int kRowStep = 36;
// The bottom block, measured up from the client's lower edge.
constexpr int kResetFromBottom = 48;
constexpr int kTotalFromBottom = 98;
constexpr int kComputeFromBottom = 146;

int fieldNumber(const char* name) {
    return QString::fromLatin1(name).mid(4).toInt();
}

} // namespace

Outcome compute(std::span<const Row> rows, const FormState& state) {
    std::vector<TrailTerm> terms;
    for (const Row& row : rows)
        if (!state.isEmpty(row.length))
            terms.push_back({state.number(row.length),
                             state.unit(row.length),
                             {{row.coefficient, wordsFor(state, row.length)}}});
    Results results;
    results.add(state, trailOf(state, kTotal, std::move(terms)));
    return results;
}

Window::Window(const Design& design, char decimalSeparator, QWidget* parent)
    : CalculatorWindow(design.window, decimalSeparator, parent) {
    const QFont serif = serifFont();
    addCentredLabel(design.title, 10, serif);
    addCentredLabel(design.subtitle, 30, serif);
    addCentredLabel(design.prompt, 58, serif);
    addRows(design.rows);
    addComputeButton(QPoint(centredLeft(75), client()->height() - kComputeFromBottom));
    addTotalRow(design.totalLabel);
    addResetButton(QPoint(centredLeft(75), client()->height() - kResetFromBottom));
    setOrders(design.rows);
    setRule([rows = design.rows](const FormState& state) { return compute(rows, state); });
}

void Window::addRows(std::span<const Row> rows) {
    const QFont serif = serifFont();
    int top = kFirstRowTop;
    for (const Row& row : rows) {
        QLabel* label = addLabel(QStringLiteral("при диаметре труб, мм: %1:").arg(row.diameter),
                                 QPoint(0, 0), serif);
        label->move(kFieldLeft - kLabelGap - label->width(), top + 2);
        nameAfter(addEdit(row.length, QPoint(kFieldLeft, top)), label);
        addLabel(QStringLiteral("м.п."),
                 QPoint(kFieldLeft + NumericEdit::kWidth + kUnitGap, top + 2), serif);
        top += kRowStep;
    }
}

void Window::addTotalRow(const QString& text) {
    const QFont serif = serifFont();
    const int top = client()->height() - kTotalFromBottom;
    QLabel* label = addLabel(text, QPoint(0, 0), serif);
    label->move(kFieldLeft - kLabelGap - label->width(), top + 2);
    nameAfter(addEdit(kTotal, QPoint(kFieldLeft, top)), label);
    addLabel(QStringLiteral("м2"), QPoint(kFieldLeft + NumericEdit::kWidth + kUnitGap, top + 2),
             serif);
}

void Window::setOrders(std::span<const Row> rows) {
    QStringList tabs{kTotal, "Button1", "Button2"};
    std::vector<int> fields{fieldNumber(kTotal)};
    for (const Row& row : rows) {
        tabs << row.length;
        fields.push_back(fieldNumber(row.length));
    }
    setTabOrder(tabs);

    // Reset empties every field, the total included, in numeric order.
    std::sort(fields.begin(), fields.end());
    QStringList reset;
    for (int number : fields)
        reset << QStringLiteral("Edit%1").arg(number);
    setResetOrder(reset);
}

} // namespace velaro::pipeline
