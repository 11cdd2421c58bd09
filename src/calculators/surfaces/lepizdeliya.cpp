#include "calculators/surfaces/lepizdeliya.h"

#include "calculators/common/fieldnames.h"
#include "core/coefficients.h"
#include "core/fonts.h"
#include "core/numericedit.h"
#include "core/refusals.h"

#include <QLabel>

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

// Inputs share one column, the check boxes another.
constexpr int kFieldLeft = 334;
constexpr int kBoxLeft = 300;
constexpr int kLabelGap = 8;
constexpr int kUnitGap = 6;

} // namespace

Outcome lepizdeliya::compute(const FormState& state) {
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

TForm15::TForm15(char decimalSeparator, QWidget* parent)
    : CalculatorWindow({"TForm15", "lepizdeliya",
                        QStringLiteral("Калькулятор окраски лепных изделий"), QSize(492, 617)},
                       decimalSeparator, parent) {
    const QFont serif = serifFont();
    addCentredLabel(QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЛЕПНЫХ ИЗДЕЛИЙ"), 10, serif);
    addPicture(QRect(centredLeft(153), 40, 153, 161));

    addInputRow(QStringLiteral("Введите площадь основания лепных изделий:"), kBase,
                QStringLiteral("м2"), 226);
    addInputRow(QStringLiteral("Введите высоту рельефа лепных изделий в мм:"), kRelief,
                QStringLiteral("мм"), 264);
    addCentredLabel(QStringLiteral("Поставьте галочку там, где условие выполняется:"), 310, serif);
    addPatternRow(QStringLiteral("Рисунок редкий:"), kSparse, 340);
    addPatternRow(QStringLiteral("Рисунок густой:"), kDense, 370);

    addComputeButton(QPoint(centredLeft(75), 420));
    addInputRow(QStringLiteral("Площадь окраски лепных изделий:"), kArea, QStringLiteral("м2"),
                484);
    addResetButton(QPoint(centredLeft(75), 548));

    setTabOrder({kBase, "Button1", "Button2", kArea, kSparse, kRelief, kDense});
    setResetOrder({kRelief, kBase, kArea, kSparse, kDense});
    setRule(lepizdeliya::compute);
}

void TForm15::addInputRow(const QString& prompt, const char* field, const QString& unit, int top) {
    const QFont serif = serifFont();
    QLabel* label = addLabel(prompt, QPoint(0, 0), serif);
    label->move(kFieldLeft - kLabelGap - label->width(), top + 2);
    nameAfter(addEdit(field, QPoint(kFieldLeft, top)), label);
    addLabel(unit, QPoint(kFieldLeft + NumericEdit::kWidth + kUnitGap, top + 2), serif);
}

void TForm15::addPatternRow(const QString& text, const char* box, int top) {
    QLabel* label = addLabel(text, QPoint(0, 0), serifFont());
    label->move(kBoxLeft - kLabelGap - label->width(), top);
    addCheckBox(box, QRect(kBoxLeft, top, 17, label->height()), text);
}

} // namespace velaro
