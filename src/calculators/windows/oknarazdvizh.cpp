#include "calculators/windows/oknarazdvizh.h"

#include "calculators/windows/openingrule.h"
#include "core/fonts.h"

#include <QLabel>

namespace velaro {
namespace {

using opening::kOiled;

// Ticked condition and sash count → its factor, then the oiled parts' factor where ticked.
// clang-format off
const CoefficientTable kCoefficients{{
    {{"CheckBox1"}, {{1.5L}, {0.3L, {kOiled}}}, sashCount(1)},
    {{"CheckBox1"}, {{2.8L}, {0.3L, {kOiled}}}, sashCount(2)},
    {{"CheckBox2"}, {{1.2L}, {1.0L, {kOiled}}}, sashCount(1)},
    {{"CheckBox2"}, {{2.5L}, {1.0L, {kOiled}}}, sashCount(2)},
    {{"CheckBox3"}, {{2.2L}, {0.6L, {kOiled}}}, sashCount(1)},
    {{"CheckBox3"}, {{3.5L}, {0.5L, {kOiled}}}, sashCount(2)},
}};
// clang-format on

struct Condition {
    const char* box;
    QStringList lines; // the box stands at the end of the last
};

const Condition kConditions[] = {
    {"CheckBox1", {QStringLiteral("Стены каменные, состав заполнения: "),
                   QStringLiteral("коробка, переплет, подоконная доска:")}},
    {"CheckBox2", {QStringLiteral("Стены каменные, состав заполнения: "),
                   QStringLiteral("коробка, переплет, без подоконной доски:")}},
    {"CheckBox3", {QStringLiteral("Стены деревянные, состав заполнения: "),
                   QStringLiteral("коробка, переплет, подоконная доска,"),
                   QStringLiteral("наличники с двух сторон:")}},
};

constexpr int kLineStep = 16;

} // namespace

Outcome oknarazdvizh::compute(const FormState& state) {
    if (auto refusal = opening::refuseFields(state))
        return *refusal;
    if (auto refusal =
            opening::refuseConditionCount(state, {"CheckBox1", "CheckBox2", "CheckBox3"}))
        return *refusal;
    return opening::paintedArea(state, kCoefficients);
}

TForm20::TForm20(char decimalSeparator, QWidget* parent)
    : OpeningWindow({{"TForm20", "oknarazdvizh",
                      QStringLiteral(
                          "Калькулятор окраски оконных проемов с раздельными переплетами"),
                      QSize(492, 635)},
                     {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ"),
                      QStringLiteral("ЗАПОЛНЕНИЯ ОКОННЫХ ПРОЕМОВ"),
                      QStringLiteral("ЖИЛЫХ И ОБЩЕСТВЕННЫХ ЗДАНИЙ"),
                      QStringLiteral("С РАЗДЕЛЬНЫМИ ПЕРЕПЛЕТАМИ")},
                     13,
                     QSize(41, 113),
                     {QStringLiteral("Площадь окрашиваемой поверхности"),
                      QStringLiteral("заполнения оконных проемов"),
                      QStringLiteral("с раздельными переплетами:")}},
                    decimalSeparator, parent) {
    placeFoot(placeConditions(conditionsTop()),
              {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"});
    setTabOrder({"Edit2", "Button1", "Button2", "Edit4", "CheckBox1", "Edit3", "CheckBox2",
                 "CheckBox3", "CheckBox4"});
    setRule(oknarazdvizh::compute);
}

// Each condition is a stack of lines with its box at the end of the last, and a rule below.
int TForm20::placeConditions(int top) {
    const QFont serif = serifFont();
    for (const Condition& condition : kConditions) {
        QLabel* last = nullptr;
        for (const QString& line : condition.lines) {
            last = addLabel(line, QPoint(kMargin, top), serif);
            top += kLineStep;
        }
        const QRect end = last->geometry();
        addCheckBox(condition.box,
                    QRect(end.right() + 8, end.center().y() - kBoxSize / 2, kBoxSize, kBoxSize),
                    condition.lines.join(QString()).simplified());
        addLabel(QString(39, QLatin1Char('_')), QPoint(kMargin, top), serif);
        top += kLineStep + 7;
    }
    return top;
}

} // namespace velaro
