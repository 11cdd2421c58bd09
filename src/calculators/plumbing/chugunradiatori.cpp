#include "calculators/plumbing/chugunradiatori.h"

#include "calculators/plumbing/radiators.h"

namespace velaro {
namespace {

OneInputDescription radiatorMs140_300() {
    return radiatorDescription({
        .window = {"TForm9",
                   "chugunradiatori",
                   QStringLiteral("Калькулятор окраски чугунных радиаторов МС-140 300"),
                   {492, 525}},
        .title = QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЧУГУННОГО РАДИАТОРА МС-140 300 "),
        .sectionSize = QStringLiteral("(при длине секции - 93 мм, высоте - 388 мм)"),
        .picture = {252, 233},
        .areaPerSection = 0.208L,
    });
}

} // namespace

TForm9::TForm9(char decimalSeparator, QWidget* parent)
    : OneInputWindow(radiatorMs140_300(), decimalSeparator, parent) {}

} // namespace velaro
