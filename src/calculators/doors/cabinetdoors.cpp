#include "calculators/doors/cabinetdoors.h"
#include "calculators/catalog.h"

namespace velaro {
namespace {

// The window's one case, then primed parts.
const CoefficientTable kTable{{{{}, {{2.1L}, {0.3L, {doors::kPrimed}}}}}};

} // namespace

Outcome cabinetdoors::compute(const FormState& state) {
    if (auto refused = doors::refuseEmptyArea(state))
        return *refused;
    return doors::paintedArea(state, kTable);
}

CabinetDoorWindow::CabinetDoorWindow(char decimalSeparator, QWidget* parent)
    : DoorWindow({"TForm26", "shkafniedveri",
                  QStringLiteral("Калькулятор окраски дверных проемов - шкафные двери"),
                  QSize(492, 513)},
                 decimalSeparator, parent) {
    // The only case the window serves, stated without a check box.
    const ConditionGrid grid = conditionGrid(
        {476}, {30},
        {{QStringLiteral("Перегородки, состав заполнения: коробка, полотно, наличники с одной "
                         "стороны"),
          0, 0}});
    addAreaWindowParts(
        {QStringLiteral("ЗАПОЛНЕНИЯ ДВЕРНЫХ ПРОЕМОВ - ШКАФНЫЕ ДВЕРИ:"),
         QSize(113, 161),
         false,
         grid,
         PrimedText::Label,
         {QStringLiteral("Площадь окрашиваемой поверхности"),
          QStringLiteral("заполнения дверных проемов - "), QStringLiteral("шкафные двери:")}});
    setTabOrder({doors::kArea, kCompute, kReset, doors::kResult, kPrimedTick});
    setResetOrder({doors::kArea, doors::kResult, kPrimedTick});
    setRule(cabinetdoors::compute);
}

Calculators cabinetDoorCalculators() {
    return {calculator<CabinetDoorWindow>(26, "Площадь окраски шкафных дверей")};
}

} // namespace velaro
