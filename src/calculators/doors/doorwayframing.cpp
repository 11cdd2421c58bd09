#include "calculators/doors/doorwayframing.h"
#include "calculators/catalog.h"

namespace velaro {
namespace {

constexpr const char* kPartitions = "CheckBox3";
constexpr const char* kThick = "CheckBox6";

// Normal or thick partitions, then primed parts.
const CoefficientTable kTable{{
    {{kPartitions}, {{0.9L}, {0.4L, {doors::kPrimed}}}},
    {{kPartitions, kThick}, {{1.1L}, {0.4L, {doors::kPrimed}}}},
}};

} // namespace

Outcome doorwayframing::compute(const FormState& state) {
    if (auto refused = doors::refuseEmptyArea(state))
        return *refused;
    // Checked before the area is read, so a malformed area is reported only after it.
    if (!state.ticked(kPartitions))
        return doors::refusal("Поставьте галочку для состава заполнения!");
    return doors::paintedArea(state, kTable);
}

DoorwayFramingWindow::DoorwayFramingWindow(char decimalSeparator, QWidget* parent)
    : DoorWindow({"TForm27", "arka",
                  QStringLiteral("Калькулятор окраски дверных проемов - обрамление открытого "
                                 "проема"),
                  QSize(492, 573)},
                 decimalSeparator, parent) {
    const ConditionGrid grid = conditionGrid(
        {237, 237}, {60},
        {{QStringLiteral("Перегородки, состав заполнения: коробка, наличники с двух сторон (с "
                         "учетом нормальной толщины коробок):"),
          0, 0, 1, 1, kPartitions},
         {doors::kThickPartitions, 0, 1, 1, 1, kThick}});
    addAreaWindowParts({QStringLiteral("ЗАПОЛНЕНИЯ ДВЕРНЫХ ПРОЕМОВ - ОБРАМЛЕНИЕ ОТКРЫТОГО ПРОЕМА:"),
                        QSize(145, 161),
                        true,
                        grid,
                        PrimedText::Label,
                        {QStringLiteral("Площадь окрашиваемой поверхности"),
                         QStringLiteral("заполнения дверных проемов - "),
                         QStringLiteral("обрамление открытого проема:")}});
    setTabOrder({doors::kArea, kCompute, kReset, doors::kResult, kPrimedTick, kPartitions, kThick});
    setResetOrder({doors::kArea, doors::kResult, kPartitions, kThick, kPrimedTick});
    setRule(doorwayframing::compute);
}

Calculators doorwayFramingCalculators() {
    return {
        calculator<DoorwayFramingWindow>(27, "Площадь окраски обрамлений дверных проемов (арка)")};
}

} // namespace velaro
