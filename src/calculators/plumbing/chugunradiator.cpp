#include "calculators/plumbing/chugunradiator.h"

#include "calculators/plumbing/radiators.h"

namespace velaro {
namespace {

OneInputDescription radiatorMs140_500() {
    return radiatorDescription({
        .window = {"TForm8",
                   "chugunradiator",
                   QStringLiteral("Калькулятор окраски чугунных радиаторов МС-140 500"),
                   {492, 524}},
        .title = QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЧУГУННОГО РАДИАТОРА МС-140 500 "),
        .sectionSize = QStringLiteral("(при длине секции - 93 мм, высоте - 588 мм)"),
        .picture = {225, 225},
        .areaPerSection = 0.244L,
    });
}

} // namespace

TForm8::TForm8(char decimalSeparator, QWidget* parent)
    : OneInputWindow(radiatorMs140_500(), decimalSeparator, parent) {}

} // namespace velaro
