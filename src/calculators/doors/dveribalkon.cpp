#include "calculators/doors/dveribalkon.h"

#include <array>

namespace velaro {
namespace {

constexpr const char* kSashes = "Edit3";
constexpr const char* kSeparate = "CheckBox1";
constexpr const char* kPaired = "CheckBox2";
constexpr const char* kTriple = "CheckBox6";

struct LeafCoefficients {
    const char* box;
    long double oneSash;
    long double twoSashes;
};
constexpr std::array<LeafCoefficients, 2> kTable{{{kSeparate, 2.1L, 3.5L}, {kPaired, 1.0L, 2.6L}}};
// Triple glazing scales the paired leaves' two-sash coefficient.
constexpr long double kTripleGlazing = 1.5L;

const QString kMasonry =
    QStringLiteral("Стены каменные, состав заполнения: коробка, дверное полотно");

} // namespace

Outcome dveribalkon::compute(const FormState& state) {
    if (auto refused = doors::refuseEmptyArea(state))
        return *refused;
    if (state.isEmpty(kSashes))
        return Refusal{"Введите количество переплетов !", kSashes, doors::kResult};
    // The sash count is compared as text, before any conversion.
    const std::string& sashes = state.text(kSashes);
    if (sashes != "1" && sashes != "2")
        return Refusal{"Введите количество переплетов 1 или 2!", kSashes, doors::kResult};

    const bool separate = state.ticked(kSeparate);
    const bool paired = state.ticked(kPaired);
    const bool triple = state.ticked(kTriple);
    if (paired && triple && sashes != "2")
        return doors::refusal("При тройном остеклении количество переплетов должно быть 2!");
    if (separate && paired)
        return doors::refusal("Оставьте только одну галочку !");
    if (!separate && !paired)
        return doors::refusal("Поставьте галочку !");
    if (triple && !paired)
        return doors::refusal("Галочки расставлены неверно!");

    long double area = state.number(doors::kArea);
    const long double sashCount = state.number(kSashes);
    const LeafCoefficients& leaves = separate ? kTable[0] : kTable[1];
    area = area * (sashCount == 2.0L ? leaves.twoSashes : leaves.oneSash);
    if (triple)
        area = area * kTripleGlazing;
    return doors::result(state, area);
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
