#include "calculators/surfaces/slozhniereshetki.h"

#include "calculators/surfaces/steelgrilles.h"

namespace velaro {
namespace {

// The stored picture (160 × 84) is larger than its area and is cut at the right and bottom;
// the rows below follow the lower area up.
OneInputDescription complexGrilles() {
    return grilleDescription({
        .className = "TForm18",
        .module = "slozhniereshetki",
        .clientHeight = 438,
        .description = {QStringLiteral("для решеток сложных с рельефом и с заполнением более 30% "),
                        QStringLiteral("типа жалюзийных, радиаторных, художественных и т.п.")},
        .picture = {148, 73},
        .coefficient = 2.5L,
    });
}

} // namespace

TForm18::TForm18(char decimalSeparator, QWidget* parent)
    : OneInputWindow(complexGrilles(), decimalSeparator, parent) {}

} // namespace velaro
