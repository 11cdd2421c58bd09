// Stucco products: the base area times a coefficient chosen by the pattern (sparse or dense)
// and by whether the relief is higher than 30 mm.

#include "calculators/catalog.h"

#include "core/coefficients.h"
#include "core/refusals.h"

namespace velaro {
namespace {

constexpr const char* kBase = "Edit2";
constexpr const char* kRelief = "Edit3";
constexpr const char* kArea = "Edit4";
constexpr const char* kSparse = "CheckBox1";
constexpr const char* kDense = "CheckBox2";

// Pattern and relief height → the factor; a relief of 30 mm is still low.
// clang-format off
const CoefficientTable kCoefficients{{
    {{kSparse}, {{1.5L}}, upTo(30.0L)},
    {{kSparse}, {{3.0L}}, above(30.0L)},
    {{kDense},  {{3.0L}}, upTo(30.0L)},
    {{kDense},  {{5.0L}}, above(30.0L)},
}, "рельеф", "мм"};
// clang-format on

constexpr int kFieldLeft = 334; // the fields stand in one column, their prompts before them

// The two patterns, each text ending kPromptGap before its box; the boxes stand at x = 300.
const ConditionGrid kPatterns{
    .columns = {142},
    .rows = {15, 15},
    .cells = {{"Рисунок редкий:", 0, 0, 1, 1, kSparse}, {"Рисунок густой:", 1, 0, 1, 1, kDense}},
    .style = ConditionGrid::Cells::Prompts,
    .spacing = 15,
    .boxGap = kPromptGap,
};

// Both inputs and exactly one tick are required, checked before anything is read.
Outcome area(const FormState& state) {
    if (auto refusal =
            refuseEmpty(state, kBase, "Введите площадь основания лепных изделий !", kArea))
        return *refusal;
    if (auto refusal =
            refuseEmpty(state, kRelief, "Введите высоту рельефа лепных изделий в мм !", kArea))
        return *refusal;
    if (auto refusal = refuseUnlessOneTicked(state, {kSparse, kDense}, kArea))
        return *refusal;
    TrailTerm base = measured(state, kBase);
    const long double relief = state.number(kRelief);
    return kCoefficients.result(state, kArea, std::move(base), relief);
}

class StuccoProductsWindow : public CalculatorWindow {
  public:
    explicit StuccoProductsWindow(char decimalSeparator)
        : CalculatorWindow(
              {"TForm15", "lepizdeliya", "Калькулятор окраски лепных изделий", QSize(492, 617)},
              decimalSeparator) {
        addTitle("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЛЕПНЫХ ИЗДЕЛИЙ");
        addCentredPicture({153, 161}, 40);

        addFieldRow(kBase, "Введите площадь основания лепных изделий:", "м2",
                    QPoint(kFieldLeft, 226));
        addFieldRow(kRelief, "Введите высоту рельефа лепных изделий в мм:", "мм",
                    QPoint(kFieldLeft, 264));
        addCentredLabel("Поставьте галочку там, где условие выполняется:", 310);
        addConditionGrid(kPatterns, 340);
        addFoot(
            420,
            addFieldRow(kArea, "Площадь окраски лепных изделий:", "м2", QPoint(kFieldLeft, 484)),
            548);

        setTabOrder({kBase, kCompute, kReset, kArea, kSparse, kRelief, kDense});
        setResetOrder({kRelief, kBase, kArea, kSparse, kDense});
        setShortNames({{kBase, "Площадь основания"}, {kRelief, "Высота рельефа"}});
        setRule(area);
    }
};

} // namespace

Calculators stuccoProductCalculators() {
    return {
        calculator<StuccoProductsWindow>(15, "Площадь окраски лепных изделий", "Лепные изделия")};
}

} // namespace velaro
