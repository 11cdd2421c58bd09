#include "calculators/surfaces/volnistlisti.h"

namespace velaro {
namespace {

OneInputDescription corrugatedSheets() {
    return {
        .window = {"TForm19",
                   "volnistlisti",
                   QStringLiteral("Калькулятор окраски волнистых поверхностей"),
                   {492, 483}},
        .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВОЛНИСТЫХ ПОВЕРХНОСТЕЙ"),
                  QStringLiteral("асбоцементных листов и стали")},
        .picture = {161, 161},
        .prompt = {QStringLiteral("Введите площадь поверхности без учета огибания волны:")},
        .inputUnit = QStringLiteral("м2"),
        .resultPrompt = {QStringLiteral("Площадь окраски волнистых поверхностей:")},
        .coefficient = 1.2L,
    };
}

} // namespace

TForm19::TForm19(char decimalSeparator, QWidget* parent)
    : OneInputWindow(corrugatedSheets(), decimalSeparator, parent) {}

} // namespace velaro
