#include "calculators/plumbing/smivbachok.h"

namespace velaro {
namespace {

// The count is read like any area: a fractional count is multiplied unchanged.
OneInputDescription flushCisterns() {
    return {
        .window = {"TForm7",
                   "smivbachok",
                   QStringLiteral("Калькулятор окраски смывного бачка"),
                   {492, 528}},
        .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СМЫВНОГО БАЧКА")},
        .picture = {147, 225},
        .prompt = {QStringLiteral("Введите количество смывных бачков:")},
        .inputUnit = QStringLiteral("шт."),
        .resultPrompt = {QStringLiteral("Площадь окраски смывных бачков с учетом"),
                         QStringLiteral("выступающих частей и кронштейнов:")},
        .coefficient = 0.7L,
    };
}

} // namespace

TForm7::TForm7(char decimalSeparator, QWidget* parent)
    : OneInputWindow(flushCisterns(), decimalSeparator, parent) {}

} // namespace velaro
