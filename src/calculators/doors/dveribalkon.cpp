#include "calculators/doors/dveribalkon.h"

namespace velaro {
namespace {

constexpr const char* kSashes = "Edit3";
constexpr const char* kSeparate = "CheckBox1";
constexpr const char* kPaired = "CheckBox2";
constexpr const char* kTriple = "CheckBox6";

// Leaves and sash count → their factor; triple glazing scales the paired leaves' two sashes.
// Primed parts are charged nothing extra.
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

} // namespace

Outcome dveribalkon::compute(const FormState& state) {
    if (auto refused = doors::refuseEmptyArea(state))
        return *refused;
    if (auto refused = refuseSashCount(state, kSashes, doors::kResult))
        return *refused;
    const bool paired = state.ticked(kPaired);
    const bool triple = state.ticked(kTriple);
    if (paired && triple && state.text(kSashes) != "2")
        return doors::refusal(message::kTripleGlazingNeedsTwoSashes);
    if (auto refused = refuseUnlessOneTicked(state, {kSeparate, kPaired}, doors::kResult))
        return *refused;
    if (triple && !paired)
        return doors::refusal(message::kWrongTicks);

    TrailTerm area = measured(state, doors::kArea);
    const long double sashes = state.number(kSashes);
    return kTable.result(state, doors::kResult, std::move(area), sashes);
}

TForm23::TForm23(char decimalSeparator, QWidget* parent)
    : DoorWindow({"TForm23", "dveribalkon", QStringLiteral("Калькулятор окраски балконных дверей"),
                  QSize(492, 563)},
                 decimalSeparator, parent) {
    const QSize picture(97, 161);
    const int pictureLeft = client()->width() - kMargin - picture.width();
    addPicture(QRect(QPoint(pictureLeft, kMargin), picture));
    int bottom = addTitle({QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ "),
                           QStringLiteral("ЗАПОЛНЕНИЯ ДВЕРНЫХ ПРОЕМОВ -"),
                           QStringLiteral("БАЛКОННЫЕ ДВЕРИ")},
                          kMargin, pictureLeft);
    bottom = addPromptedField(
                 QStringLiteral("Введите площадь дверных проемов по наружному обводу коробок:"),
                 doors::kArea, QStringLiteral("м2"), QPoint(kMargin, bottom + kGap))
                 .bottom();
    bottom = addPromptedField(QStringLiteral("Введите количество переплетов (1 или 2):"), kSashes,
                              QStringLiteral("шт."), QPoint(kMargin, bottom + kGap))
                 .bottom();
    bottom = addItalicLine(doors::kTickWhereItHolds,
                           std::max(bottom, kMargin + picture.height()) + kGap);

    const CellGrid grid{
        {150, 190, 132},
        {{30, {{QStringLiteral("Характеристика заполнения")}, {QString(), QString(), 2}}},
         {48,
          {{QStringLiteral("Раздельные полотна")},
           {kMasonry, kSeparate, 1, QStringLiteral("Раздельные полотна: ") + kMasonry},
           {QString()}}},
         {48,
          {{QStringLiteral("Спаренные полотна")},
           {kMasonry, kPaired, 1, QStringLiteral("Спаренные полотна: ") + kMasonry},
           {QStringLiteral("С тройным остеклением"), kTriple}}}}};
    bottom = addGrid(grid, bottom + 4);
    bottom = addItalicLine(QStringLiteral("На детали проолифленные коэффициент не начисляется"),
                           bottom + kGap);
    addComputeResultReset({QStringLiteral("Площадь окрашиваемой поверхности"),
                           QStringLiteral("заполнения дверных проемов -"),
                           QStringLiteral("балконных дверей:")},
                          bottom);

    setTabOrder(
        {"Edit2", "Button1", "Button2", "Edit4", "CheckBox1", "Edit3", "CheckBox2", "CheckBox6"});
    setResetOrder({"Edit3", "Edit2", "Edit4", "CheckBox1", "CheckBox2", "CheckBox6"});
    setRule(dveribalkon::compute);
}

} // namespace velaro
