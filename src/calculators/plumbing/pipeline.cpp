#include "calculators/plumbing/pipeline.h"
#include "calculators/catalog.h"

#include "core/coefficients.h"
#include "core/fonts.h"

#include <algorithm>
#include <array>
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

// Painted area per running metre of pipes and fittings, the fasteners included (and for steel
// the hooks, for cast iron the sockets).
constexpr std::array<Row, 9> kSteelRows{{{15, "Edit3", 0.11L},
                                         {20, "Edit2", 0.13L},
                                         {25, "Edit4", 0.16L},
                                         {32, "Edit5", 0.18L},
                                         {40, "Edit6", 0.21L},
                                         {50, "Edit7", 0.26L},
                                         {63, "Edit8", 0.31L},
                                         {75, "Edit9", 0.36L},
                                         {100, "Edit10", 0.46L}}};
constexpr std::array<Row, 5> kCastIronRows{{{50, "Edit3", 0.28L},
                                            {75, "Edit2", 0.37L},
                                            {100, "Edit4", 0.48L},
                                            {125, "Edit5", 0.59L},
                                            {150, "Edit6", 0.72L}}};

// The two windows name their material, e.g. "стальных", in the caption, the title and the
// total's caption; the protrusions included, the prompt, the height and the rows are their own.
Design pipelines(const char* className, const char* module, int clientHeight,
                 const QString& material, const QString& included, const QString& prompt,
                 std::span<const Row> rows) {
    return {{className, module,
             QStringLiteral("Калькулятор окраски %1 трубопроводов").arg(material),
             QSize(CalculatorWindow::kClientWidth, clientHeight)},
            QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ %1 ТРУБОПРОВОДОВ").arg(material.toUpper()),
            included,
            prompt,
            QStringLiteral("Суммарная площадь окраски %1 трубопроводов:").arg(material),
            rows};
}

int fieldNumber(const char* name) {
    return QString::fromLatin1(name).mid(4).toInt();
}

} // namespace

const Design& steelPipelines() {
    static const Design steel = pipelines(
        "TForm3", "trubisfason", 569, QStringLiteral("стальных"),
        QStringLiteral("включая площади выступов от фасонных частей и крючьев, и крепления:"),
        QStringLiteral("Введите м.п. стальных трубопроводов:"), kSteelRows);
    return steel;
}

const Design& castIronPipelines() {
    static const Design castIron =
        pipelines("TForm4", "chuguntrubi", 433, QStringLiteral("чугунных"),
                  QStringLiteral("включая площади выступов от раструбов и креплений:"),
                  QStringLiteral("Введите м.п. чугунных труб и фасонных частей:"), kCastIronRows);
    return castIron;
}

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
    setRule(
        [rows = design.rows](const FormState& state) { return pipeline::compute(rows, state); });
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

namespace velaro {

Calculators pipelineCalculators() {
    return {
        calculator<pipeline::Window>(3, "Площадь окраски стальных труб с выступами, креплениями...",
                                     pipeline::steelPipelines()),
        calculator<pipeline::Window>(4,
                                     "Площадь окраски чугунных труб, включая выступы, крепления...",
                                     pipeline::castIronPipelines())};
}

} // namespace velaro
