#include "calculators/plumbing/pipeline.h"

#include "core/coefficients.h"
#include "core/fonts.h"

#include <algorithm>
#include <vector>

namespace velaro::pipeline {
namespace {

constexpr int kFieldLeft = 334; // the fields stand in one column, their prompts before them
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
    addTitle(design.title);
    addCentredLabel(design.subtitle, 30, serif);
    addCentredLabel(design.prompt, 58, serif);
    int top = kFirstRowTop;
    for (const Row& row : design.rows) {
        addFieldRow(row.length, QStringLiteral("при диаметре труб, мм: %1:").arg(row.diameter),
                    QStringLiteral("м.п."), QPoint(kFieldLeft, top));
        top += kRowStep;
    }
    const int bottom = client()->height();
    addFoot(bottom - kComputeFromBottom,
            addFieldRow(kTotal, design.totalLabel, QStringLiteral("м2"),
                        QPoint(kFieldLeft, bottom - kTotalFromBottom)),
            bottom - kResetFromBottom);
    setOrders(design.rows);
    setRule([rows = design.rows](const FormState& state) { return pipeline::compute(rows, state); });
}

void Window::setOrders(std::span<const Row> rows) {
    QStringList tabs{kTotal, kCompute, kReset};
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
