#include "calculators/surfaces/rebristperekritiya.h"

namespace velaro {
namespace {

OneInputDescription ribbedSlabCeilings() {
    return {
        .window = {"TForm12",
                   "rebristperekritiya",
                   QStringLiteral("Калькулятор окраски потолков ребристых перекрытий"),
                   {492, 461}},
        .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ПОТОЛКОВ"),
                  QStringLiteral("РЕБРИСТЫХ ПЕРЕКРЫТИЙ")},
        .picture = {157, 97},
        .prompt = {QStringLiteral("Введите площадь горизонтальной поверхности потолков:")},
        .inputUnit = QStringLiteral("м2"),
        .resultPrompt = {QStringLiteral("Площадь окраски потолков ребристых перекрытий:")},
        .coefficient = 1.6L,
    };
}

} // namespace

TForm12::TForm12(char decimalSeparator, QWidget* parent)
    : OneInputWindow(ribbedSlabCeilings(), decimalSeparator, parent) {}

} // namespace velaro
