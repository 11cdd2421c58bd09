#include "calculators/surfaces/kessonpotolok.h"

namespace velaro {
namespace {

OneInputDescription cofferedCeilings() {
    return {
        .window = {"TForm11",
                   "kessonpotolok",
                   QStringLiteral("Калькулятор окраски кесонных потолков"),
                   {492, 433}},
        .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ КЕСОННЫХ ПОТОЛКОВ")},
        .picture = {449, 97},
        .prompt = {QStringLiteral("Введите площадь горизонтальной проекции"),
                   QStringLiteral("потолков:")},
        .inputUnit = QStringLiteral("м2"),
        .resultPrompt = {QStringLiteral("Площадь окраски кесонных потолков:")},
        .coefficient = 1.75L,
    };
}

} // namespace

TForm11::TForm11(char decimalSeparator, QWidget* parent)
    : OneInputWindow(cofferedCeilings(), decimalSeparator, parent) {}

} // namespace velaro
