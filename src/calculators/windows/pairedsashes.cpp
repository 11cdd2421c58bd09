#include "calculators/windows/pairedsashes.h"
#include "calculators/catalog.h"

#include "calculators/windows/openingrule.h"

namespace velaro {
namespace {

using opening::kOiled;

// The window: class, module, height; titles and their pixel height; picture; the openings.
// clang-format off
const OpeningLayout kLayout{"TForm21", "oknasparen", 617,
    {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ ЗАПОЛНЕНИЯ"),
     QStringLiteral("ОКОННЫХ ПРОЕМОВ ЖИЛЫХ И ОБЩЕСТВЕННЫХ ЗДАНИЙ"),
     QStringLiteral("СО СПАРЕННЫМИ ПЕРЕПЛЕТАМИ")},
    10, QSize(73, 153), QStringLiteral("со спаренными переплетами")};
// clang-format on

// Characteristic and sash count → its factor, then triple glazing's (CheckBox5 on the first
// characteristic, CheckBox6 on the second) and the oiled parts' where ticked. Triple glazing with
// one sash never gets this far; on the second characteristic it leaves out the oiled parts.
// clang-format off
const CoefficientTable kCoefficients{{
    {{"CheckBox1"},              {{1.0L}, {1.0L, {kOiled}}},                          sashCount(1)},
    {{"CheckBox1"},              {{2.5L}, {1.5L, {"CheckBox5"}}, {0.3L, {kOiled}}},   sashCount(2)},
    {{"CheckBox2"},              {{1.0L}, {1.0L, {kOiled}}},                          sashCount(1)},
    {{"CheckBox2"},              {{2.2L}, {1.0L, {kOiled}}},                          sashCount(2)},
    {{"CheckBox2", "CheckBox6"}, {{2.2L, {"CheckBox2"}}, {1.5L, {"CheckBox6"}}},      sashCount(2)},
    {{"CheckBox3"},              {{1.6L}, {0.7L, {kOiled}}},                          sashCount(1)},
    {{"CheckBox3"},              {{1.0L}, {1.0L, {kOiled}}},                          sashCount(2)},
    {{"CheckBox7"},              {{1.75L}, {0.45L, {kOiled}}},                        sashCount(1)},
    {{"CheckBox7"},              {{3.5L}, {0.9L, {kOiled}}},                          sashCount(2)},
}};
// clang-format on

const QString kStoneWalls = QStringLiteral("Стены каменные, состав заполнения: ");
const QString kTripleGlazing = QStringLiteral("С тройным остеклением");

constexpr const char* kStoneWithSill = "CheckBox1";
constexpr const char* kStoneWithoutSill = "CheckBox2";
constexpr const char* kTransoms = "CheckBox3";
constexpr const char* kTripleWithSill = "CheckBox5";
constexpr const char* kTripleWithoutSill = "CheckBox6";
constexpr const char* kShopWindows = "CheckBox7";

// Columns: kind of filling, characteristic with its box, glazing with its box. The cells are
// listed in the order of their names.
// clang-format off
const ConditionGrid kGrid{
    .columns = {104, 241, 123},
    .rows = {36, 44, 44, 44, 44},
    .cells =
        {
            {QStringLiteral("Характеристика заполнения"), 0, 0},
            {QString(), 0, 1, 1, 2},
            {kStoneWalls + QStringLiteral("коробка, переплет, подоконная доска"), 1, 1, 1, 1,
             kStoneWithSill},
            {QString(), 1, 0, 2, 1},
            {kStoneWalls + QStringLiteral("коробка, переплет, без подоконной доски"), 2, 1, 1, 1,
             kStoneWithoutSill},
            {kTripleGlazing, 1, 2, 1, 1, kTripleWithSill, {{1, 2}, {1, 1}}},
            {kTripleGlazing, 2, 2, 1, 1, kTripleWithoutSill, {{2, 2}, {2, 1}}},
            {QStringLiteral("Фрамуги"), 3, 0},
            {QStringLiteral("Перегородки, состав заполнения: переплет, наличники с двух сторон"),
             3, 1, 1, 1, kTransoms, {{3, 0}, {3, 1}}},
            {QStringLiteral("Витринное деревянное"), 4, 0},
            {kStoneWalls + QStringLiteral("коробка, переплет"), 4, 1, 1, 1, kShopWindows,
             {{4, 0}, {4, 1}}},
            {QString(), 3, 2, 2, 1},
        },
    .left = OpeningWindow::kMargin,
};
// clang-format on

} // namespace

Outcome pairedsashes::compute(const FormState& state) {
    if (auto refusal = opening::refuseFields(state))
        return *refusal;
    const auto ticked = [&](const char* box) { return state.ticked(box); };
    const bool tripleOnFirst = ticked("CheckBox1") && ticked("CheckBox5");
    const bool tripleOnSecond = ticked("CheckBox2") && ticked("CheckBox6");
    if ((tripleOnFirst || tripleOnSecond) && state.text(opening::kSashes) != "2")
        return tickRefusal(message::kTripleGlazingNeedsTwoSashes, opening::kResult);
    if (ticked("CheckBox5") && ticked("CheckBox6"))
        return tickRefusal(message::kOnlyOneTick, opening::kResult);
    if (auto refusal = opening::refuseConditionCount(
            state, {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox7"}))
        return *refusal;
    if ((ticked("CheckBox5") && !ticked("CheckBox1")) ||
        (ticked("CheckBox6") && !ticked("CheckBox2")))
        return tickRefusal(message::kWrongTicks, opening::kResult);
    return opening::paintedArea(state, kCoefficients);
}

PairedSashesWindow::PairedSashesWindow(char decimalSeparator, QWidget* parent)
    : OpeningWindow(kLayout, kGrid,
                    {kStoneWithSill, kStoneWithoutSill, kTransoms, kPrimedTick, kTripleWithSill,
                     kTripleWithoutSill, kShopWindows},
                    decimalSeparator, parent) {
    setTabOrder({opening::kArea, kCompute, kReset, opening::kResult, kStoneWithSill,
                 opening::kSashes, kStoneWithoutSill, kTransoms, kPrimedTick, kTripleWithSill,
                 kTripleWithoutSill, kShopWindows});
    setRule(pairedsashes::compute);
}

Calculators pairedSashCalculators() {
    return {calculator<PairedSashesWindow>(
        21, "Площадь окраски оконных проемов со спаренными переплетами")};
}

} // namespace velaro
