#include "calculators/surfaces/vagonka.h"

namespace velaro {
namespace {

OneInputDescription clapboard() {
    return {
        .window = {"TForm13", "vagonka", QStringLiteral("Калькулятор окраски вагонки"), {492, 469}},
        .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВАГОНКИ")},
        .picture = {157, 97},
        .prompt = {QStringLiteral("Введите площадь окрашиваемой поверхности"),
                   QStringLiteral("без площади калевок и отборок:")},
        .inputUnit = QStringLiteral("м2"),
        .resultPrompt = {QStringLiteral("Площадь окраски вагонки:")},
        .coefficient = 1.2L,
    };
}

} // namespace

TForm13::TForm13(char decimalSeparator, QWidget* parent)
    : OneInputWindow(clapboard(), decimalSeparator, parent) {}

} // namespace velaro
