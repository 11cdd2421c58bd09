// Stucco ceilings: the ceiling's horizontal projection times a coefficient chosen by how much
// of it the stucco products cover.

#include "calculators/catalog.h"

#include "core/coefficients.h"
#include "core/numericedit.h"
#include "core/refusals.h"

#include <QLabel>

namespace velaro {
namespace {

constexpr const char* kPercentage = "Edit1";
constexpr const char* kProjection = "Edit2";
constexpr const char* kArea = "Edit4";

// Bands of the stucco share, compared at full precision; the first takes negative shares too,
// and none takes a share past 100 %.
// clang-format off
const CoefficientTable kBands{{
    {{}, {{1.0L}}, below(2.05L)},
    {{}, {{1.1L}}, between(2.05L, 10.05L)},
    {{}, {{1.5L}}, between(10.05L, 40.05L)},
    {{}, {{2.1L}}, between(40.05L, 70.05L)},
    {{}, {{2.8L}}, between(70.05L, 100.0L, true)},
}, "лепные изделия", "%"};
// clang-format on

// Both inputs are required; a percentage above 100 is refused.
Outcome area(const FormState& state) {
    if (auto refusal = refuseEmpty(
            state, kProjection, "Введите площадь горизонтальной проекции лепных потолков !", kArea))
        return *refusal;
    if (auto refusal = refuseEmpty(
            state, kPercentage,
            "Введите площадь горизонтальной проекции лепных изделий в % от площади потолков !",
            kArea))
        return *refusal;
    // The percentage is read first, so it is the one named when both are malformed.
    const long double percent = state.number(kPercentage);
    TrailTerm projection = measured(state, kProjection);
    if (!kBands.rowFor(state, percent))
        return Refusal{"Не более 100%", kArea, kArea};
    return kBands.result(state, kArea, std::move(projection), percent);
}

class StuccoCeilingsWindow : public CalculatorWindow {
  public:
    explicit StuccoCeilingsWindow(char decimalSeparator)
        : CalculatorWindow(
              {"TForm10", "leppotolok", "Калькулятор окраски лепных потолков", QSize(492, 504)},
              decimalSeparator) {
        addTitle("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЛЕПНЫХ ПОТОЛКОВ");
        addCentredPicture({161, 137}, 36);

        // Long prompts stand centred above their field; the field is centred with its unit beside.
        const int fieldLeft = centredLeft(NumericEdit::kWidth);
        QLabel* projection =
            addCentredLabel("Введите площадь горизонтальной проекции лепных потолков:", 190);
        addField(kProjection, projection, "м2", QPoint(fieldLeft, 210), UnitLine::Text);
        QLabel* percentage =
            addCentredLabel("Введите площадь горизонтальной проекции лепных изделий\n"
                            "в % от площади потолков:",
                            248);
        addField(kPercentage, percentage, "%", QPoint(fieldLeft, 284), UnitLine::Text);

        addFoot(326, addFieldRow(kArea, "Площадь окраски лепных потолков:", "м2", QPoint(300, 382)),
                440);

        setTabOrder({kPercentage, kProjection, kCompute, kReset, kArea});
        setResetOrder({kPercentage, kProjection, kArea});
        setShortNames({{kProjection, "Площадь проекции"}, {kPercentage, "Лепные изделия"}});
        setRule(area);
    }
};

} // namespace

Calculators stuccoCeilingCalculators() {
    return {
        calculator<StuccoCeilingsWindow>(10, "Площадь окраски лепных потолков", "Потолки лепные")};
}

} // namespace velaro
