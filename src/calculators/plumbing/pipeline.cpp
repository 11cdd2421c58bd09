// The pipeline windows: one length field per nominal diameter, each length times the painted
// area per running metre of its diameter, summed into one total. The steel and cast-iron
// windows are one window with two designs: their texts and their table of rows.

#include "calculators/catalog.h"

#include "core/coefficients.h"

#include <string>
#include <vector>

namespace velaro {
namespace {

constexpr const char* kTotal = "Edit1";

constexpr int kFieldLeft = 334; // the fields stand in one column, their prompts before them
constexpr int kFirstRowTop = 90;
constexpr int kRowStep = 36;
// The bottom block, measured up from the client's lower edge.
constexpr int kResetFromBottom = 48;
constexpr int kTotalFromBottom = 98;
constexpr int kComputeFromBottom = 146;

struct Row {
    int diameter;            // mm, shown in the row label
    const char* length;      // the row's length field
    long double coefficient; // м2 per running metre
};

struct Design {
    const char* className;
    const char* module;
    int height;
    QString material; // e.g. "стальных", in the caption, the title and the total's caption
    const char* included; // the protrusions and fasteners the areas include
    const char* prompt;
    std::vector<Row> rows; // their fields are Edit2 … Edit<rows + 1>
};

// Painted area per running metre of pipes and fittings, the fasteners included (and for steel
// the hooks, for cast iron the sockets).
// clang-format off
const Design kSteel{"TForm3", "trubisfason", 569, "стальных",
    "включая площади выступов от фасонных частей и крючьев, и крепления:",
    "Введите м.п. стальных трубопроводов:",
    {{15, "Edit3", 0.11L}, {20, "Edit2", 0.13L}, {25, "Edit4", 0.16L},
     {32, "Edit5", 0.18L}, {40, "Edit6", 0.21L}, {50, "Edit7", 0.26L},
     {63, "Edit8", 0.31L}, {75, "Edit9", 0.36L}, {100, "Edit10", 0.46L}}};
const Design kCastIron{"TForm4", "chuguntrubi", 433, "чугунных",
    "включая площади выступов от раструбов и креплений:",
    "Введите м.п. чугунных труб и фасонных частей:",
    {{50, "Edit3", 0.28L}, {75, "Edit2", 0.37L}, {100, "Edit4", 0.48L},
     {125, "Edit5", 0.59L}, {150, "Edit6", 0.72L}}};
// clang-format on

// Each filled row's length times its coefficient, summed unrounded in row order and shown at two
// decimals. The first malformed length in row order ends the computation.
Outcome total(const std::vector<Row>& rows, const FormState& state) {
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

class PipelineWindow : public CalculatorWindow {
  public:
    PipelineWindow(const Design& design, char decimalSeparator)
        : CalculatorWindow(
              {design.className, design.module,
               QStringLiteral("Калькулятор окраски %1 трубопроводов").arg(design.material),
               QSize(kClientWidth, design.height)},
              decimalSeparator) {
        const QString& material = design.material;
        addTitle(
            QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ %1 ТРУБОПРОВОДОВ").arg(material.toUpper()));
        addCentredLabel(design.included, 30);
        addCentredLabel(design.prompt, 58);
        QStringList tabs{kTotal, kCompute, kReset};
        ShortNames names; // the sheet names a length by its diameter
        int top = kFirstRowTop;
        for (const Row& row : design.rows) {
            addFieldRow(row.length, QStringLiteral("при диаметре труб, мм: %1:").arg(row.diameter),
                        "м.п.", QPoint(kFieldLeft, top));
            tabs << row.length;
            names.emplace_back(row.length, "Ø " + std::to_string(row.diameter) + " мм, длина");
            top += kRowStep;
        }
        setShortNames(std::move(names));
        const int bottom = client()->height();
        addFoot(
            bottom - kComputeFromBottom,
            addFieldRow(kTotal,
                        QStringLiteral("Суммарная площадь окраски %1 трубопроводов:").arg(material),
                        "м2", QPoint(kFieldLeft, bottom - kTotalFromBottom)),
            bottom - kResetFromBottom);
        setTabOrder(tabs);

        // Reset empties every field, the total included, in numeric order.
        QStringList reset;
        for (std::size_t i = 1; i <= design.rows.size() + 1; ++i)
            reset << QStringLiteral("Edit%1").arg(i);
        setResetOrder(reset);
        setRule([rows = design.rows](const FormState& state) { return total(rows, state); });
    }
};

} // namespace

Calculators pipelineCalculators() {
    return {
        calculator<PipelineWindow>(3, "Площадь окраски стальных труб с выступами, креплениями...",
                                   "Трубопроводы стальные", kSteel),
        calculator<PipelineWindow>(4,
                                   "Площадь окраски чугунных труб, включая выступы, крепления...",
                                   "Трубопроводы чугунные", kCastIron)};
}

} // namespace velaro
