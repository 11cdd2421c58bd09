#include "calculators/surfaces/prostreshetki.h"

#include "calculators/surfaces/steelgrilles.h"

namespace velaro {
namespace {

OneInputDescription simpleGrilles() {
    return grilleDescription({
        .className = "TForm16",
        .module = "prostreshetki",
        .clientHeight = 504,
        .description =
            {QStringLiteral("для простых решеток без рельефа с заполнением до 20% "),
             QStringLiteral(
                 "типа парапетных, пожарных лестниц, проволочных сеток с рамкой и т.п.")},
        .picture = {161, 161},
        .coefficient = 0.5L,
    });
}

} // namespace

TForm16::TForm16(char decimalSeparator, QWidget* parent)
    : OneInputWindow(simpleGrilles(), decimalSeparator, parent) {}

} // namespace velaro
