#include "calculators/plumbing/moika.h"

namespace velaro {
namespace {

OneInputDescription sinks() {
    return {
        .window = {"TForm5",
                   "moika",
                   QStringLiteral("Калькулятор окраски моек и раковин"),
                   {492, 523}},
        .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ МОЕК И РАКОВИН")},
        .picture = {169, 201},
        .prompt = {QStringLiteral("Введите площадь горизонтальной проекции"),
                   QStringLiteral("моек и раковин:")},
        .inputUnit = QStringLiteral("м2"),
        .resultPrompt = {QStringLiteral("Площадь окраски моек и раковин:")},
        .coefficient = 2.0L,
    };
}

} // namespace

TForm5::TForm5(char decimalSeparator, QWidget* parent)
    : OneInputWindow(sinks(), decimalSeparator, parent) {}

} // namespace velaro
