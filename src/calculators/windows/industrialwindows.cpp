#include "calculators/windows/industrialwindows.h"
#include "calculators/catalog.h"

#include "calculators/windows/openingrule.h"

namespace velaro {
namespace {

// The window: class, module, height; titles and their pixel height; picture; the openings.
// clang-format off
const OpeningLayout kLayout{"TForm22", "oknapromish", 599,
    {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ "),
     QStringLiteral("ЗАПОЛНЕНИЯ  ОКОННЫХ ПРОЕМОВ ПРОМЫШЛЕННЫХ ЗДАНИЙ")},
    11, QSize(73, 153), QStringLiteral("промышленных зданий")};
// clang-format on

// Ticked size class and sash count → its factor, then the oiled parts' factor where ticked. The
// class is what the user ticks; the area typed is not compared with 4 м2.
// clang-format off
const CoefficientTable kCoefficients = opening::tableBySashes({
    // size class    1 sash, oiled   2 sashes, oiled
    {"CheckBox1",    {2.1L, 0.3L},   {3.2L, 0.3L}},
    {"CheckBox2",    {1.7L, 0.2L},   {2.6L, 0.2L}},
});
// clang-format on

const QString kFilling = QStringLiteral(
    "Стены каменные, состав заполнения: коробка, переплет, раскладки, монтажные подоконные доски");

constexpr const char* kUpTo4 = "CheckBox1";
constexpr const char* kOver4 = "CheckBox2";

// Columns: size class, filling with its box.
// clang-format off
const ConditionGrid kGrid{
    .columns = {168, 295},
    .rows = {30, 46, 46},
    .cells =
        {
            {QStringLiteral("Характеристика заполнения"), 0, 0},
            {QString(), 0, 1},
            {QStringLiteral("Площадью до 4 м2 с раздельными переплетами"), 1, 0},
            {kFilling, 1, 1, 1, 1, kUpTo4, {{1, 0}, {1, 1}}},
            {QStringLiteral("Площадью более 4 м2 с раздельными переплетами"), 2, 0},
            {kFilling, 2, 1, 1, 1, kOver4, {{2, 0}, {2, 1}}},
        },
    .left = OpeningWindow::kMargin,
};
// clang-format on

} // namespace

Outcome industrialwindows::compute(const FormState& state) {
    if (auto refusal = opening::refuseFields(state))
        return *refusal;
    if (auto refusal = opening::refuseConditionCount(state, {"CheckBox1", "CheckBox2"}))
        return *refusal;
    return opening::paintedArea(state, kCoefficients);
}

IndustrialWindow::IndustrialWindow(char decimalSeparator, QWidget* parent)
    : OpeningWindow(kLayout, kGrid, {kUpTo4, kOver4, kPrimedTick}, decimalSeparator, parent) {
    setTabOrder({opening::kArea, kCompute, kReset, opening::kResult, kUpTo4, opening::kSashes,
                 kOver4, kPrimedTick});
    setRule(industrialwindows::compute);
}

Calculators industrialWindowCalculators() {
    return {
        calculator<IndustrialWindow>(22, "Площадь окраски оконных проемов промышленных зданий")};
}

} // namespace velaro
