#include "calculators/surfaces/leppotolok.h"

#include "core/fonts.h"
#include "core/numericedit.h"

#include <QLabel>

#include <array>
#include <optional>

namespace velaro {
namespace {

constexpr const char* kPercentage = "Edit1";
constexpr const char* kProjection = "Edit2";
constexpr const char* kArea = "Edit4";

// Bands of the stucco share, each from its lower bound up to the next bound (exclusive).
struct Band {
    long double from; // per cent
    long double coefficient;
};
constexpr std::array<Band, 4> kBandsAbove{
    {{2.05L, 1.1L}, {10.05L, 1.5L}, {40.05L, 2.1L}, {70.05L, 2.8L}}};
constexpr long double kFirstBand = 1.0L; // below 2.05 %, negative shares included
constexpr long double kMostPercent = 100.0L;

// The coefficient for a share, or nothing past 100 %. Compared at full precision.
std::optional<long double> coefficientFor(long double percent) {
    if (percent > kMostPercent)
        return std::nullopt;
    long double coefficient = kFirstBand;
    for (const Band& band : kBandsAbove)
        if (percent >= band.from)
            coefficient = band.coefficient;
    return coefficient;
}

} // namespace

Outcome leppotolok::compute(const FormState& state) {
    if (state.isEmpty(kProjection))
        return Refusal{"Введите площадь горизонтальной проекции лепных потолков !", kProjection,
                       kArea};
    if (state.isEmpty(kPercentage))
        return Refusal{
            "Введите площадь горизонтальной проекции лепных изделий в % от площади потолков !",
            kPercentage, kArea};
    // The percentage is read first, so it is the one named when both are malformed.
    const long double percent = state.number(kPercentage);
    const long double projection = state.number(kProjection);
    const std::optional<long double> coefficient = coefficientFor(percent);
    if (!coefficient)
        return Refusal{"Не более 100%", kArea, kArea};
    return Results{{{kArea, state.shown(projection * *coefficient, -2)}}};
}

TForm10::TForm10(char decimalSeparator, QWidget* parent)
    : CalculatorWindow({"TForm10", "leppotolok",
                        QStringLiteral("Калькулятор окраски лепных потолков"), QSize(492, 504)},
                       decimalSeparator, parent) {
    const QFont serif = serifFont();
    addTitle(QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЛЕПНЫХ ПОТОЛКОВ"));
    addCentredPicture({161, 137}, 36);

    // Long prompts stand centred above their field; the field is centred with its unit beside.
    const int fieldLeft = centredLeft(NumericEdit::kWidth);
    QLabel* projection = addCentredLabel(
        QStringLiteral("Введите площадь горизонтальной проекции лепных потолков:"), 190, serif);
    addField(kProjection, projection, QStringLiteral("м2"), QPoint(fieldLeft, 210), UnitLine::Text);
    QLabel* percentage =
        addCentredLabel(QStringLiteral("Введите площадь горизонтальной проекции лепных изделий\n"
                                       "в % от площади потолков:"),
                        248, serif);
    addField(kPercentage, percentage, QStringLiteral("%"), QPoint(fieldLeft, 284), UnitLine::Text);

    addFoot(326,
            addFieldRow(kArea, QStringLiteral("Площадь окраски лепных потолков:"),
                        QStringLiteral("м2"), QPoint(300, 382)),
            440);

    setTabOrder({kPercentage, kProjection, kCompute, kReset, kArea});
    setResetOrder({kPercentage, kProjection, kArea});
    setRule(leppotolok::compute);
}

} // namespace velaro
