#include "calculators/plumbing/vanna.h"

namespace velaro {
namespace {

OneInputDescription baths() {
    return {
        .window = {"TForm6", "vanna", QStringLiteral("Калькулятор окраски ванн "), {492, 488}},
        .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВАНН")},
        .picture = {160, 105},
        .prompt = {QStringLiteral("Введите площадь горизонтальной проекции"),
                   QStringLiteral("ванн:")},
        .inputUnit = QStringLiteral("м2"),
        .resultPrompt = {QStringLiteral("Площадь окраски ванн:")},
        .coefficient = 3.0L,
    };
}

} // namespace

TForm6::TForm6(char decimalSeparator, QWidget* parent)
    : OneInputWindow(baths(), decimalSeparator, parent) {}

} // namespace velaro
