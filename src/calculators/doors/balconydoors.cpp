// Balcony doors: separate or paired leaves with one or two sashes, paired leaves optionally with
// triple glazing. Primed parts are charged nothing extra, which the window states as a note.

#include "calculators/catalog.h"
#include "calculators/doors/doorwindow.h"

namespace velaro {
namespace {

constexpr const char* kSashes = "Edit3";
constexpr const char* kSeparate = "CheckBox1";
constexpr const char* kPaired = "CheckBox2";
constexpr const char* kTriple = "CheckBox6";

// Leaves and sash count → their factor; triple glazing scales the paired leaves' two sashes.
// clang-format off
const CoefficientTable kTable{{
    {{kSeparate}, {{2.1L}},                      sashCount(1)},
    {{kSeparate}, {{3.5L}},                      sashCount(2)},
    {{kPaired},   {{1.0L}},                      sashCount(1)},
    {{kPaired},   {{2.6L}, {1.5L, {kTriple}}},   sashCount(2)},
}};
// clang-format on

const QString kMasonry =
    QStringLiteral("Стены каменные, состав заполнения: коробка, дверное полотно");

Outcome paintedArea(const FormState& state) {
    if (auto refused = doors::refuseEmptyArea(state))
        return *refused;
    if (auto refused = refuseSashCount(state, kSashes, doors::kResult))
        return *refused;
    const bool paired = state.ticked(kPaired);
    const bool triple = state.ticked(kTriple);
    if (paired && triple && state.text(kSashes) != "2")
        return tickRefusal(message::kTripleGlazingNeedsTwoSashes, doors::kResult);
    if (auto refused = refuseUnlessOneTicked(state, {kSeparate, kPaired}, doors::kResult))
        return *refused;
    if (triple && !paired)
        return tickRefusal(message::kWrongTicks, doors::kResult);

    TrailTerm area = measured(state, doors::kArea);
    const long double sashes = state.number(kSashes);
    return kTable.result(state, doors::kResult, std::move(area), sashes);
}

// The one door window with a layout of its own: the picture beside the title, the area and the
// sash count under their prompts, and a note under the grid.
class BalconyDoorWindow : public DoorWindow {
  public:
    explicit BalconyDoorWindow(char decimalSeparator)
        : DoorWindow({"TForm23", "dveribalkon",
                      QStringLiteral("Калькулятор окраски балконных дверей"), QSize(492, 563)},
                     decimalSeparator) {
        const QSize picture(97, 161);
        const int pictureLeft = client()->width() - kMargin - picture.width();
        addPicture(QRect(QPoint(pictureLeft, kMargin), picture));
        int bottom = addTitle(QStringLiteral(" -\nБАЛКОННЫЕ ДВЕРИ"), pictureLeft);
        const auto addPromptedField = [&](const char* field, const QString& prompt,
                                          const QString& unit) {
            const QPoint at(kMargin, bottom + kGap);
            return addFieldUnder(field, prompt, unit, at, kUnderPrompt).bounds().bottom() + 1;
        };
        bottom = addPromptedField(
            doors::kArea,
            QStringLiteral("Введите площадь дверных проемов по наружному обводу коробок:"),
            QStringLiteral("м2"));
        bottom =
            addPromptedField(kSashes, QStringLiteral("Введите количество переплетов (1 или 2):"),
                             QStringLiteral("шт."));
        bottom = addItalicLine(doors::kTickWhereItHolds,
                               std::max(bottom, kMargin + picture.height()) + kGap);

        const ConditionGrid grid =
            conditionGrid({150, 190, 132}, {30, 48, 48},
                          {{QStringLiteral("Характеристика заполнения"), 0, 0},
                           {QString(), 0, 1, 1, 2},
                           {QStringLiteral("Раздельные полотна"), 1, 0},
                           {kMasonry, 1, 1, 1, 1, kSeparate, {{1, 0}, {1, 1}}},
                           {QString(), 1, 2},
                           {QStringLiteral("Спаренные полотна"), 2, 0},
                           {kMasonry, 2, 1, 1, 1, kPaired, {{2, 0}, {2, 1}}},
                           {QStringLiteral("С тройным остеклением"), 2, 2, 1, 1, kTriple}});
        bottom = addConditionGrid(grid, bottom + 4);
        bottom = addItalicLine(QStringLiteral("На детали проолифленные коэффициент не начисляется"),
                               bottom + kGap);
        addComputeResultReset(QStringLiteral(" -\nбалконных дверей:"), bottom);

        setTabOrder(
            {doors::kArea, kCompute, kReset, doors::kResult, kSeparate, kSashes, kPaired, kTriple});
        setResetOrder({kSashes, doors::kArea, doors::kResult, kSeparate, kPaired, kTriple});
        setShortNames({{doors::kArea, doors::kAreaShortName},
                       {kSashes, "Переплетов"},
                       {kSeparate, "Раздельные полотна"},
                       {kPaired, "Спаренные полотна"}});
        setRule(paintedArea);
    }
};

} // namespace

Calculators balconyDoorCalculators() {
    CalculatorEntry entry =
        calculator<BalconyDoorWindow>(23, "Площадь окраски балконных дверей", "Двери балконные");
    entry.opening = {Opening::Door, doors::kArea, true};
    return {entry};
}

} // namespace velaro
