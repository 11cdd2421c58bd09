#include "calculators/surfaces/lepizdeliya.h"

#include "core/fonts.h"

namespace velaro {
namespace {

constexpr const char* kBase = "Edit2";
constexpr const char* kRelief = "Edit3";
constexpr const char* kArea = "Edit4";
constexpr const char* kSparse = "CheckBox1";
constexpr const char* kDense = "CheckBox2";

constexpr long double kLowReliefUpTo = 30.0L; // mm, this height included

long double coefficientFor(bool dense, long double relief) {
    const bool low = relief <= kLowReliefUpTo;
    if (dense)
        return low ? 3.0L : 5.0L;
    return low ? 1.5L : 3.0L;
}

constexpr int kFieldLeft = 334; // the fields stand in one column, their prompts before them

// The two patterns, each text ending kPromptGap before its box; the boxes stand at x = 300.
const ConditionGrid kPatterns{
    .columns = {142},
    .rows = {15, 15},
    .cells = {{QStringLiteral("Рисунок редкий:"), 0, 0, 1, 1, kSparse},
              {QStringLiteral("Рисунок густой:"), 1, 0, 1, 1, kDense}},
    .style = ConditionGrid::Cells::Plain,
    .spacing = 15,
    .boxGap = kPromptGap,
    .plainAlignment = Qt::AlignRight,
};

} // namespace

Outcome lepizdeliya::compute(const FormState& state) {
    if (state.isEmpty(kBase))
        return Refusal{"Введите площадь основания лепных изделий !", kBase, kArea};
    if (state.isEmpty(kRelief))
        return Refusal{"Введите высоту рельефа лепных изделий в мм !", kRelief, kArea};
    const bool sparse = state.ticked(kSparse);
    const bool dense = state.ticked(kDense);
    if (sparse && dense)
        return Refusal{"Оставьте только одну галочку !", "", kArea};
    if (!sparse && !dense)
        return Refusal{"Поставьте галочку !", "", kArea};
    const long double base = state.number(kBase);
    const long double relief = state.number(kRelief);
    return Results{{{kArea, state.shown(base * coefficientFor(dense, relief), -2)}}};
}

TForm15::TForm15(char decimalSeparator, QWidget* parent)
    : CalculatorWindow({"TForm15", "lepizdeliya",
                        QStringLiteral("Калькулятор окраски лепных изделий"), QSize(492, 617)},
                       decimalSeparator, parent) {
    addTitle(QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЛЕПНЫХ ИЗДЕЛИЙ"));
    addCentredPicture({153, 161}, 40);

    addFieldRow(kBase, QStringLiteral("Введите площадь основания лепных изделий:"),
                QStringLiteral("м2"), QPoint(kFieldLeft, 226));
    addFieldRow(kRelief, QStringLiteral("Введите высоту рельефа лепных изделий в мм:"),
                QStringLiteral("мм"), QPoint(kFieldLeft, 264));
    addCentredLabel(QStringLiteral("Поставьте галочку там, где условие выполняется:"), 310,
                    serifFont());
    addConditionGrid(kPatterns, 340);
    addFoot(420,
            addFieldRow(kArea, QStringLiteral("Площадь окраски лепных изделий:"),
                        QStringLiteral("м2"), QPoint(kFieldLeft, 484)),
            548);

    setTabOrder({kBase, kCompute, kReset, kArea, kSparse, kRelief, kDense});
    setResetOrder({kRelief, kBase, kArea, kSparse, kDense});
    setRule(lepizdeliya::compute);
}

} // namespace velaro
