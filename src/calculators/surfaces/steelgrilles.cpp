#include "calculators/surfaces/steelgrilles.h"

namespace velaro {

OneInputDescription grilleDescription(const GrilleClass& grilles) {
    return {
        .window = {grilles.className,
                   grilles.module,
                   QStringLiteral("Калькулятор окраски стальных решеток"),
                   {CalculatorWindow::kClientWidth, grilles.clientHeight}},
        .title = QStringList{QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СТАЛЬНЫХ РЕШЕТОК")} +
                 grilles.description,
        .picture = grilles.picture,
        .prompt = {QStringLiteral("Введите площадь вертикальной проекции решеток с одной стороны "),
                   QStringLiteral("без исключения промежутков между стойками и поясками:")},
        .inputUnit = QStringLiteral("м2"),
        .resultPrompt = {QStringLiteral("Площадь окраски стальных решеток:")},
        .coefficient = grilles.coefficient,
    };
}

} // namespace velaro
